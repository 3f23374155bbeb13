#include "GeometryTestHelpers.h"

#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiClusterAccumulator.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPrecedenceSorter.h"
#include "scene/graph/NiTriShape.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace geometry_test;

namespace
{
// A unit triangle facing the camera at the point (the camera looks along +x).
NiTriShape* Facing(const NiPoint3& kAt)
{
    NiTriShape* pkShape = new NiTriShape(
        3,
        NewArray<NiPoint3>({NiPoint3(0, -0.5f, -0.5f), NiPoint3(0, -0.5f, 0.5f), NiPoint3(0, 0.5f, -0.5f)}),
        nullptr, nullptr, nullptr, 1, NewArray<uint16_t>({0, 1, 2}));
    pkShape->SetTranslate(kAt);
    return pkShape;
}

NiAlphaProperty* Blending(bool bNoSort = false)
{
    NiAlphaProperty* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    pkAlpha->SetNoSorter(bNoSort);
    return pkAlpha;
}

struct Frame
{
    NiRefPtr<RecordingRender> m_spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> m_spCamera = new NiCamera;
    NiRefPtr<NiNode> m_spScene = new NiNode;

    explicit Frame(NiAccumulator* pkAccumulator)
    {
        m_spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
        m_spCamera->SetRenderer(m_spRenderer);
        m_spCamera->SetScene(m_spScene);
        m_spRenderer->SetAccumulator(pkAccumulator);
    }

    // The shapes in the order their data was drawn.
    std::vector<NiTriShape*> Render(const std::vector<NiTriShape*>& kShapes)
    {
        m_spScene->UpdateSubtree(0.0f);
        m_spScene->RefreshPropertyStates();
        m_spRenderer->ClearCalls();
        m_spCamera->Render();
        std::map<const void*, NiTriShape*> kByData;
        for (NiTriShape* pkShape : kShapes)
            kByData[pkShape->GetGeometryData()] = pkShape;
        std::vector<NiTriShape*> kDrawn;
        for (const RecordingRender::Call& kCall : m_spRenderer->GetCalls())
        {
            if (kCall.m_kName == "DrawTriShape")
                kDrawn.push_back(kByData[kCall.m_kObjects[0]]);
        }
        return kDrawn;
    }
};
} // namespace

TEST(NiAccumulatorTest, AlphaAccumulatorDrawsBlendedGeometryLastFarFirst)
{
    NiRefPtr<NiAlphaAccumulator> spAccumulator = new NiAlphaAccumulator;
    Frame kFrame(spAccumulator);
    NiTriShape* pkOpaqueNear = Facing(NiPoint3(10, 0, 0));
    NiTriShape* pkBlendedNear = Facing(NiPoint3(20, 0, 0));
    NiTriShape* pkBlendedFar = Facing(NiPoint3(30, 0.2f, 0));
    NiTriShape* pkOpaqueFar = Facing(NiPoint3(40, 0, 0));
    pkBlendedNear->PrependProperty(Blending());
    pkBlendedFar->PrependProperty(Blending());
    for (NiTriShape* pkShape : {pkOpaqueNear, pkBlendedNear, pkBlendedFar, pkOpaqueFar})
        kFrame.m_spScene->AddChild(pkShape);

    const std::vector<NiTriShape*> kExpected{pkOpaqueNear, pkOpaqueFar, pkBlendedFar, pkBlendedNear};
    EXPECT_EQ(kFrame.Render(kExpected), kExpected);
    // Each held-back shape was drawn with its own blending table installed.
    const RecordingRender::Call* pkLast = kFrame.m_spRenderer->FindLastCall("DrawTriShape");
    EXPECT_EQ(pkLast->m_pkTable, pkBlendedNear->GetPropertyTable());
    // The accumulation is over and the next frame draws the same.
    EXPECT_EQ(spAccumulator->GetQueuedCount(), 0);
    EXPECT_EQ(kFrame.Render(kExpected), kExpected);
    EXPECT_EQ(kFrame.m_spRenderer->GetAccumulator(), spAccumulator);
}

TEST(NiAccumulatorTest, NoSortHintIsHonouredOnlyWhileTheFlagIsSet)
{
    for (const bool bObserve : {true, false})
    {
        NiRefPtr<NiAlphaAccumulator> spAccumulator = new NiAlphaAccumulator;
        spAccumulator->SetObserveNoSortHint(bObserve);
        Frame kFrame(spAccumulator);
        NiTriShape* pkUnsorted = Facing(NiPoint3(20, 0, 0));
        pkUnsorted->PrependProperty(Blending(true));
        NiTriShape* pkOpaque = Facing(NiPoint3(30, 0, 0));
        kFrame.m_spScene->AddChild(pkUnsorted);
        kFrame.m_spScene->AddChild(pkOpaque);
        const std::vector<NiTriShape*> kDrawn = kFrame.Render({pkUnsorted, pkOpaque});
        EXPECT_EQ(kDrawn, bObserve ? (std::vector<NiTriShape*>{pkUnsorted, pkOpaque})
                                   : (std::vector<NiTriShape*>{pkOpaque, pkUnsorted}));
    }
}

