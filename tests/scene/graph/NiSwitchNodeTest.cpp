#include "GeometryTestHelpers.h"
#include "SceneTestObjects.h"
#include "TestCamera.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiFltAnimationNode.h"
#include "scene/graph/NiLODNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiSwitchNode.h"
#include "scene/graph/NiTriShape.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
// A leaf that notes the time of every update pass it receives.
class UpdateLog : public TestShape
{
public:
    UpdateLog() : TestShape(NiPoint3::ZERO, 1.0f) {}
    void PropagateUpdate(float fTime) override
    {
        m_kTimes.push_back(fTime);
        TestShape::PropagateUpdate(fTime);
    }
    std::vector<float> m_kTimes;
};

// Children 0 .. n - 1, each a shape at the origin.
std::vector<TestShape*> AddShapes(NiNode& kNode, uint32_t uiCount)
{
    std::vector<TestShape*> kShapes;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        kShapes.push_back(new TestShape(NiPoint3::ZERO, 1.0f));
        kNode.AddChild(kShapes.back());
    }
    return kShapes;
}

// The index of the one shape that was drawn since the counts were taken, -1 for none, -2 for
// several.
int32_t DrawnShape(const std::vector<TestShape*>& kShapes, const std::vector<uint32_t>& kBefore)
{
    int32_t iDrawn = -1;
    for (size_t i = 0; i < kShapes.size(); ++i)
    {
        if (kShapes[i]->GetDrawCount() != kBefore[i])
            iDrawn = iDrawn == -1 ? int32_t(i) : -2;
    }
    return iDrawn;
}

std::vector<uint32_t> DrawCounts(const std::vector<TestShape*>& kShapes)
{
    std::vector<uint32_t> kCounts;
    for (const TestShape* pkShape : kShapes)
        kCounts.push_back(pkShape->GetDrawCount());
    return kCounts;
}

// Draws the node through the camera and answers which shape showed.
int32_t DrawAndSee(NiNode& kNode, NiCamera& kCamera, const std::vector<TestShape*>& kShapes)
{
    const std::vector<uint32_t> kBefore = DrawCounts(kShapes);
    kNode.CullAndDraw(&kCamera);
    return DrawnShape(kShapes, kBefore);
}
} // namespace

TEST(NiSwitchNodeTest, DrawsAndPicksOnlyTheActiveChild)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-10, 0, 0));
    NiRefPtr<NiSwitchNode> spSwitch = new NiSwitchNode;
    const std::vector<TestShape*> kShapes = AddShapes(*spSwitch, 3);
    NiRefPtr<NiAVObject> spRemoved = spSwitch->RemoveChildAt(1); // slot 1 empty
    spSwitch->UpdateSubtree(0.0f);

    const std::pair<int32_t, int32_t> akCases[] = {{-1, -1}, {0, 0}, {1, -1}, {2, 2}, {3, -1}};
    for (const auto& [iIndex, iDrawn] : akCases)
    {
        spSwitch->SetIndex(iIndex);
        EXPECT_EQ(DrawAndSee(*spSwitch, *spCamera, kShapes), iDrawn) << "index " << iIndex;
    }

    // Picking asks the active child alone.
    NiRefPtr<NiSwitchNode> spPickable = new NiSwitchNode;
    for (int i = 0; i < 2; ++i)
        spPickable->AddChild(new NiTriShape(
            3, NewArray<NiPoint3>({NiPoint3(5, -1, -1), NiPoint3(5, -1, 1), NiPoint3(5, 1, -1)}), nullptr,
            nullptr, nullptr, 1, NewArray<uint16_t>({0, 1, 2})));
    spPickable->UpdateSubtree(0.0f);
    for (const int32_t iIndex : {-1, 0, 1})
    {
        spPickable->SetIndex(iIndex);
        NiPicker kPicker;
        kPicker.SetTarget(spPickable);
        const bool bHit = kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false);
        EXPECT_EQ(bHit, iIndex >= 0);
        if (bHit)
        {
            EXPECT_EQ(kPicker.GetAt(0)->m_spObject, spPickable->GetAt(uint32_t(iIndex)));
        }
    }
}

