#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/bezier/NiBezierTriangle4.h"
#include "scene/bezier/NiBezierVertexCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <tuple>

using namespace BezierTest;

namespace
{
NiRefPtr<NiBezierTriangle2> FlatQuadratic(float fSize = 1.0f, bool bNormals = false)
{
    return new NiBezierTriangle2(NewArray(TrianglePoints(2, fSize)), nullptr, nullptr, bNormals);
}

std::set<std::tuple<float, float, float>> PositionSet(const NiBezierPatch& kPatch)
{
    std::set<std::tuple<float, float, float>> kSet;
    for (const NiPoint3& kPoint : OutputPositions(kPatch))
        kSet.emplace(kPoint.x, kPoint.y, kPoint.z);
    return kSet;
}

// Every triangle names produced vertices and keeps the (u, v) winding: counter-clockwise in
// the plane of a flat patch lying in (x, y).
void ExpectValidCounterClockwise(const NiBezierPatch& kPatch)
{
    const std::vector<uint16_t> kTriangles = OutputTriangles(kPatch);
    for (size_t t = 0; t < kTriangles.size(); t += 3)
    {
        for (size_t c = 0; c < 3; ++c)
            ASSERT_LT(kTriangles[t + c], kPatch.GetVertexCount());
        const NiPoint3& kA = kPatch.GetPositionArray()->GetAt(kTriangles[t]);
        const NiPoint3& kB = kPatch.GetPositionArray()->GetAt(kTriangles[t + 1]);
        const NiPoint3& kC = kPatch.GetPositionArray()->GetAt(kTriangles[t + 2]);
        EXPECT_GT((kB - kA).Cross(kC - kA).z, 0.0f) << "triangle " << t / 3;
    }
}
} // namespace

TEST(BezierTriangle, UniformCountsAndOrderPerLevel)
{
    const uint16_t ausVertices[8] = {3, 6, 15, 45, 153, 561, 2145, 8385};
    for (uint8_t ucLevel = 0; ucLevel <= 7; ++ucLevel)
    {
        NiRefPtr<NiBezierTriangle2> spPatch = FlatQuadratic();
        spPatch->Tessellate(ucLevel);
        EXPECT_EQ(spPatch->GetVertexCount(), ausVertices[ucLevel]) << int(ucLevel);
        EXPECT_EQ(spPatch->GetTriangleCount(), (1u << ucLevel) * (1u << ucLevel)) << int(ucLevel);
        if (ucLevel <= 3)
            ExpectValidCounterClockwise(*spPatch);
    }
    NiRefPtr<NiBezierTriangle2> spPatch = FlatQuadratic();
    spPatch->Tessellate(0);
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 1, 2}));
    spPatch->Tessellate(1);
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 1, 3, 1, 4, 3, 1, 2, 4, 3, 4, 5}));
    EXPECT_EQ(OutputPositions(*spPatch)[4], NiPoint3(0.5f, 0.5f, 0.0f));
}

TEST(BezierTriangle, AdaptiveWithoutCameraIsTheLevelSubdivision)
{
    NiRefPtr<NiBezierTriangle2> spPatch = FlatQuadratic();
    spPatch->SetAdaptive(true);
    spPatch->Tessellate(1);
    EXPECT_EQ(OutputPositions(*spPatch),
              (std::vector<NiPoint3>{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0),
                                     NiPoint3(0.5f, 0, 0), NiPoint3(0, 0.5f, 0), NiPoint3(0.5f, 0.5f, 0)}));
    EXPECT_EQ(OutputTriangles(*spPatch), (std::vector<uint16_t>{0, 3, 4, 3, 1, 5, 4, 5, 2, 5, 4, 3}));

    for (uint8_t ucLevel = 0; ucLevel <= 7; ucLevel += (ucLevel < 4 ? 1 : 3))
    {
        NiRefPtr<NiBezierTriangle2> spUniform = FlatQuadratic();
        NiRefPtr<NiBezierTriangle2> spAdaptive = FlatQuadratic();
        spUniform->Tessellate(ucLevel);
        spAdaptive->SetAdaptive(true);
        spAdaptive->Tessellate(ucLevel);
        EXPECT_EQ(PositionSet(*spAdaptive), PositionSet(*spUniform)) << int(ucLevel);
        EXPECT_EQ(spAdaptive->GetTriangleCount(), spUniform->GetTriangleCount()) << int(ucLevel);
        EXPECT_EQ(OutputPositions(*spAdaptive)[2], NiPoint3(0, 1, 0));
        ExpectValidCounterClockwise(*spAdaptive);
    }
}