TEST(NiAccumulatorTest, ClusterAccumulatorDrawsOverlapsFarFirstAndKeepsClusterOrderOtherwise)
{
    NiRefPtr<NiClusterAccumulator> spAccumulator = new NiClusterAccumulator;
    Frame kFrame(spAccumulator);
    // Two overlapping on screen at different depths, one off to the right on its own.
    NiTriShape* pkNear = Facing(NiPoint3(10, 0, 0));
    NiTriShape* pkFar = Facing(NiPoint3(20, 0, 0));
    NiTriShape* pkRight = Facing(NiPoint3(10, 0, 3));
    for (NiTriShape* pkShape : {pkNear, pkRight, pkFar})
        kFrame.m_spScene->AddChild(pkShape);
    const std::vector<NiTriShape*> kDrawn = kFrame.Render({pkNear, pkFar, pkRight});
    // Clusters in ascending depth: {near, right} then {far}; within the first, x splits them
    // into near then right. Read back from the last: far, right, near.
    EXPECT_EQ(kDrawn, (std::vector<NiTriShape*>{pkFar, pkRight, pkNear}));
}

TEST(NiAccumulatorTest, OverlapsInDepthAreOrderedBySidesOfTheSplitBetweenBounds)
{
    // A large object behind a small one reaches nearer than it: by their nearest points the
    // large one would go first; the split between their bounds puts the small one in front.
    NiRefPtr<NiClusterAccumulator> spAccumulator = new NiClusterAccumulator;
    Frame kFrame(spAccumulator);
    NiTriShape* pkLargeFar = Facing(NiPoint3(25, 0, 0));
    pkLargeFar->SetScale(14.0f);
    NiTriShape* pkSmallNear = Facing(NiPoint3(20, 0, 0));
    kFrame.m_spScene->AddChild(pkSmallNear);
    kFrame.m_spScene->AddChild(pkLargeFar);
    EXPECT_EQ(kFrame.Render({pkLargeFar, pkSmallNear}), (std::vector<NiTriShape*>{pkLargeFar, pkSmallNear}));
}

TEST(NiAccumulatorTest, PrecedenceSorterOrdersChainsAndBreaksCycles)
{
    // Items are indices; the table says which of two stands first.
    static std::map<std::pair<int, int>, int32_t> s_kOrder;
    auto Order = [](const void* pvA, const void* pvB, const NiPoint3&) -> int32_t
    {
        const int iA = *static_cast<const int*>(pvA);
        const int iB = *static_cast<const int*>(pvB);
        if (auto kFound = s_kOrder.find({iA, iB}); kFound != s_kOrder.end())
            return kFound->second;
        if (auto kFound = s_kOrder.find({iB, iA}); kFound != s_kOrder.end())
            return -kFound->second;
        return 0;
    };
    int aiItems[3] = {0, 1, 2};
    auto Sorted = [&](std::vector<int> kInput, bool& bCycle)
    {
        std::vector<const void*> kPointers;
        for (const int iItem : kInput)
            kPointers.push_back(&aiItems[iItem]);
        NiPrecedenceSorter kSorter;
        bCycle =
            kSorter.Sort(kPointers.data(), static_cast<int32_t>(kPointers.size()), Order, NiPoint3::ZERO);
        std::vector<int> kOutput;
        for (const void* pvItem : kPointers)
            kOutput.push_back(*static_cast<const int*>(pvItem));
        return kOutput;
    };

    bool bCycle = true;
    s_kOrder = {{{0, 1}, -1}, {{1, 2}, -1}};
    EXPECT_EQ(Sorted({2, 0, 1}, bCycle), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(bCycle);

    // 0 before 1, 1 before 2, 2 before 0: every count ties, so the first item goes last.
    s_kOrder = {{{0, 1}, -1}, {{1, 2}, -1}, {{2, 0}, -1}};
    EXPECT_EQ(Sorted({0, 1, 2}, bCycle), (std::vector<int>{1, 2, 0}));
    EXPECT_TRUE(bCycle);

    // A group larger than the sorter grows it.
    std::vector<int> kMany(17);
    std::vector<const void*> kPointers;
    for (int& iItem : kMany)
        kPointers.push_back(&iItem);
    NiPrecedenceSorter kSorter;
    EXPECT_EQ(kSorter.GetCapacity(), 16);
    kSorter.Sort(
        kPointers.data(), 17, [](const void*, const void*, const NiPoint3&) { return 0; }, NiPoint3::ZERO);
    EXPECT_EQ(kSorter.GetCapacity(), 17);
}

TEST(NiAccumulatorTest, QueueingOutsideAnAccumulationKeepsNothing)
{
    NiRefPtr<NiClusterAccumulator> spAccumulator = new NiClusterAccumulator;
    NiRefPtr<NiTriShape> spShape = Facing(NiPoint3(10, 0, 0));
    EXPECT_FALSE(spAccumulator->QueueObject(spShape));
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    EXPECT_TRUE(spAccumulator->BeginAccumulation(spCamera));
    EXPECT_FALSE(spAccumulator->BeginAccumulation(spCamera));
    spAccumulator->EndAccumulation(); // nothing queued: nothing drawn, ready again
    EXPECT_TRUE(spAccumulator->BeginAccumulation(spCamera));
    spAccumulator->EndAccumulation();
}
