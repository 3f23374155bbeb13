#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierCylinder.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

using namespace BezierTest;

namespace
{
// Bottom curve along x at z = 0 (its middle points raised by the bump), top curve at z = 1.
NiRefPtr<NiBezierCylinder> Cylinder(uint16_t usDegree, float fBump = 0.0f, bool bNormals = false)
{
    std::vector<NiPoint3> kPoints;
    for (int iCurve = 0; iCurve < 2; ++iCurve)
        for (uint16_t i = 0; i <= usDegree; ++i)
        {
            const bool bInner = iCurve == 0 && i > 0 && i < usDegree;
            kPoints.emplace_back(float(i) / usDegree, bInner ? fBump : 0.0f, float(iCurve));
        }
    return new NiBezierCylinder(usDegree, NewArray(kPoints), nullptr, nullptr, bNormals);
}
} // namespace

TEST(BezierCylinder, LevelAndRowLimitsBoundEachOther)
{
    NiRefPtr<NiBezierCylinder> spPatch = Cylinder(2);
    const std::pair<uint8_t, uint8_t> akMaxLevel[] = {{0, 13}, {1, 12}, {2, 11}, {4, 11}, {5, 10},
                                                      {9, 10}, {10, 9}, {20, 9}, {21, 8}};
    for (const auto& [ucRows, ucLevel] : akMaxLevel)
    {
        spPatch->SetInnerRows(ucRows);
        EXPECT_EQ(spPatch->GetInnerRows(), ucRows);
        EXPECT_EQ(spPatch->GetMaxLevel(), ucLevel) << int(ucRows);
    }
    spPatch->SetInnerRows(0);
    const std::pair<uint8_t, uint8_t> akMaxRows[] = {{0, 255}, {5, 255}, {6, 169}, {7, 84},
                                                     {11, 4},  {12, 1},  {13, 0}};
    for (const auto& [ucLevel, ucRows] : akMaxRows)
    {
        spPatch->SetLevel(ucLevel);
        EXPECT_EQ(spPatch->GetMaxInnerRows(), ucRows) << int(ucLevel);
    }
    spPatch->SetInnerRows(1); // above the limit at level 13
    EXPECT_EQ(spPatch->GetInnerRows(), 0);
    EXPECT_EQ(spPatch->GetVertexCount(), 16386);
    EXPECT_EQ(spPatch->GetTriangleCount(), 16384);
    spPatch->SetLevel(14);
    EXPECT_EQ(spPatch->GetLevel(), 13);
}

TEST(BezierCylinder, UniformStripsRowByRow)
{
    NiRefPtr<NiBezierCylinder> spPatch = Cylinder(2);
    spPatch->Tessellate(0);
    EXPECT_EQ(OutputPositions(*spPatch), (std::vector<NiPoint3>{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0),
                                                                NiPoint3(0, 0, 1), NiPoint3(1, 0, 1)}));
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 1, 2, 1, 3, 2}));
    spPatch->SetInnerRows(1);
    spPatch->Tessellate(2);
    EXPECT_EQ(spPatch->GetVertexCount(), 15);
    EXPECT_EQ(spPatch->GetTriangleCount(), 16);
    EXPECT_EQ(OutputPositions(*spPatch)[7], NiPoint3(0.5f, 0, 0.5f));
}

TEST(BezierCylinder, AdaptiveFlatPatchIsTheLevelSubdivision)
{
    NiRefPtr<NiBezierCylinder> spPatch = Cylinder(2);
    spPatch->SetAdaptive(true);
    spPatch->Tessellate(0);
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{2, 0, 3, 1, 3, 0}));
    spPatch->Tessellate(1);
    EXPECT_EQ(OutputPositions(*spPatch),
              (std::vector<NiPoint3>{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 1),
                                     NiPoint3(1, 0, 1), NiPoint3(0.5f, 0, 0), NiPoint3(0.5f, 0, 1)}));
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{2, 0, 5, 4, 5, 0, 5, 4, 3, 1, 3, 4}));

    // Straight lines on both sides never refine beyond the level, however bent the rows are.
    NiRefPtr<NiBezierCylinder> spLinear = Cylinder(1);
    spLinear->SetAdaptive(true);
    spLinear->SetLevel(3);
    EXPECT_EQ(spLinear->GetTriangleCount(), 16);
    NiRefPtr<NiBezierCylinder> spBent = Cylinder(3, 2.0f, true);
    spBent->SetAdaptive(true);
    spBent->SetLevel(3);
    EXPECT_GT(spBent->GetTriangleCount(), 16);
}

