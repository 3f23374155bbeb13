#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

using namespace BezierTest;

namespace
{
NiRefPtr<NiBezierTriangle2> Quadratic(float fSize, NiTexCoord* pkTextures = nullptr,
                                      NiColorA* pkColors = nullptr, bool bNormals = false)
{
    return new NiBezierTriangle2(NewArray(TrianglePoints(2, fSize)), pkTextures, pkColors, bNormals);
}
} // namespace

TEST(BezierPatch, LevelAndModeChangesTessellateOnlyWhenTheyChangeSomething)
{
    NiRefPtr<NiBezierTriangle2> spPatch = Quadratic(1);
    spPatch->SetLevel(0); // the current level: nothing
    EXPECT_EQ(spPatch->GetRenderData(), nullptr);
    spPatch->SetLevel(2);
    NiTriShapeDynamicData* pkData = spPatch->GetRenderData();
    ASSERT_NE(pkData, nullptr);
    EXPECT_EQ(pkData->GetActiveTriangleCount(), 16);
    EXPECT_EQ(pkData->GetActiveVertexCount(), 15);
    const uint16_t usRevision = pkData->GetRevision();
    spPatch->SetLevel(2);
    spPatch->SetLevel(8); // above the maximum
    EXPECT_EQ(spPatch->GetLevel(), 2);
    EXPECT_EQ(pkData->GetRevision(), usRevision);
    spPatch->SetAdaptive(true);
    spPatch->SetAdaptive(true);
    EXPECT_EQ(pkData->GetRevision(), usRevision + 1);
    // The same data object is refreshed each time; its revision skips 0 when it wraps.
    for (uint32_t i = 0; i < 70000; i += 1)
    {
        if (pkData->GetRevision() == 0xFFFF)
            break;
        pkData->IncrementRevision();
    }
    spPatch->Tessellate(1);
    EXPECT_EQ(spPatch->GetRenderData(), pkData);
    EXPECT_EQ(pkData->GetRevision(), 1);
    EXPECT_EQ(pkData->GetTriList(), spPatch->GetTriangleArray()->GetBase());
}

TEST(BezierPatch, KernelMaskFollowsTheControlData)
{
    NiRefPtr<NiBezierTriangle2> spPlain = Quadratic(1);
    spPlain->Tessellate(1);
    EXPECT_EQ(spPlain->GetKernelMask(), 0);
    EXPECT_EQ(spPlain->GetNormalArray(), nullptr);
    EXPECT_EQ(spPlain->GetTextureArray(), nullptr);
    EXPECT_EQ(spPlain->GetColorArray(), nullptr);

    // An indexed patch with normals and two texture sets: control point i is entry index[i],
    // set s is read at s x stride + index.
    const uint16_t usStride = 8;
    std::vector<NiPoint3> kPoints(usStride, NiPoint3(99, 99, 99));
    std::vector<NiTexCoord> kTextures(2 * usStride, NiTexCoord(9, 9));
    const std::vector<NiPoint3> kTriangle = TrianglePoints(2, 2);
    const uint16_t ausIndices[6] = {7, 5, 3, 1, 0, 2};
    for (int i = 0; i < 6; ++i)
    {
        kPoints[ausIndices[i]] = kTriangle[i];
        kTextures[ausIndices[i]] = NiTexCoord(kTriangle[i].x, 0);
        kTextures[usStride + ausIndices[i]] = NiTexCoord(0, kTriangle[i].y);
    }
    NiRefPtr<NiBezierTriangle2> spIndexed = new NiBezierTriangle2(
        NewArray<uint16_t>({7, 5, 3, 1, 0, 2}), kPoints.data(), kTextures.data(), nullptr, true, usStride);
    spIndexed->SetTextureSetCount(2);
    spIndexed->Tessellate(1);
    // Only one set is given to the patch by its source; a second source set is reached only
    // when the source holds it (a mesh holds one).
    EXPECT_EQ(spIndexed->GetKernelMask(), 13);
    EXPECT_EQ(OutputPositions(*spIndexed)[4], NiPoint3(1, 1, 0));
    EXPECT_EQ(spIndexed->GetTextureArray()->GetAt(0, 4).x, 1.0f);
    EXPECT_EQ(spIndexed->GetNormalArray()->GetAt(4), NiPoint3(0, 0, 1));
    spIndexed->SetControlPointArrays(nullptr, nullptr, nullptr);
}

