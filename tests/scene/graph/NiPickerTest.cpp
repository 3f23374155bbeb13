#include "GeometryTestHelpers.h"

#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace geometry_test;

namespace
{
// A triangle in the plane x = at.x facing -x; the ray from the origin along +x meets its
// edge from (at - 1, 1 along z) to (1 along y) at its middle.
NiTriShape* Facing(const NiPoint3& kAt)
{
    NiTriShape* pkShape =
        new NiTriShape(3, NewArray<NiPoint3>({NiPoint3(0, -1, -1), NiPoint3(0, -1, 1), NiPoint3(0, 1, -1)}),
                       NewArray<NiPoint3>({NiPoint3(-1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1)}),
                       NewArray<NiColorA>({NiColorA(1, 0, 0, 1), NiColorA(0, 1, 0, 1), NiColorA(0, 0, 1, 1)}),
                       NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(1, 0), NiTexCoord(0, 1)}), 1,
                       NewArray<uint16_t>({0, 1, 2}));
    pkShape->SetTranslate(kAt);
    return pkShape;
}

// A scene of shapes in the given order, updated.
NiRefPtr<NiNode> Scene(std::initializer_list<NiAVObject*> kChildren)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    for (NiAVObject* pkChild : kChildren)
        spRoot->AddChild(pkChild);
    spRoot->UpdateSubtree(0.0f);
    return spRoot;
}

std::vector<float> Distances(const NiPicker& kPicker)
{
    std::vector<float> kDistances;
    for (uint32_t i = 0; i < kPicker.GetSize(); ++i)
        kDistances.push_back(kPicker.GetAt(i) ? kPicker.GetAt(i)->m_fDistance : -1.0f);
    return kDistances;
}
} // namespace

TEST(NiPickerTest, RayMeetsABoundFromInsideAlwaysAndBehindNever)
{
    NiRefPtr<NiTriShape> spShape = Facing(NiPoint3(10, 0, 0));
    spShape->UpdateSubtree(0.0f);
    const NiPoint3 kCenter = spShape->GetWorldBound().m_kCenter;
    for (const NiPoint3& kDirection : {NiPoint3::UNIT_X, -NiPoint3::UNIT_X, NiPoint3::UNIT_Z})
        EXPECT_TRUE(spShape->RayHitsBound(kCenter, kDirection));
    EXPECT_TRUE(spShape->RayHitsBound(NiPoint3::ZERO, NiPoint3::UNIT_X));
    EXPECT_FALSE(spShape->RayHitsBound(NiPoint3::ZERO, -NiPoint3::UNIT_X));
    EXPECT_FALSE(spShape->RayHitsBound(NiPoint3::ZERO, NiPoint3::UNIT_Y));
}

TEST(NiPickerTest, RayTriangleHitCountsEdgesAndHonoursFaces)
{
    const NiPoint3 kP0(10, -1, -1), kP1(10, -1, 1), kP2(10, 1, -1);
    NiPoint3 kPoint;
    float fT, fU, fV;
    // On the edge from p1 to p2.
    ASSERT_TRUE(NiTriBasedGeom::RayTriangleHit(NiPoint3::ZERO, NiPoint3::UNIT_X, kP0, kP1, kP2, true, kPoint,
                                               fT, fU, fV));
    EXPECT_FLOAT_EQ(fT, 10.0f);
    ExpectPoint(kPoint, NiPoint3(10, 0, 0));
    EXPECT_FLOAT_EQ(fU, 0.5f);
    EXPECT_FLOAT_EQ(fV, 0.5f);
    // From behind: only without the front-face test.
    const NiPoint3 kBehind(20, 0, 0);
    EXPECT_FALSE(
        NiTriBasedGeom::RayTriangleHit(kBehind, -NiPoint3::UNIT_X, kP0, kP1, kP2, true, kPoint, fT, fU, fV));
    EXPECT_TRUE(
        NiTriBasedGeom::RayTriangleHit(kBehind, -NiPoint3::UNIT_X, kP0, kP1, kP2, false, kPoint, fT, fU, fV));
    // Outside the triangle, along its plane, and behind the origin.
    EXPECT_FALSE(NiTriBasedGeom::RayTriangleHit(NiPoint3(0, 0.5f, 0.6f), NiPoint3::UNIT_X, kP0, kP1, kP2,
                                                true, kPoint, fT, fU, fV));
    EXPECT_FALSE(NiTriBasedGeom::RayTriangleHit(NiPoint3(10, -5, 0), NiPoint3::UNIT_Y, kP0, kP1, kP2, false,
                                                kPoint, fT, fU, fV));
    EXPECT_FALSE(
        NiTriBasedGeom::RayTriangleHit(kBehind, NiPoint3::UNIT_X, kP0, kP1, kP2, false, kPoint, fT, fU, fV));
}