TEST(BezierCylinder, RowsThatNeedNoSplitTakeTheThreeTriangleStrip)
{
    // Bend 0.2 on the bottom curve only: rows at v = 0 and 1/3 bend enough, v = 2/3 and the
    // straight top do not.
    NiRefPtr<NiBezierCylinder> spPatch = Cylinder(2, 0.2f);
    spPatch->SetInnerRows(2);
    spPatch->SetAdaptive(true);
    spPatch->Tessellate(0);
    EXPECT_EQ(spPatch->GetVertexCount(), 10); // 8 row ends and the middles of rows 0 and 1
    EXPECT_EQ(OutputTriangles(*spPatch),
              (std::vector<uint16_t>{2, 0, 9, 8, 9, 0, 8, 1, 9, 3, 9, 1, // both rows split
                                     2, 9, 4, 5, 4, 9, 3, 5, 9,          // the lower row only
                                     6, 4, 7, 5, 7, 4}));                // neither
}

TEST(BezierCylinder, RecordRoundTripsAndRefusesRowsThatDoNotFitTheLevel)
{
    NiRefPtr<NiBezierCylinder> spPatch = Cylinder(3, 0.5f, true);
    spPatch->SetInnerRows(1);
    spPatch->SetLevel(12);
    NiRefPtr<NiBezierCylinder> spLoaded = NifTest::RoundTrip(spPatch.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spPatch));
    EXPECT_EQ(spLoaded->GetVertexCount(), 3 * 4097);
    NiRefPtr<NiBezierCylinder> spClone = static_cast<NiBezierCylinder*>(spPatch->Clone());
    EXPECT_TRUE(spClone->IsEquivalent(spPatch));
    EXPECT_EQ(spClone->GetVertexCount(), 3 * 4097);

    // Level 13 with one inner row would need more than 16-bit indices.
    std::vector<char> kBytes = NifTest::Save({spPatch});
    const char acPattern[] = {3, 0, 8, 0, 0, 0, 8, 0, 12};
    const auto kAt = std::search(kBytes.begin(), kBytes.end(), acPattern, acPattern + sizeof(acPattern));
    ASSERT_NE(kAt, kBytes.end());
    kAt[8] = 13;
    EXPECT_TRUE(NifTest::Load(kBytes).empty());
}

TEST(BezierCylinder, DegreesUpToTheLimitEvaluateExactlyAndHigherOnesFailTheLoad)
{
    // Points evenly spaced along x reproduce x = u at any degree: the binomials are right and
    // finite up to the limit, where the old table overflowed from degree 132 on.
    for (uint16_t usDegree : {1, 2, 3, 40, 125, 126})
    {
        NiRefPtr<NiBezierCylinder> spLoaded = NifTest::RoundTrip(Cylinder(usDegree, 0.0f, true).Get());
        ASSERT_TRUE(spLoaded) << usDegree;
        spLoaded->Tessellate(3);
        const std::vector<NiPoint3> kPositions = OutputPositions(*spLoaded);
        ASSERT_EQ(kPositions.size(), 18u);
        for (size_t i = 0; i < kPositions.size(); ++i)
        {
            EXPECT_NEAR(kPositions[i].x, float(i % 9) / 8.0f, 1e-4f) << usDegree << " " << i;
            EXPECT_NEAR(kPositions[i].z, float(i / 9), 1e-5f) << usDegree << " " << i;
        }
    }
    static_assert(NiBezierCylinder::MAX_DEGREE == 126);
    for (uint16_t usDegree : {127, 200})
    {
        NiRefPtr<NiBezierCylinder> spPatch = Cylinder(usDegree);
        EXPECT_TRUE(NifTest::Load(NifTest::Save({spPatch})).empty()) << usDegree;
    }
}