TEST(BezierPatch, DegenerateCornerGetsAZeroNormal)
{
    // Corner 0 of this patch is a pole: both derivatives there run along one line.
    std::vector<NiPoint3> kPoints = {NiPoint3(0, 0, 0), NiPoint3(0, 0, 0), NiPoint3(2, 0, 0),
                                     NiPoint3(0, 0, 0), NiPoint3(1, 1, 0), NiPoint3(0, 2, 0)};
    NiRefPtr<NiBezierTriangle2> spPatch = new NiBezierTriangle2(NewArray(kPoints), nullptr, nullptr, true);
    spPatch->Tessellate(0);
    EXPECT_EQ(spPatch->GetNormalArray()->GetAt(0), NiPoint3(0, 0, 0));
    EXPECT_NEAR(spPatch->GetNormalArray()->GetAt(1).z, 1.0f, 1e-6f);
}

TEST(BezierPatch, OutputArraysGrowKeepingEveryTextureSetInItsRow)
{
    NiBezierTexCoordArray kArray(2, 2);
    for (uint16_t i = 0; i < 5; ++i)
    {
        kArray.Add(0, i, 0);
        kArray.Add(1, 0, i);
    }
    EXPECT_EQ(kArray.GetCapacity(), 8u);
    for (uint16_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(kArray.GetAt(0, i).x, float(i));
        EXPECT_EQ(kArray.GetAt(1, i).y, float(i));
        EXPECT_EQ(kArray.GetBase()[8 + i].y, float(i)); // set 1 starts at the capacity
    }
    NiBezierPointArray kEmpty(0);
    kEmpty.Add(1, 2, 3);
    EXPECT_EQ(kEmpty.GetCount(), 1u);
}

TEST(BezierPatch, VertexCacheGenerationNeverBringsOldEntriesBack)
{
    NiBezierVertexCache kCache;
    kCache.NextGeneration();
    EXPECT_EQ(kCache.GetGeneration(), 1);
    kCache.Store(10, 42);
    uint16_t usVertex = 0;
    ASSERT_TRUE(kCache.Lookup(10, usVertex));
    EXPECT_EQ(usVertex, 42);
    // Round the counter: 0xFFFF goes to 1, not 0, and the entry of the old generation 1 is
    // not current again.
    for (uint32_t i = 0; i < 65534; ++i)
        kCache.NextGeneration();
    EXPECT_EQ(kCache.GetGeneration(), 0xFFFF);
    kCache.NextGeneration();
    EXPECT_EQ(kCache.GetGeneration(), 1);
    EXPECT_FALSE(kCache.Lookup(10, usVertex));
    EXPECT_FALSE(kCache.IsCurrent(NiBezierVertexCache::ENTRY_COUNT));
}

TEST(BezierPatch, PickReportsHitsWithInterpolatedAttributes)
{
    NiTexCoord* pkTextures =
        NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(0.5f, 0), NiTexCoord(1, 0), NiTexCoord(0, 0.5f),
                              NiTexCoord(0.5f, 0.5f), NiTexCoord(0, 1)});
    NiRefPtr<NiBezierTriangle2> spTextured = Quadratic(4, pkTextures, nullptr, true);
    NiRefPtr<NiBezierTriangle2> spPlain = Quadratic(4);
    for (NiBezierTriangle2* pkPatch : {spTextured.Get(), spPlain.Get()})
    {
        pkPatch->SetTranslate(NiPoint3(10, 0, 0));
        pkPatch->SetScale(2.0f);
        pkPatch->SetLevel(1);
        pkPatch->UpdateSubtree(0.0f);
    }
    NiPicker kPicker;
    kPicker.SetWantTexture(true);
    kPicker.SetWantColor(true);
    kPicker.SetWantNormal(true);
    kPicker.SetFrontFacesOnly(false);
    // World (12, 2, 5) straight down meets model point (1, 1, 0).
    const NiPoint3 kOrigin(12, 2, 5), kDown(0, 0, -1);
    ASSERT_TRUE(spTextured->FindPickHits(kOrigin, kDown, kPicker));
    const NiPicker::Record* pkRecord = kPicker.GetLastRecord();
    EXPECT_NEAR((pkRecord->m_kPoint - NiPoint3(12, 2, 0)).Length(), 0.0f, 1e-5f);
    // The ray parameter is the model-space one: the world direction shrinks by the scale.
    EXPECT_NEAR(pkRecord->m_fDistance, 5.0f, 1e-4f);
    EXPECT_NEAR(pkRecord->m_kTexture.x, 0.25f, 1e-5f);
    EXPECT_NEAR(pkRecord->m_kTexture.y, 0.25f, 1e-5f);
    EXPECT_EQ(pkRecord->m_kColor, NiColorA::WHITE);
    EXPECT_NEAR(std::fabs(pkRecord->m_kNormal.z), 1.0f, 1e-5f);

    kPicker.ClearResults();
    kPicker.SetCoordinateSpace(NiPicker::MODEL_COORDINATES);
    ASSERT_TRUE(spPlain->FindPickHits(kOrigin, kDown, kPicker));
    EXPECT_NEAR((kPicker.GetLastRecord()->m_kPoint - NiPoint3(1, 1, 0)).Length(), 0.0f, 1e-5f);
    EXPECT_EQ(kPicker.GetLastRecord()->m_kTexture, NiTexCoord(0, 0));
    EXPECT_FALSE(spPlain->FindPickHits(NiPoint3(30, 30, 5), kDown, kPicker));
}

