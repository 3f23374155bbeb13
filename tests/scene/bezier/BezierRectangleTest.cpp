#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierRectangle2.h"
#include "scene/bezier/NiBezierRectangle3.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

using namespace BezierTest;

namespace
{
NiRefPtr<NiBezierRectangle2> FlatBiquadratic(bool bNormals = false)
{
    return new NiBezierRectangle2(NewArray(RectanglePoints(2, 1)), nullptr, nullptr, bNormals);
}
} // namespace

TEST(BezierRectangle, UniformCountsAndOrderPerLevel)
{
    for (uint8_t ucLevel = 0; ucLevel <= 6; ++ucLevel)
    {
        NiRefPtr<NiBezierRectangle2> spPatch = FlatBiquadratic();
        spPatch->Tessellate(ucLevel);
        const uint32_t n = 1u << ucLevel;
        EXPECT_EQ(spPatch->GetVertexCount(), (n + 1) * (n + 1)) << int(ucLevel);
        EXPECT_EQ(spPatch->GetTriangleCount(), 2 * n * n) << int(ucLevel);
    }
    NiRefPtr<NiBezierRectangle2> spPatch = FlatBiquadratic();
    spPatch->Tessellate(0);
    EXPECT_EQ(OutputPositions(*spPatch), (std::vector<NiPoint3>{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0),
                                                                NiPoint3(0, 1, 0), NiPoint3(1, 1, 0)}));
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 1, 2, 1, 3, 2}));
    spPatch->SetLevel(7);
    EXPECT_EQ(spPatch->GetLevel(), 0);
}

TEST(BezierRectangle, AdaptiveWithoutCameraCutsTheLevelCellsByCheckerboardDiagonals)
{
    NiRefPtr<NiBezierRectangle2> spPatch = FlatBiquadratic();
    spPatch->SetAdaptive(true);
    spPatch->Tessellate(0);
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 3, 2, 0, 1, 3}));
    spPatch->Tessellate(1);
    EXPECT_EQ(OutputPositions(*spPatch),
              (std::vector<NiPoint3>{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0),
                                     NiPoint3(1, 1, 0), NiPoint3(0.5f, 0.5f, 0), NiPoint3(0.5f, 0, 0),
                                     NiPoint3(0, 0.5f, 0), NiPoint3(1, 0.5f, 0), NiPoint3(0.5f, 1, 0)}));
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 4, 6, 0, 5, 4, 5, 1, 4, 1, 7, 4,
                                                                6, 4, 2, 4, 8, 2, 4, 3, 8, 4, 7, 3}));
    spPatch->Tessellate(4);
    EXPECT_EQ(spPatch->GetVertexCount(), 289);
    EXPECT_EQ(spPatch->GetTriangleCount(), 512);
}

TEST(BezierRectangle, BasisIsOneAtTheCornersAndNormalsFollowTheDerivatives)
{
    for (uint16_t usDegree : {2, 3})
    {
        NiPoint3* pkPoints = NewArray(RectanglePoints(usDegree, 2));
        NiRefPtr<NiBezierPatch> spPatch =
            usDegree == 2
                ? static_cast<NiBezierPatch*>(new NiBezierRectangle2(pkPoints, nullptr, nullptr, true))
                : new NiBezierRectangle3(pkPoints, nullptr, nullptr, true);
        spPatch->Tessellate(2);
        const std::vector<NiPoint3> kOut = OutputPositions(*spPatch);
        EXPECT_EQ(kOut.front(), NiPoint3(0, 0, 0));
        EXPECT_EQ(kOut.back(), NiPoint3(2, 2, 0));
        for (uint16_t i = 0; i < spPatch->GetVertexCount(); ++i)
        {
            // An evenly spaced grid reproduces its parameters: the weights sum to 1.
            EXPECT_NEAR(kOut[i].x, 2.0f * (i % 5) / 4, 1e-5f);
            EXPECT_NEAR(kOut[i].y, 2.0f * (i / 5) / 4, 1e-5f);
            EXPECT_NEAR(spPatch->GetNormalArray()->GetAt(i).z, 1.0f, 1e-5f);
        }
    }
}

TEST(BezierRectangle, FlatnessComparesTheBendWithTheWholeIsoCurve)
{
    struct Case
    {
        std::vector<NiPoint3> kPoints;
        uint16_t usUA, usVA, usUB, usVB;
        bool bSplit;
    };
    std::vector<NiPoint3> kBent = RectanglePoints(2, 1);
    kBent[1].z = 1.0f; // the bottom curve bends; the left one stays straight
    std::vector<NiPoint3> kLoop = kBent;
    kLoop[2] = kLoop[0]; // the bottom curve ends where it starts
    const Case akCases[] = {
        {RectanglePoints(2, 1), 0, 0, 64, 0, false}, // flat: D is zero
        {kBent, 0, 0, 64, 0, true},                  // Δ² |D|² = 16 > 0.1
        {kBent, 0, 0, 4, 0, false},                  // (1/16)² 16 = 0.0625 is not
        {kBent, 0, 0, 0, 64, false},                 // the iso-curve along v at u = 0 is straight
        {kLoop, 0, 0, 1, 0, true},                   // degenerate chord: any bend splits
    };
    for (size_t i = 0; i < std::size(akCases); ++i)
    {
        const Case& kCase = akCases[i];
        NiRefPtr<NiBezierRectangle2> spPatch =
            new NiBezierRectangle2(NewArray(kCase.kPoints), nullptr, nullptr, false);
        EXPECT_EQ(spPatch->TestSubdivision(kCase.usUA, kCase.usVA, kCase.usUB, kCase.usVB), kCase.bSplit)
            << i;
    }
}