TEST(NiSwitchNodeTest, UpdateOnlyActiveBringsTheChildUpToDateOnceWhenDrawn)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-10, 0, 0));
    NiRefPtr<NiSwitchNode> spSwitch = new NiSwitchNode;
    UpdateLog* pkFirst = new UpdateLog;
    UpdateLog* pkSecond = new UpdateLog;
    spSwitch->AddChild(pkFirst);
    spSwitch->AddChild(pkSecond);
    spSwitch->UpdateSubtree(0.0f); // every child, and the bound
    pkFirst->m_kTimes.clear();
    pkSecond->m_kTimes.clear();

    spSwitch->SetUpdateOnlyActive(true);
    spSwitch->SetIndex(1);
    for (const float fTime : {1.0f, 2.0f, 3.0f})
        spSwitch->UpdateSubtree(fTime);
    EXPECT_TRUE(pkSecond->m_kTimes.empty());
    spSwitch->CullAndDraw(spCamera);
    spSwitch->CullAndDraw(spCamera);
    EXPECT_EQ(pkSecond->m_kTimes, std::vector<float>{3.0f});
    EXPECT_TRUE(pkFirst->m_kTimes.empty());

    // Without an active child the pass stops before the bound.
    spSwitch->SetIndex(-1);
    const NiBoundingSphere kBound = spSwitch->GetWorldBound();
    spSwitch->SetTranslate(NiPoint3(50, 0, 0));
    spSwitch->UpdateSubtree(4.0f);
    EXPECT_EQ(spSwitch->GetWorldBound(), kBound);
}

TEST(NiSwitchNodeTest, TimeSwitchFollowsThePeriodAndForgetsItsChoiceAfterDrawing)
{
    struct Case
    {
        bool m_bBounce;
        float m_fTime;
        int32_t m_iChild;
    };
    const Case akCases[] = {
        {false, 0.3f, 1}, {false, 1.3f, 1}, {false, -0.2f, 3},
        {true, 0.3f, 2},  {true, 0.5f, 3},  {true, 0.7f, 2},
    };
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-10, 0, 0));
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiFltAnimationNode> spNode = new NiFltAnimationNode;
        const std::vector<TestShape*> kShapes = AddShapes(*spNode, 4);
        spNode->SetBounce(kCase.m_bBounce);
        spNode->UpdateSubtree(kCase.m_fTime);
        EXPECT_EQ(DrawAndSee(*spNode, *spCamera, kShapes), kCase.m_iChild)
            << kCase.m_fTime << (kCase.m_bBounce ? " bounce" : "");
        EXPECT_EQ(spNode->GetIndex(), -1);
    }

    // A period that is not positive keeps the index: the loaded one is drawn once, then none.
    NiRefPtr<NiFltAnimationNode> spStill = new NiFltAnimationNode;
    const std::vector<TestShape*> kShapes = AddShapes(*spStill, 2);
    spStill->SetPeriod(0.0);
    spStill->SetIndex(1);
    spStill->UpdateSubtree(0.3f);
    EXPECT_EQ(DrawAndSee(*spStill, *spCamera, kShapes), 1);
    EXPECT_EQ(DrawAndSee(*spStill, *spCamera, kShapes), -1);
}

TEST(NiSwitchNodeTest, LODDrawsTheHighestRangeHoldingTheScaledDistance)
{
    struct Case
    {
        float m_fDistance;
        float m_fAdjust;
        int32_t m_iChild;
    };
    // Range 0: [10, 20); range 1: [15, 30).
    const Case akCases[] = {
        {10.0f, 1.0f, 0}, {9.99f, 1.0f, -1}, {6.0f, 2.0f, 0},
        {16.0f, 1.0f, 1}, {20.0f, 1.0f, 1},  {30.0f, 1.0f, -1},
    };
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiLODNode> spLOD = new NiLODNode;
        const std::vector<TestShape*> kShapes = AddShapes(*spLOD, 2);
        spLOD->SetRange(0, 10.0f, 20.0f);
        spLOD->SetRange(1, 15.0f, 30.0f);
        spLOD->UpdateSubtree(0.0f);
        NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-kCase.m_fDistance, 0, 0),
                                                 NiRotationMatrix::IDENTITY, kCase.m_fAdjust);
        EXPECT_EQ(DrawAndSee(*spLOD, *spCamera, kShapes), kCase.m_iChild)
            << kCase.m_fDistance << " at scale " << kCase.m_fAdjust;
    }

    // Each range from its own centre, carried by the node's transform.
    NiRefPtr<NiLODNode> spLOD = new NiLODNode;
    const std::vector<TestShape*> kShapes = AddShapes(*spLOD, 2);
    spLOD->SetPositionInRange(true);
    spLOD->SetRange(0, 0.0f, 5.0f);
    spLOD->SetRange(1, 0.0f, 25.0f);
    spLOD->GetRange(1)->m_kLoc = NiPoint3(0, 10, 0);
    spLOD->SetScale(2.0f);
    spLOD->UpdateSubtree(0.0f);
    EXPECT_EQ(spLOD->GetRange(1)->m_kWorldLoc, NiPoint3(0, 20, 0));
    EXPECT_EQ(spLOD->GetRange(1)->m_fWorldFar, 50.0f);
    // 20 from range 0's centre (world far 10), 28 from range 1's (world far 50).
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-20, 0, 0));
    EXPECT_EQ(DrawAndSee(*spLOD, *spCamera, kShapes), 1);
}