TEST(BezierTriangle, BasisIsOneAtEachCornerAndSumsToOne)
{
    std::vector<NiRefPtr<NiBezierPatch>> kPatches = {
        new NiBezierTriangle2(NewArray(TrianglePoints(2, 1)), nullptr, nullptr, true),
        new NiBezierTriangle3(NewArray(TrianglePoints(3, 1)), nullptr, nullptr, true),
        new NiBezierTriangle4(NewArray(TrianglePoints(4, 1)), nullptr, nullptr, true)};
    for (const NiRefPtr<NiBezierPatch>& spPatch : kPatches)
    {
        const uint32_t n = spPatch->GetDegree();
        const uint32_t uiLast = spPatch->GetControlPointCount() - 1;
        // Corner (0,0) is point 0, (1,0) point n, (0,1) the last; the kernel's position shows it.
        spPatch->Tessellate(0);
        EXPECT_EQ(OutputPositions(*spPatch)[1], spPatch->GetControlPoints()[n]);
        EXPECT_EQ(OutputPositions(*spPatch)[2], spPatch->GetControlPoints()[uiLast]);
        // A flat patch in (x, y) has normal +z everywhere, from the derivative weights.
        spPatch->Tessellate(2);
        for (uint16_t i = 0; i < spPatch->GetVertexCount(); ++i)
        {
            const NiPoint3& kNormal = spPatch->GetNormalArray()->GetAt(i);
            EXPECT_NEAR(kNormal.z, 1.0f, 1e-5f) << "degree " << n << " vertex " << i;
            // The positions of an evenly spaced flat patch are its parameters: the weights sum to 1.
            const NiPoint3& kPoint = spPatch->GetPositionArray()->GetAt(i);
            EXPECT_NEAR(kPoint.z, 0.0f, 1e-6f);
            EXPECT_LE(kPoint.x + kPoint.y, 1.0f + 1e-5f);
        }
    }
}

TEST(BezierTriangle, DegreeChangesKeepTheSurface)
{
    // Coordinates that are multiples of 3 keep every division by 3 exact.
    std::vector<NiPoint3> kQuadratic = {NiPoint3(0, 0, 0),  NiPoint3(6, 0, 3), NiPoint3(12, 0, 0),
                                        NiPoint3(0, 6, -3), NiPoint3(6, 6, 9), NiPoint3(0, 12, 0)};
    NiRefPtr<NiBezierTriangle2> spQuadratic =
        new NiBezierTriangle2(NewArray(kQuadratic), nullptr, nullptr, false);
    NiRefPtr<NiBezierTriangle3> spCubic = spQuadratic->MakeCubic();
    NiRefPtr<NiBezierTriangle2> spBack = spCubic->MakeQuadratic();
    NiRefPtr<NiBezierTriangle4> spQuartic = spCubic->MakeQuartic();
    NiRefPtr<NiBezierTriangle2> spFromQuartic = spQuartic->MakeQuadratic();
    NiRefPtr<NiBezierTriangle3> spCubicAgain = spQuartic->MakeCubic();
    for (uint32_t i = 0; i < 6; ++i)
    {
        EXPECT_EQ(spBack->GetControlPoints()[i], kQuadratic[i]) << i;
        EXPECT_NEAR((spFromQuartic->GetControlPoints()[i] - kQuadratic[i]).Length(), 0.0f, 1e-5f) << i;
    }
    for (uint32_t i = 0; i < 10; ++i)
        EXPECT_NEAR((spCubicAgain->GetControlPoints()[i] - spCubic->GetControlPoints()[i]).Length(), 0.0f,
                    1e-5f)
            << i;
    // Elevation: Q1 = (P0 + 2 P1) / 3 and Q5 = (P1 + P3 + P4) / 3.
    EXPECT_EQ(spCubic->GetControlPoints()[1], NiPoint3(4, 0, 2));
    EXPECT_EQ(spCubic->GetControlPoints()[5], NiPoint3(4, 4, 3));
    // Every degree describes one surface.
    for (NiBezierPatch* pkPatch : std::vector<NiBezierPatch*>{spQuadratic, spCubic, spQuartic})
        pkPatch->Tessellate(3);
    for (uint16_t i = 0; i < spQuadratic->GetVertexCount(); ++i)
    {
        EXPECT_NEAR((OutputPositions(*spCubic)[i] - OutputPositions(*spQuadratic)[i]).Length(), 0.0f, 1e-4f);
        EXPECT_NEAR((OutputPositions(*spQuartic)[i] - OutputPositions(*spQuadratic)[i]).Length(), 0.0f,
                    1e-4f);
    }
}

