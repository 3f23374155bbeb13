#include "GeometryTestHelpers.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiEnvMappedTriShape.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriStrip.h"
#include "scene/graph/NiTriStrips.h"
#include "scene/graph/NiTriangles.h"
#include "scene/object/NiTimeController.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
NiTriShapeData* MakeTriangleData(float fZ = 0.0f)
{
    return new NiTriShapeData(
        3, NewArray<NiPoint3>({NiPoint3(0, 0, fZ), NiPoint3(1, 0, fZ), NiPoint3(0, 1, fZ)}),
        NewArray<NiPoint3>({NiPoint3::UNIT_Z, NiPoint3::UNIT_Z, NiPoint3::UNIT_Z}), nullptr, nullptr, 1,
        NewArray<uint16_t>({0, 1, 2}));
}

// A controller that counts the draws it hears of.
class DisplayCounter : public NiTimeController
{
public:
    void Update(float) override {}
    bool IsTargetValid() const override { return true; }
    void OnDisplayed() override { ++m_iDisplayed; }
    int m_iDisplayed = 0;
};

// A camera at the origin looking along +x, with room for the test objects in front of it.
NiRefPtr<NiCamera> MakeCamera(RecordingRender* pkRenderer)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->SetRenderer(pkRenderer);
    return spCamera;
}
} // namespace

TEST(NiGeometryTest, WorldVerticesAreComputedOncePerTransformChange)
{
    NiRefPtr<NiTriShape> spShape = new NiTriShape(MakeTriangleData());
    spShape->SetTranslate(NiPoint3(10, 0, 0));
    spShape->SetScale(2.0f);
    spShape->AllocWorldVertices();
    EXPECT_TRUE(spShape->AreWorldVerticesStale());
    spShape->UpdateSubtree(0.0f);
    spShape->ComputeWorldVertices();
    ExpectPoint(spShape->GetWorldVertices()[1], NiPoint3(12, 0, 0));

    // Without another transform change the copy stays as it is, even though the data moved.
    spShape->GetVertexArray()[1] = NiPoint3(5, 0, 0);
    spShape->ComputeWorldVertices();
    ExpectPoint(spShape->GetWorldVertices()[1], NiPoint3(12, 0, 0));
    spShape->UpdateSubtree(0.0f);
    spShape->ComputeWorldVertices();
    ExpectPoint(spShape->GetWorldVertices()[1], NiPoint3(20, 0, 0));

    NiPoint3 *pkP0, *pkP1, *pkP2;
    ASSERT_TRUE(spShape->GetWorldTriangle(0, pkP0, pkP1, pkP2));
    EXPECT_EQ(pkP1, spShape->GetWorldVertices() + 1);
    EXPECT_FALSE(spShape->GetWorldTriangle(1, pkP0, pkP1, pkP2));
    EXPECT_EQ(pkP0, nullptr);
}

TEST(NiGeometryTest, NewDataOfAnotherSizeRemakesTheWorldArrays)
{
    // The shape holds the only reference to its first data.
    NiRefPtr<NiTriShape> spShape = new NiTriShape(MakeTriangleData());
    spShape->AllocWorldVertices();
    spShape->AllocWorldNormals();
    spShape->UpdateSubtree(0.0f);

    NiTriShapeData* pkSquare = new NiTriShapeData(
        4, NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(7, 7, 7)}),
        nullptr, nullptr, nullptr, 2, NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
    spShape->SetGeometryData(pkSquare);
    ASSERT_EQ(spShape->GetGeometryData(), pkSquare);
    ExpectPoint(spShape->GetWorldVertices()[3], NiPoint3(7, 7, 7));
    EXPECT_FALSE(spShape->AreWorldVerticesStale());

    // Null and data of a kind the shape cannot draw are ignored.
    spShape->SetGeometryData(nullptr);
    NiRefPtr<NiTriStripData> spStrip = new NiTriStripData(new NiPoint3[3], nullptr, nullptr, nullptr, 1);
    spShape->SetGeometryData(spStrip);
    EXPECT_EQ(spShape->GetGeometryData(), pkSquare);
}

