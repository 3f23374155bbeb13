#include "SceneTestObjects.h"

#include "scene/graph/NiAccumulatorEntry.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

namespace
{
// Keeps what it is told to keep and remembers what it was offered.
class KeepingAccumulator : public NiAccumulator
{
public:
    explicit KeepingAccumulator(bool bKeep) : m_bKeep(bKeep) {}
    bool QueueObject(NiAVObject* pkObject) override
    {
        m_pkOffered = pkObject;
        ++m_uiOffers;
        return m_bKeep;
    }

    bool m_bKeep;
    NiAVObject* m_pkOffered = nullptr;
    uint32_t m_uiOffers = 0;
};

// Counts the draw-time notifications of its target.
class CullingController : public NiTimeController
{
public:
    void Update(float) override {}
    bool IsTargetValid() const override { return true; }
    void TargetPassedCulling() override { ++m_uiPassed; }
    uint32_t m_uiPassed = 0;
};
} // namespace

TEST(NiRender, LiveRenderersJoinAndLeaveTheList)
{
    const uint32_t uiBefore = NiRender::GetLiveRendererCount();
    NiRefPtr<RecordingRender> spFirst = new RecordingRender;
    NiRefPtr<RecordingRender> spSecond = new RecordingRender;
    EXPECT_EQ(NiRender::GetLiveRendererCount(), uiBefore + 2);

    RecordingRender::Journal().clear();
    NiRender::PurgeEffectFromAll(nullptr);
    NiRender::PurgeGeometryDataFromAll(nullptr);
    EXPECT_TRUE(RecordingRender::Journal().empty());

    // The purge only passes the data on; any address stands for it.
    static char s_cData;
    NiGeometryData* pkData = reinterpret_cast<NiGeometryData*>(&s_cData);
    NiRender::PurgeGeometryDataFromAll(pkData);
    ASSERT_EQ(RecordingRender::Journal().size(), 2u);
    EXPECT_EQ(RecordingRender::Journal()[0].m_pkRenderer, spFirst);
    EXPECT_EQ(spSecond->FindLastCall("PurgeGeometryData")->m_kObjects[0], pkData);

    spFirst = nullptr;
    EXPECT_EQ(NiRender::GetLiveRendererCount(), uiBefore + 1);
}

TEST(NiRender, DyingRendererLeavesTheImageList)
{
    NiRefPtr<NiRender> spKept = new RecordingRender;
    NiRefPtr<NiRender> spDying = new RecordingRender;
    NiImage::AddRenderer(spKept);
    NiImage::AddRenderer(spDying);
    spDying = nullptr;
    NiImage::ResetRendererIterator();
    EXPECT_EQ(NiImage::GetRendererCount(), 1u);
    EXPECT_EQ(NiImage::GetNextRenderer(), spKept.Get());
    NiImage::RemoveAllRenderers();
}

TEST(NiRender, AccumulateObjectNeedsAnAccumulatorThatKeepsTheObject)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    EXPECT_FALSE(spRenderer->AccumulateObject(nullptr));

    NiRefPtr<KeepingAccumulator> spRefusing = new KeepingAccumulator(false);
    spRenderer->SetAccumulator(spRefusing);
    EXPECT_FALSE(spRenderer->AccumulateObject(nullptr));
    EXPECT_EQ(spRefusing->m_uiOffers, 1u);

    NiRefPtr<KeepingAccumulator> spKeeping = new KeepingAccumulator(true);
    spRenderer->SetAccumulator(spKeeping);
    EXPECT_TRUE(spRenderer->AccumulateObject(nullptr));
    EXPECT_EQ(spRefusing->GetRefCount(), 1);
}

TEST(NiRender, AccumulationIsOneAtATime)
{
    NiRefPtr<KeepingAccumulator> spAccumulator = new KeepingAccumulator(true);
    NiCamera* pkCamera = reinterpret_cast<NiCamera*>(spAccumulator.Get());
    EXPECT_TRUE(spAccumulator->BeginAccumulation(pkCamera));
    EXPECT_FALSE(spAccumulator->BeginAccumulation(pkCamera));
    spAccumulator->EndAccumulation();
    EXPECT_EQ(spAccumulator->GetCamera(), nullptr);
    EXPECT_TRUE(spAccumulator->BeginAccumulation(pkCamera));
}

TEST(NiRender, MapWindowPointPutsTheOriginBottomLeft)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender(200, 100);
    float fU = -1.0f;
    float fV = -1.0f;
    ASSERT_TRUE(spRenderer->MapWindowPoint(0, 0, fU, fV));
    EXPECT_FLOAT_EQ(fU, 0.0f);
    EXPECT_FLOAT_EQ(fV, 1.0f);
    ASSERT_TRUE(spRenderer->MapWindowPoint(50, 75, fU, fV));
    EXPECT_FLOAT_EQ(fU, 0.25f);
    EXPECT_FLOAT_EQ(fV, 0.25f);

    for (auto [uiWidth, uiHeight] : {std::pair{0u, 100u}, std::pair{200u, 0u}})
    {
        spRenderer->SetScreenSize(uiWidth, uiHeight);
        EXPECT_FALSE(spRenderer->MapWindowPoint(0, 0, fU, fV));
    }
}