TEST(BezierTriangle, DegreeChangeSamplesTextureAndColourAndRefreshesTheSource)
{
    NiTexCoord* pkTextures =
        NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(0.5f, 0), NiTexCoord(1, 0), NiTexCoord(0, 0.5f),
                              NiTexCoord(0.5f, 0.5f), NiTexCoord(0, 1)});
    NiColorA* pkColors = new NiColorA[6];
    for (int i = 0; i < 6; ++i)
        pkColors[i] = NiColorA(float(i), 0, 0, 1);
    NiRefPtr<NiBezierTriangle2> spPatch =
        new NiBezierTriangle2(NewArray(TrianglePoints(2, 1)), pkTextures, pkColors, false);
    NiRefPtr<NiBezierTriangle3> spCubic = spPatch->MakeCubic();
    // The texture coordinates of this linear map are the sampled parameters themselves.
    const float fThird = 1.0f / 3.0f;
    const float afU[10] = {0, fThird, 2 * fThird, 1, 0, fThird, 2 * fThird, 0, fThird, 0};
    const float afV[10] = {0, 0, 0, 0, fThird, fThird, fThird, 2 * fThird, 2 * fThird, 1};
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_NEAR(spCubic->GetControlTextureCoords()[i].x, afU[i], 1e-6f) << i;
        EXPECT_NEAR(spCubic->GetControlTextureCoords()[i].y, afV[i], 1e-6f) << i;
    }
    EXPECT_EQ(spCubic->GetTextureSetCount(), 1);
    EXPECT_FLOAT_EQ(spCubic->GetControlColors()[3].r, 2.0f);
    EXPECT_EQ(spPatch->GetVertexCount(), 10); // without render data the samples stay

    // With render data the source tessellates again rather than leave the renderer pointing
    // at output arrays that went away.
    spPatch->SetLevel(2);
    NiTriShapeDynamicData* pkData = spPatch->GetRenderData();
    const uint16_t usRevision = pkData->GetRevision();
    NiRefPtr<NiBezierTriangle3> spAgain = spPatch->MakeCubic();
    EXPECT_EQ(spPatch->GetVertexCount(), 15);
    EXPECT_EQ(pkData->GetVertices(), spPatch->GetPositionArray()->GetBase());
    EXPECT_NE(pkData->GetRevision(), usRevision);
}

TEST(BezierTriangle, FlatnessTestSplitsOnlyBentEdgesWithSpan)
{
    struct Case
    {
        float fBump;
        uint16_t usUA, usVA, usUB, usVB;
        bool bSplit;
    };
    const Case akCases[] = {
        {0.0f, 0, 0, 128, 0, false},  // flat: D is zero
        {0.0f, 0, 0, 0, 128, false},  //
        {4.0f, 0, 0, 128, 0, false},  // edge 0 of this patch is straight
        {4.0f, 0, 0, 0, 128, false},  // so is edge 1
        {4.0f, 0, 64, 64, 64, true},  // but it bends inside
        {4.0f, 64, 0, 0, 64, true},   // diagonal through the bump
        {4.0f, 32, 32, 32, 32, false} // span 0
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiBezierTriangle3> spPatch =
            new NiBezierTriangle3(NewArray(TrianglePoints(3, 1, kCase.fBump)), nullptr, nullptr, false);
        spPatch->SetAdaptive(true); // sets the corner distances
        spPatch->Tessellate(0);
        EXPECT_EQ(spPatch->TestSubdivision(kCase.usUA, kCase.usVA, kCase.usUB, kCase.usVB), kCase.bSplit)
            << kCase.fBump << " " << kCase.usUA << "," << kCase.usVA << " " << kCase.usUB << ","
            << kCase.usVB;
    }
}

TEST(BezierTriangle, AdaptiveRefinesWhatIsNearAndBentUpToLevelSeven)
{
    NiRefPtr<NiBezierTriangle3> spPatch =
        new NiBezierTriangle3(NewArray(TrianglePoints(3, 10, 6)), nullptr, nullptr, true);
    TestView kView(NiPoint3(2, 2, 12), NiPoint3(3, 3, 0));
    spPatch->SetCamera(kView.m_spCamera);
    spPatch->UpdateSubtree(0.0f);
    spPatch->SetAdaptive(true);
    spPatch->SetLevel(1);
    EXPECT_GT(spPatch->GetTriangleCount(), 4);
    EXPECT_LE(spPatch->GetVertexCount(), 8385);
    ExpectValidCounterClockwise(*spPatch);
    // A larger tolerance refines less.
    const uint16_t usFine = spPatch->GetTriangleCount();
    spPatch->SetScreenTolerance(400.0f);
    spPatch->Tessellate(1);
    EXPECT_LT(spPatch->GetTriangleCount(), usFine);
}

TEST(BezierTriangle, LevelsAboveSevenAreRefused)
{
    NiRefPtr<NiBezierTriangle2> spPatch = FlatQuadratic();
    spPatch->SetLevel(8);
    EXPECT_EQ(spPatch->GetLevel(), 0);
    EXPECT_EQ(spPatch->GetRenderData(), nullptr);
    spPatch->SetLevel(7);
    EXPECT_EQ(spPatch->GetLevel(), 7);
    EXPECT_EQ(spPatch->GetVertexCount(), 8385);
}