TEST(NiGeometryTest, ClonesShareTheirData)
{
    NiRefPtr<NiTriShape> spShape = new NiTriShape(MakeTriangleData());
    NiGeometryData* pkData = spShape->GetGeometryData();
    const int32_t iCount = pkData->GetRefCount();
    NiRefPtr<NiTriShape> spClone(NiDynamicCast<NiTriShape>(spShape->Clone()));
    ASSERT_TRUE(spClone);
    EXPECT_EQ(spClone->GetGeometryData(), pkData);
    EXPECT_EQ(pkData->GetRefCount(), iCount + 1);

    NiRefPtr<NiEnvMappedTriShape> spMapped = new NiEnvMappedTriShape(MakeTriangleData());
    NiRefPtr<NiEnvMappedTriShape> spMappedClone(NiDynamicCast<NiEnvMappedTriShape>(spMapped->Clone()));
    ASSERT_TRUE(spMappedClone);
    EXPECT_EQ(spMappedClone->GetGeometryData(), spMapped->GetGeometryData());
    ASSERT_NE(spMappedClone->GetWorldNormals(), nullptr);
    EXPECT_NE(spMappedClone->GetWorldNormals(), spMapped->GetWorldNormals());
}

TEST(NiGeometryTest, BakingMovesTheModelData)
{
    // A quarter turn about z and (1, 0, 0), given in model space.
    NiRefPtr<NiTriShape> spShape = new NiTriShape(MakeTriangleData());
    NiTriShapeData* pkData = spShape->GetTriShapeData();
    pkData->GetNormals()[1] = NiPoint3::UNIT_X;
    spShape->BakeTransform(QuarterTurnZ(), NiPoint3(1, 0, 0), false);
    ExpectPoint(pkData->GetVertices()[1], NiPoint3(1, 1, 0));
    ExpectPoint(pkData->GetNormals()[1], NiPoint3(0, 1, 0));
    ExpectPoint(pkData->GetBound().m_kCenter, NiPoint3(0.5f, 0.5f, 0.0f));

    // Given in the parent's frame on a shape of scale 2: (2, 0, 0) there is (1, 0, 0) here.
    NiRefPtr<NiTriShape> spScaled = new NiTriShape(MakeTriangleData());
    spScaled->SetScale(2.0f);
    spScaled->BakeTransform(NiRotationMatrix::IDENTITY, NiPoint3(2, 0, 0), true);
    ExpectPoint(spScaled->GetVertexArray()[0], NiPoint3(1, 0, 0));
    ExpectPoint(spScaled->GetVertexArray()[2], NiPoint3(1, 1, 0));
}

TEST(NiGeometryTest, LoadedShapeRecomputesItsBoundAndKeepsOnlyDataItCanDraw)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiTriShape* pkShape = new NiTriShape(MakeTriangleData());
    pkShape->GetGeometryData()->GetBound().m_fRadius = 50.0f; // saved, but not what the vertices give
    spRoot->AddChild(pkShape);
    spRoot->AddChild(new NiTriStrip(new NiPoint3[3]{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)},
                                    nullptr, nullptr, nullptr, 1));
    NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip<NiNode>(spRoot);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spRoot));
    NiTriShape* pkLoaded = NiDynamicCast<NiTriShape>(spLoaded->GetAt(0));
    ASSERT_TRUE(pkLoaded);
    EXPECT_EQ(pkLoaded->GetGeometryData()->GetBound().m_fRadius, 50.0f);
    spLoaded->UpdateSubtree(0.0f);
    EXPECT_LT(pkLoaded->GetWorldBound().m_fRadius, 1.0f);
}