TEST(NiSwitchNodeTest, RecordsRoundTripAndAHugeRangeCountIsRefused)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiSwitchNode* pkSwitch = new NiSwitchNode;
    AddShapes(*pkSwitch, 2);
    pkSwitch->SetIndex(1);
    pkSwitch->SetUpdateOnlyActive(true);
    NiFltAnimationNode* pkTime = new NiFltAnimationNode;
    AddShapes(*pkTime, 3);
    pkTime->SetPeriod(0.25);
    pkTime->SetBounce(true);
    NiLODNode* pkLOD = new NiLODNode;
    AddShapes(*pkLOD, 1);
    pkLOD->SetRange(0, 10.0f, 20.0f);
    pkLOD->GetRange(0)->m_kLoc = NiPoint3(1, 2, 3);
    NiLODNode* pkNoRanges = new NiLODNode;
    for (NiNode* pkNode : std::initializer_list<NiNode*>{pkSwitch, pkTime, pkLOD, pkNoRanges})
        spRoot->AddChild(pkNode);

    const std::vector<char> kSaved = NifTest::Save({spRoot});
    NiRefPtr<NiNode> spLoaded = LoadFirst<NiNode>(std::string(kSaved.begin(), kSaved.end()));
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spRoot));
    const NiLODNode* pkLoadedLOD = NiDynamicCast<NiLODNode>(spLoaded->GetAt(2));
    ASSERT_TRUE(pkLoadedLOD);
    EXPECT_EQ(pkLoadedLOD->GetRange(0)->m_kLoc, NiPoint3(1, 2, 3));
    EXPECT_EQ(NiDynamicCast<NiLODNode>(spLoaded->GetAt(3))->GetRangeCount(), 0u);
    pkLOD->GetRange(0)->m_fFar = 21.0f;
    EXPECT_FALSE(spLoaded->IsEquivalent(spRoot));

    // The range count sits just before the first range's near and far.
    std::string kBytes(kSaved.begin(), kSaved.end());
    const float afRange[] = {10.0f, 20.0f};
    const size_t uiRange = kBytes.find(std::string(reinterpret_cast<const char*>(afRange), sizeof(afRange)));
    ASSERT_NE(uiRange, std::string::npos);
    const uint32_t uiHuge = 0x10000000;
    kBytes.replace(uiRange - 4, 4, reinterpret_cast<const char*>(&uiHuge), 4);
    EXPECT_TRUE(NifTest::Load(kBytes).empty());
}

TEST(NiSwitchNodeTest, ClonesKeepIndexPeriodAndRanges)
{
    NiRefPtr<NiLODNode> spLOD = new NiLODNode;
    AddShapes(*spLOD, 3);
    spLOD->SetIndex(2);
    spLOD->SetRange(0, 1.0f, 2.0f);
    spLOD->SetRange(2, 3.0f, 4.0f);
    NiRefPtr<NiLODNode> spClone = NiDynamicCast<NiLODNode>(spLOD->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spLOD));
    EXPECT_EQ(spClone->GetRange(1), nullptr);
    EXPECT_NE(spClone->GetRange(2), spLOD->GetRange(2));

    NiRefPtr<NiFltAnimationNode> spTime = new NiFltAnimationNode;
    spTime->SetPeriod(2.5);
    NiRefPtr<NiFltAnimationNode> spTimeClone = NiDynamicCast<NiFltAnimationNode>(spTime->Clone());
    ASSERT_TRUE(spTimeClone);
    EXPECT_EQ(spTimeClone->GetPeriod(), 2.5);
}