TEST(BezierPatch, DrawsItsRenderDataAndNothingBeforeTessellation)
{
    TestView kView(NiPoint3(-10, 0, 0), NiPoint3(0, 0, 0));
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiRefPtr<NiBezierTriangle2> spPatch = Quadratic(1);
    spRoot->AddChild(spPatch);
    spRoot->UpdateSubtree(0.0f);
    spPatch->PassedCulling(kView.m_spCamera);
    spPatch->Draw(kView.m_spCamera);
    EXPECT_EQ(kView.m_spRenderer->CountCalls("DrawTriShape"), 0u);
    EXPECT_EQ(spPatch->GetCamera(), kView.m_spCamera.Get());

    spPatch->SetLevel(1);
    spPatch->Draw(kView.m_spCamera);
    ASSERT_EQ(kView.m_spRenderer->CountCalls("DrawTriShape"), 1u);
    EXPECT_EQ(kView.m_spRenderer->FindLastCall("DrawTriShape")->m_kObjects[0], spPatch->GetRenderData());
    EXPECT_EQ(kView.m_spRenderer->GetCallNames()[kView.m_spRenderer->GetCallNames().size() - 2],
              "SetObjectTransform");
}

TEST(BezierPatch, RecordRoundTripsAndRejectsBadShapes)
{
    NiTexCoord* pkTextures = new NiTexCoord[6]();
    NiColorA* pkColors = new NiColorA[6]();
    NiRefPtr<NiBezierTriangle2> spPatch = Quadratic(3, pkTextures, pkColors, true);
    spPatch->SetLevel(3);
    spPatch->SetEdgeNeighbor(1, 4, -2);
    NiRefPtr<NiBezierTriangle2> spLoaded = NifTest::RoundTrip(spPatch.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spPatch));
    EXPECT_EQ(spLoaded->GetTextureSetCount(), 1);
    // An own patch tessellates as it loads.
    EXPECT_EQ(spLoaded->GetVertexCount(), 45);
    NiRefPtr<NiBezierTriangle2> spClone = static_cast<NiBezierTriangle2*>(spPatch->Clone());
    EXPECT_TRUE(spClone->IsEquivalent(spPatch));
    EXPECT_EQ(spClone->GetVertexCount(), 45);

    // An indexed patch saves its index list only.
    NiRefPtr<NiBezierTriangle2> spIndexed =
        new NiBezierTriangle2(NewArray<uint16_t>({0, 1, 2, 3, 4, 5}), nullptr, nullptr, nullptr, false, 6);
    const std::vector<char> kIndexed = NifTest::Save({spIndexed});
    const std::vector<char> kOwn = NifTest::Save({Quadratic(1)});
    NiRefPtr<NiBezierTriangle2> spIndexedLoaded = NifTest::RoundTrip(spIndexed.Get());
    ASSERT_TRUE(spIndexedLoaded);
    EXPECT_TRUE(spIndexedLoaded->IsIndexed());
    EXPECT_EQ(spIndexedLoaded->GetControlPoints(), nullptr);
    EXPECT_EQ(spIndexedLoaded->GetRenderData(), nullptr);
    EXPECT_EQ(kOwn.size() - kIndexed.size(), 6u * 12 + 4 + 4 - 6u * 2);
}

TEST(BezierPatch, LoadRejectsCountsThatDoNotFitTheDegreeAndLevelsAboveTheGrid)
{
    // The saved bytes of a patch with one field changed: the control point count (which would
    // make the basis write past its arrays), the degree, or the level.
    NiRefPtr<NiBezierTriangle2> spPatch = Quadratic(1);
    const std::vector<char> kGood = NifTest::Save({spPatch});
    ASSERT_EQ(NifTest::Load(kGood).size(), 1u);
    // Find the patch fields: degree 2, count 6, sets 0, stride 6, level 0, own (0).
    const char acPattern[] = {2, 0, 6, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0};
    const auto kAt = std::search(kGood.begin(), kGood.end(), acPattern, acPattern + sizeof(acPattern));
    ASSERT_NE(kAt, kGood.end());
    const size_t uiAt = size_t(kAt - kGood.begin());
    for (const auto& [uiOffset, cValue] :
         std::vector<std::pair<size_t, char>>{{2, 10}, {0, 3}, {8, 8}, {8, 20}})
    {
        std::vector<char> kBad = kGood;
        kBad[uiAt + uiOffset] = cValue;
        EXPECT_TRUE(NifTest::Load(kBad).empty()) << uiOffset << "=" << int(cValue);
    }
}