TEST(NiGeometryTest, ShapeLinkedToDataOfAnotherKindLoadsWithoutDataAndStaysInert)
{
    // Saved in the order root 1, shape 2, its data 3, strip 4, its data 5.
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->AddChild(new NiTriShape(MakeTriangleData()));
    NiTriStrip* pkStrip = new NiTriStrip(new NiPoint3[3](), nullptr, nullptr, nullptr, 1);
    spRoot->AddChild(pkStrip);
    std::vector<char> kBuffer = NifTest::Save({spRoot});
    std::string kBytes(kBuffer.begin(), kBuffer.end());
    // The shape's record ends with its data link, right before the data's record.
    const size_t uiLink = kBytes.find("NiTriShapeData") - 4 - 4;
    uint32_t uiID = 0;
    std::memcpy(&uiID, kBytes.data() + uiLink, 4);
    ASSERT_EQ(uiID, 3u);
    uiID = 5;
    kBytes.replace(uiLink, 4, reinterpret_cast<const char*>(&uiID), 4);

    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiNode> spLoaded = LoadFirst<NiNode>(kBytes);
        ASSERT_TRUE(spLoaded);
        NiTriShape* pkLoadedShape = NiDynamicCast<NiTriShape>(spLoaded->GetAt(0));
        ASSERT_TRUE(pkLoadedShape);
        EXPECT_EQ(pkLoadedShape->GetGeometryData(), nullptr);
        spLoaded->UpdateSubtree(0.0f);
    }
    // The triangle data no record links to any more went with the load.
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);

    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = MakeCamera(spRenderer);
    NiRefPtr<NiTriShape> spInert = new NiTriShape;
    spInert->SetGeometryData(pkStrip->GetGeometryData());
    EXPECT_EQ(spInert->GetGeometryData(), nullptr);
    spInert->UpdateSubtree(0.0f);
    spInert->Draw(spCamera);
    EXPECT_EQ(spRenderer->CountCalls("DrawTriShape"), 0u);
}

TEST(NiGeometryTest, DrawsCountStatisticsAndOnlyShapesTellTheirControllers)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = MakeCamera(spRenderer);

    std::vector<uint16_t> kList;
    for (uint16_t i = 0; i < 12; ++i)
        kList.insert(kList.end(), {uint16_t(i % 8), uint16_t((i + 1) % 8), uint16_t((i + 2) % 8)});
    uint16_t* pusList = new uint16_t[kList.size()];
    std::copy(kList.begin(), kList.end(), pusList);
    NiRefPtr<NiTriShape> spShape =
        new NiTriShape(8, new NiPoint3[8](), nullptr, nullptr, nullptr, 12, pusList);
    DisplayCounter* pkShapeCounter = new DisplayCounter;
    pkShapeCounter->SetTarget(spShape);

    NiRefPtr<NiTriStrip> spStrip = new NiTriStrip(new NiPoint3[4](), nullptr, nullptr, nullptr, 2);
    DisplayCounter* pkStripCounter = new DisplayCounter;
    pkStripCounter->SetTarget(spStrip);

    NiTriBasedGeom::ResetDrawStatistics();
    spShape->Draw(spCamera);
    uint32_t uiObjects, uiTriangles, uiVertices;
    NiTriBasedGeom::GetDrawStatistics(uiObjects, uiTriangles, uiVertices);
    EXPECT_EQ(uiObjects, 1u);
    EXPECT_EQ(uiTriangles, 12u);
    EXPECT_EQ(uiVertices, 8u);
    EXPECT_EQ(pkShapeCounter->m_iDisplayed, 1);

    spStrip->Draw(spCamera);
    EXPECT_EQ(pkStripCounter->m_iDisplayed, 0);
    EXPECT_EQ(spRenderer->GetCallNames(),
              (std::vector<std::string>{"SetClipPlanes", "SetObjectTransform", "DrawTriShape",
                                        "SetClipPlanes", "SetObjectTransform", "DrawTriStrip"}));
}

TEST(NiGeometryTest, PassingCullingHandsTheStateToTheRenderer)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = MakeCamera(spRenderer);
    NiRefPtr<NiTriShape> spShape = new NiTriShape(MakeTriangleData());
    spShape->RefreshPropertyStates();
    ASSERT_NE(spShape->GetPropertyTable(), nullptr);
    spShape->PassedCulling(spCamera);
    EXPECT_EQ(spRenderer->GetCurrentPropertyTable(), spShape->GetPropertyTable());
    EXPECT_EQ(spRenderer->GetCurrentEffectLists(), nullptr);
}