TEST(BezierRectangle, BiquadraticFromARaisedBiquadraticIsTheOriginal)
{
    // Raise a biquadratic by hand: each row and column (a, b, c) -> (a, (a + 2b) / 3, (2b + c) / 3, c).
    std::vector<NiPoint3> kQuadratic;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            kQuadratic.emplace_back(3.0f * i, 3.0f * j, float((i * 7 + j * 5) % 4) * 3.0f);
    auto Raise = [](const NiPoint3& a, const NiPoint3& b, const NiPoint3& c) {
        return std::vector<NiPoint3>{a, (a + b * 2.0f) / 3.0f, (b * 2.0f + c) / 3.0f, c};
    };
    std::vector<std::vector<NiPoint3>> kRows;
    for (int j = 0; j < 3; ++j)
        kRows.push_back(Raise(kQuadratic[3 * j], kQuadratic[3 * j + 1], kQuadratic[3 * j + 2]));
    std::vector<NiPoint3> kCubic(16);
    for (int i = 0; i < 4; ++i)
    {
        const std::vector<NiPoint3> kColumn = Raise(kRows[0][i], kRows[1][i], kRows[2][i]);
        for (int j = 0; j < 4; ++j)
            kCubic[i + 4 * j] = kColumn[j];
    }
    NiColorA* pkColors = new NiColorA[16];
    for (int i = 0; i < 16; ++i)
        pkColors[i] = NiColorA(0, 0, 0, float(i % 4) / 3.0f);
    NiRefPtr<NiBezierRectangle3> spCubic = new NiBezierRectangle3(NewArray(kCubic), nullptr, pkColors, false);
    NiRefPtr<NiBezierRectangle2> spBack = spCubic->MakeBiquadratic();
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR((spBack->GetControlPoints()[i] - kQuadratic[i]).Length(), 0.0f, 1e-5f) << i;
    // The colours are the cubic's at the nine half steps: alpha runs with u.
    EXPECT_NEAR(spBack->GetControlColors()[4].a, 0.5f, 1e-6f);
    EXPECT_NEAR(spBack->GetControlColors()[5].a, 1.0f, 1e-6f);
    EXPECT_EQ(spCubic->GetVertexCount(), 9);
}

TEST(BezierRectangle, NeighbourQueriesMirrorRescaleAndReadTheDecisionBits)
{
    NiRefPtr<NiBezierRectangle2> spPatch = FlatBiquadratic();
    spPatch->SetAdaptive(true);
    spPatch->Tessellate(1); // the second adaptive pass: parity back to 0
    ASSERT_EQ(spPatch->GetPassParity(), 0);
    EXPECT_TRUE(spPatch->GetSplitBit(1, 32));
    // The bits record decisions, not splits: (0, 16) was decided "not split" at depth 1.
    EXPECT_TRUE(spPatch->GetSplitBit(1, 16));
    EXPECT_FALSE(spPatch->GetSplitBit(1, 8));
    // From a 128-unit caller with code -2 (this patch's edge 1, running the other way), with
    // the other parity: [32, 96] mirrors to [32, 96], halves to [16, 48], read at 32.
    EXPECT_TRUE(spPatch->IsEdgeSplit(32, 96, 7, 0, 1, -2));
    // [64, 128] -> [0, 64] -> [0, 32], read at 16; [0, 32] -> [96, 128] -> [48, 64], read at 56.
    EXPECT_TRUE(spPatch->IsEdgeSplit(64, 128, 7, 0, 1, -2));
    EXPECT_FALSE(spPatch->IsEdgeSplit(0, 32, 7, 0, 1, -2));
    // A code naming no edge imposes nothing.
    EXPECT_TRUE(spPatch->IsEdgeSplit(0, 32, 6, 0, 0, 9));
}

TEST(BezierRectangle, RecordRoundTripsWithItsNeighbours)
{
    NiRefPtr<NiBezierRectangle3> spPatch =
        new NiBezierRectangle3(NewArray(RectanglePoints(3, 1, 0.5f)), nullptr, nullptr, false);
    spPatch->SetEdgeNeighbor(3, 2, -4);
    spPatch->SetLevel(2);
    NiRefPtr<NiBezierRectangle3> spLoaded = NifTest::RoundTrip(spPatch.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spPatch));
    EXPECT_EQ(spLoaded->GetNeighborEdge(3), -4);
    EXPECT_EQ(spLoaded->GetVertexCount(), 25);
    spLoaded->SetEdgeNeighbor(3, 2, 4);
    EXPECT_FALSE(spLoaded->IsEquivalent(spPatch));
}