TEST(NiRender, DrawQueuedObjectDrawsWithTheObjectsStateAndPutsBackTheRenderers)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<KeepingAccumulator> spAccumulator = new KeepingAccumulator(true);
    NiRefPtr<NiPropertyTable> spRendererTable = new NiPropertyTable;
    NiRefPtr<NiEffectLists> spRendererLists = new NiEffectLists;
    spRenderer->SetAccumulator(spAccumulator);
    spRenderer->SetCurrentPropertyTable(spRendererTable);
    spRenderer->SetCurrentEffectLists(spRendererLists);

    NiRefPtr<TestShape> spShape = new TestShape;
    NiRefPtr<NiPropertyTable> spShapeTable = new NiPropertyTable;
    NiRefPtr<NiEffectLists> spShapeLists = new NiEffectLists;
    spShape->PropagatePropertyTable(spShapeTable);
    spShape->PropagateEffectLists(spShapeLists);
    spShape->SetRenderer(spRenderer);
    CullingController* pkFirst = new CullingController;
    CullingController* pkSecond = new CullingController;
    pkSecond->SetTarget(spShape);
    pkFirst->SetTarget(spShape);

    const uint32_t auiMask[4] = {1, 2, 3, 4};
    NiAccumulatorEntry* pkEntry = new NiAccumulatorEntry(spShape, auiMask);
    spRenderer->DrawQueuedObject(nullptr, pkEntry);
    delete pkEntry;

    const RecordingRender::Call* pkDraw = spRenderer->FindLastCall("DrawTriShape");
    ASSERT_NE(pkDraw, nullptr);
    EXPECT_EQ(pkDraw->m_pkTable, spShapeTable);
    EXPECT_EQ(pkDraw->m_pkLists, spShapeLists);
    EXPECT_EQ(spRenderer->GetAccumulator(), spAccumulator);
    EXPECT_EQ(spRenderer->GetCurrentPropertyTable(), spRendererTable);
    EXPECT_EQ(spRenderer->GetCurrentEffectLists(), spRendererLists);
    EXPECT_EQ(spShape->GetDrawCount(), 1u);
    // Only the head of the controller chain hears of it.
    EXPECT_EQ(pkFirst->m_uiPassed, 1u);
    EXPECT_EQ(pkSecond->m_uiPassed, 0u);

    // An object whose property states were never refreshed still draws with a full table.
    NiRefPtr<TestShape> spBare = new TestShape;
    spBare->SetRenderer(spRenderer);
    NiAccumulatorEntry kBareEntry(spBare, auiMask);
    spRenderer->DrawQueuedObject(nullptr, &kBareEntry);
    EXPECT_NE(spRenderer->FindLastCall("DrawTriShape")->m_pkTable, nullptr);
    EXPECT_EQ(spRenderer->GetCurrentPropertyTable(), spRendererTable);
}

TEST(NiRender, BaseBodiesAnswerAsNothingCanBeValidated)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    EXPECT_EQ(spRenderer->ValidatePropertyState(nullptr, nullptr), 0x00800000u);
    EXPECT_EQ(spRenderer->ValidateRenderStates(nullptr), 0x00800000u);
    EXPECT_TRUE(spRenderer->NiRender::PrepareImage(nullptr));
    EXPECT_FLOAT_EQ(spRenderer->NiRender::GetFogDepth(), 1.0f);
    uint32_t uiTotal = 7;
    uint32_t uiFree = 7;
    EXPECT_FALSE(spRenderer->GetTextureMemory(uiTotal, uiFree));
    EXPECT_EQ(uiTotal + uiFree, 0u);
    EXPECT_EQ(spRenderer->GetTextureEvents(), 0u);
    EXPECT_EQ(spRenderer->Clone(), spRenderer);

    spRenderer->SetCurrentEffectLists(new NiEffectLists);
    EXPECT_TRUE(spRenderer->SetProjectionMode(0));
    EXPECT_EQ(spRenderer->GetCurrentEffectLists(), nullptr);

    NiFieldStringList kList;
    spRenderer->AddFieldStrings(kList);
    EXPECT_EQ(kList.back(), "--- NiRender ---");
}

TEST(NiRender, RendererRecordsAreNeverLoadedFromFiles)
{
    EXPECT_NE(NiObject::FindClassLoader("NiRender"), nullptr);
    NiObject* pkObject = reinterpret_cast<NiObject*>(1);
    NiStream kStream;
    NiObject::FindClassLoader("NiRender")(kStream, pkObject);
    EXPECT_EQ(pkObject, nullptr);
}