TEST(NiGeometryTest, TriangleAccessFollowsEachKindsLayout)
{
    NiRefPtr<NiTriStrip> spStrip = new NiTriStrip(new NiPoint3[5](), nullptr, nullptr, nullptr, 3);
    uint16_t usI0, usI1, usI2;
    ASSERT_TRUE(spStrip->GetTriangleIndices(1, usI0, usI1, usI2));
    EXPECT_EQ((std::vector<uint16_t>{usI0, usI1, usI2}), (std::vector<uint16_t>{1, 3, 2}));
    NiPoint3 *pkP0, *pkP1, *pkP2;
    ASSERT_TRUE(spStrip->GetModelTriangle(1, pkP0, pkP1, pkP2));
    EXPECT_EQ(pkP0, spStrip->GetVertexArray() + 1);
    EXPECT_EQ(pkP1, spStrip->GetVertexArray() + 2);
    EXPECT_EQ(pkP2, spStrip->GetVertexArray() + 3);
    EXPECT_FALSE(spStrip->GetTriangleIndices(3, usI0, usI1, usI2));

    NiRefPtr<NiTriangles> spList = new NiTriangles(new NiPoint3[6](), nullptr, nullptr, nullptr, 2);
    ASSERT_TRUE(spList->GetTriangleIndices(1, usI0, usI1, usI2));
    EXPECT_EQ((std::vector<uint16_t>{usI0, usI1, usI2}), (std::vector<uint16_t>{3, 4, 5}));
    EXPECT_FALSE(spList->GetWorldTriangle(0, pkP0, pkP1, pkP2)); // no world array yet

    NiRefPtr<NiTriStrips> spStrips =
        new NiTriStrips(7, new NiPoint3[7](), nullptr, nullptr, nullptr, 3, 2, NewArray<uint16_t>({4, 3}),
                        NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(spStrips->GetTriangleIndices(1, usI0, usI1, usI2));
    EXPECT_EQ((std::vector<uint16_t>{usI0, usI1, usI2}), (std::vector<uint16_t>{2, 1, 3}));
}

TEST(NiGeometryTest, EnvironmentMapCoordinatesReflectTheEyeDirection)
{
    // One vertex per normal; the shape sits at the origin with the eye far up +z.
    NiRefPtr<NiEnvMappedTriShape> spShape = new NiEnvMappedTriShape(
        3, NewArray<NiPoint3>({NiPoint3(-1, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 0)}),
        NewArray<NiPoint3>({NiPoint3::UNIT_Z, NiPoint3::UNIT_X, NiPoint3::UNIT_Y}), nullptr, 1,
        NewArray<uint16_t>({0, 1, 2}));
    spShape->UpdateSubtree(0.0f);
    NiGeometryData* pkData = spShape->GetGeometryData();
    const uint16_t usRevision = pkData->GetRevision();

    spShape->ComputeEnvMapCoords(NiPoint3(0, 0, 1000));
    const NiTexCoord* pkTexture = pkData->GetTextureSet(0);
    EXPECT_NEAR(pkTexture[0].x, 0.5f, 1e-6f);
    EXPECT_NEAR(pkTexture[0].y, 0.5f, 1e-6f);
    EXPECT_NEAR(pkTexture[1].x, 0.0f, 1e-6f);
    EXPECT_NEAR(pkTexture[1].y, 0.5f, 1e-6f);
    EXPECT_NEAR(pkTexture[2].x, 0.0f, 1e-6f);
    EXPECT_NEAR(pkTexture[2].y, 0.5f, 1e-6f);
    EXPECT_EQ(pkData->GetRevision(), usRevision + 1);

    // Looking down +y onto the normal (0, 1, 0): the reflection points straight down.
    spShape->ComputeEnvMapCoords(NiPoint3(0, 1000, 0));
    EXPECT_NEAR(pkTexture[2].y, 0.0f, 1e-6f);

    // The eye at the bound centre: no direction, every vertex at (0.25, 0.5).
    spShape->ComputeEnvMapCoords(spShape->GetWorldBound().m_kCenter);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(pkTexture[i].x, 0.25f, 1e-6f);
        EXPECT_NEAR(pkTexture[i].y, 0.5f, 1e-6f);
    }
}