TEST(NiPickerTest, ModesSortReduceOrStopAtTheFirstHit)
{
    // The far shape comes first in the scene.
    NiRefPtr<NiNode> spScene = Scene({Facing(NiPoint3(20, 0, 0)), Facing(NiPoint3(10, 0, 0))});
    const struct
    {
        int32_t m_iHitMode;
        int32_t m_iOrdering;
        std::vector<float> m_kDistances;
    } akCases[] = {
        {NiPicker::FIND_ALL, NiPicker::SORT, {10, 20}},
        {NiPicker::FIND_ALL, NiPicker::NO_SORT, {20, 10}},
        {NiPicker::FIND_FIRST, NiPicker::SORT, {10, -1}},
        {NiPicker::FIND_FIRST, NiPicker::NO_SORT, {20}},
    };
    for (const auto& kCase : akCases)
    {
        NiPicker kPicker;
        kPicker.SetTarget(spScene);
        kPicker.SetHitMode(kCase.m_iHitMode);
        kPicker.SetOrdering(kCase.m_iOrdering);
        EXPECT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
        EXPECT_EQ(Distances(kPicker), kCase.m_kDistances) << kCase.m_iHitMode << kCase.m_iOrdering;
    }

    // Equal distances: the one found first stays.
    NiTriShape* pkFirst = Facing(NiPoint3(10, 0, 0));
    NiRefPtr<NiNode> spTwins = Scene({pkFirst, Facing(NiPoint3(10, 0, 0))});
    NiPicker kPicker;
    kPicker.SetTarget(spTwins);
    kPicker.SetHitMode(NiPicker::FIND_FIRST);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
    EXPECT_EQ(kPicker.GetAt(0)->m_spObject, pkFirst);
    EXPECT_EQ(kPicker.GetLastRecord(), nullptr);
}

TEST(NiPickerTest, AppendingKeepsEarlierRecordsAndFillsEmptySlotsFirst)
{
    NiRefPtr<NiNode> spScene = Scene({Facing(NiPoint3(20, 0, 0)), Facing(NiPoint3(10, 0, 0))});
    NiPicker kPicker;
    kPicker.SetTarget(spScene);
    kPicker.SetHitMode(NiPicker::FIND_FIRST);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
    ASSERT_EQ(Distances(kPicker), (std::vector<float>{10, -1}));
    kPicker.SetHitMode(NiPicker::FIND_ALL);
    kPicker.SetOrdering(NiPicker::NO_SORT);
    ASSERT_TRUE(kPicker.Pick(NiPoint3(5, 0, 0), NiPoint3::UNIT_X, true));
    EXPECT_EQ(Distances(kPicker), (std::vector<float>{10, 15, 5}));
    EXPECT_EQ(kPicker.GetCount(), 3u);

    // Without a target, or with nothing on the ray, nothing is found.
    EXPECT_FALSE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_Y, false));
    EXPECT_EQ(kPicker.GetCount(), 0u);
    NiPicker kEmpty;
    EXPECT_FALSE(kEmpty.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
}

TEST(NiPickerTest, HitsCarryInterpolatedValuesInTheChosenSpace)
{
    // Turned a quarter about z, doubled and moved: the shape faces -y at y = 20.
    NiTriShape* pkShape = Facing(NiPoint3(0, 20, 0));
    pkShape->SetRotate(NiRotationMatrix(0, -1, 0, 1, 0, 0, 0, 0, 1));
    pkShape->SetScale(2.0f);
    NiRefPtr<NiNode> spScene = Scene({pkShape});

    // Through the model centroid (0, -1/3, -1/3): world point (2/3, 20, -2/3).
    const NiPoint3 kWorldCentroid(2.0f / 3.0f, 20.0f, -2.0f / 3.0f);
    NiPicker kPicker;
    kPicker.SetTarget(spScene);
    kPicker.SetWantTexture(true);
    kPicker.SetWantNormal(true);
    kPicker.SetWantColor(true);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, kWorldCentroid, false));
    const NiPicker::Record& kWorld = *kPicker.GetAt(0);
    EXPECT_EQ(kWorld.m_spObject, pkShape);
    ExpectPoint(kWorld.m_kPoint, kWorldCentroid, 1e-4f);
    EXPECT_NEAR(kWorld.m_fDistance, 1.0f, 1e-5f);
    EXPECT_EQ(kWorld.m_usTriangle, 0);
    EXPECT_NEAR(kWorld.m_kTexture.x, 1.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(kWorld.m_kTexture.y, 1.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(kWorld.m_kColor.r, 1.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(kWorld.m_kColor.b, 1.0f / 3.0f, 1e-5f);
    EXPECT_EQ(kWorld.m_kColor.a, 1.0f);
    ExpectPoint(kWorld.m_kNormal, NiPoint3(0, -1, 0)); // the face normal, turned

    kPicker.SetCoordinateSpace(NiPicker::MODEL_COORDINATES);
    kPicker.SetNormalFromVertexNormals(true);
    kPicker.SetWantColor(false);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, kWorldCentroid, false));
    const NiPicker::Record& kModel = *kPicker.GetAt(0);
    ExpectPoint(kModel.m_kPoint, NiPoint3(0, -1.0f / 3.0f, -1.0f / 3.0f), 1e-5f);
    const float fThird = 1.0f / std::sqrt(3.0f);
    ExpectPoint(kModel.m_kNormal, NiPoint3(-fThird, fThird, fThird));
    EXPECT_EQ(kModel.m_kColor, NiColorA::WHITE);
}

TEST(NiPickerTest, BoundsOnlyQueriesStopAtNodesOrGeometry)
{
    NiTriShape* pkShape = Facing(NiPoint3(10, 0, 0));
    NiRefPtr<NiNode> spScene = Scene({pkShape});
    NiPicker kPicker;
    kPicker.SetTarget(spScene);
    kPicker.SetTestKind(NiPicker::BOUND_INTERSECT);
    kPicker.SetHitMode(NiPicker::FIND_FIRST);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
    EXPECT_EQ(kPicker.GetAt(0)->m_spObject, spScene);
    EXPECT_EQ(kPicker.GetAt(0)->m_kColor, NiColorA(0, 0, 0, 0));

    kPicker.SetHitMode(NiPicker::FIND_ALL);
    ASSERT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
    EXPECT_EQ(kPicker.GetAt(0)->m_spObject, pkShape);
    EXPECT_EQ(kPicker.GetAt(0)->m_fDistance, 0.0f);

    // App-culled objects are skipped only on request.
    pkShape->SetAppCulled(true);
    kPicker.SetTestKind(NiPicker::TRIANGLE_INTERSECT);
    EXPECT_TRUE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
    kPicker.SetSkipAppCulled(true);
    EXPECT_FALSE(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false));
}
