// The vertex layouts of the firing-arc display.
#include "properties/FiringArcGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const NiPoint3 P(1.0f, 2.0f, 3.0f);
const NiPoint3 F(0.0f, 1.0f, 0.0f);
const NiPoint3 U(0.0f, 0.0f, 1.0f);
const NiPoint3 R(1.0f, 0.0f, 0.0f);
constexpr float WIDTH_MIN = 3.1415927f * -0.625f;
constexpr float WIDTH_MAX = 3.1415927f * 0.625f;
constexpr float HEIGHT_MIN = 3.1415927f * -0.03125f;
constexpr float HEIGHT_MAX = 3.1415927f * 0.75f;

void ExpectNear(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

NiPoint3 At(const NiPoint3& kP, float fScale, float fX, float fY, float fZ)
{
    return NiPoint3(kP.x + fScale * fX, kP.y + fScale * fY, kP.z + fScale * fZ);
}
} // namespace

TEST(FiringArcGeometry, DefaultArcsGiveTheKnownCornersInLoopOrder)
{
    const float fScale = 0.33f * 30.0f;
    NiPoint3 akFrame[FiringArcGeometry::FRAME_VERTICES];
    FiringArcGeometry::ArcFrame(akFrame, P, F, U, R, fScale, WIDTH_MIN, WIDTH_MAX, HEIGHT_MIN, HEIGHT_MAX);
    const NiPoint3 kK1 = At(P, fScale, 0.924f, -0.381f, 0.038f);
    const NiPoint3 kK2 = At(P, fScale, 0.924f, 0.271f, -0.271f);
    const NiPoint3 kK3 = At(P, fScale, -0.924f, 0.271f, -0.271f);
    const NiPoint3 kK4 = At(P, fScale, -0.924f, -0.381f, 0.038f);
    const NiPoint3 akExpected[] = {P, kK1, P, kK2, P, kK4, P, kK3, kK1, kK4, kK3, kK2, kK1};
    for (int iIndex = 0; iIndex < FiringArcGeometry::FRAME_VERTICES; iIndex++)
        ExpectNear(akFrame[iIndex], akExpected[iIndex], 1e-3f * fScale);

    uint8_t aucFlags[FiringArcGeometry::FRAME_VERTICES];
    FiringArcGeometry::FrameFlags(aucFlags);
    const uint8_t aucExpected[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0};
    for (int iIndex = 0; iIndex < FiringArcGeometry::FRAME_VERTICES; iIndex++)
        EXPECT_EQ(aucFlags[iIndex], aucExpected[iIndex]) << iIndex;
}

TEST(FiringArcGeometry, DegenerateArcsCollapse)
{
    NiPoint3 akFrame[FiringArcGeometry::FRAME_VERTICES];
    // Zero angles: every corner at P + s F.
    FiringArcGeometry::ArcFrame(akFrame, P, F, U, R, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    for (int iIndex : {1, 3, 5, 7, 8, 9, 10, 11, 12})
        ExpectNear(akFrame[iIndex], NiPoint3(1.0f, 4.0f, 3.0f), 1e-6f);
    // Zero scale (a scene of radius 0): every vertex at P.
    FiringArcGeometry::ArcFrame(akFrame, P, F, U, R, 0.0f, WIDTH_MIN, WIDTH_MAX, HEIGHT_MIN, HEIGHT_MAX);
    for (const NiPoint3& kVertex : akFrame)
        ExpectNear(kVertex, P, 0.0f);
}

TEST(FiringArcGeometry, TheHeightRotationTurnsAboutTheFixedRightAxis)
{
    // Swung a quarter turn sideways the vector lies along -R; turning it about R then leaves it.
    const NiPoint3 kCorner = FiringArcGeometry::ArcCorner(NiPoint3(0, 0, 0), F, U, R, 1.0f, 1.5707964f, 1.0f);
    ExpectNear(kCorner, NiPoint3(-1.0f, 0.0f, 0.0f), 1e-6f);
}

TEST(FiringArcGeometry, TheAxisLinesRunAlongForwardUpAndRight)
{
    NiPoint3 akAxes[FiringArcGeometry::AXIS_VERTICES];
    FiringArcGeometry::AxisLines(akAxes, P, F, U, R, 1.4f, 0.25f, 1.8f);
    ExpectNear(akAxes[0], P, 0.0f);
    ExpectNear(akAxes[1], NiPoint3(1.0f, 3.4f, 3.0f), 1e-6f);
    ExpectNear(akAxes[3], NiPoint3(1.0f, 2.0f, 3.25f), 1e-6f);
    ExpectNear(akAxes[5], NiPoint3(2.8f, 2.0f, 3.0f), 1e-6f);
    NiColorA akColors[FiringArcGeometry::AXIS_VERTICES];
    FiringArcGeometry::AxisColors(akColors);
    EXPECT_EQ(akColors[1], NiColorA(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(akColors[2], NiColorA(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(akColors[5], NiColorA(0.0f, 0.0f, 1.0f, 1.0f));
}

TEST(FiringArcGeometry, TheEllipseRepeatsItsFirstVertexAndStopsAt356Degrees)
{
    NiPoint3 akEllipse[FiringArcGeometry::ELLIPSE_VERTICES];
    FiringArcGeometry::ExtentEllipse(akEllipse, P, F, R, 1.8f, 1.4f);
    ExpectNear(akEllipse[0], NiPoint3(2.8f, 2.0f, 3.0f), 1e-6f);
    ExpectNear(akEllipse[1], akEllipse[0], 1e-6f);
    // A quarter round (vertex 46, t = 90 degrees) lies Length along forward.
    ExpectNear(akEllipse[46], NiPoint3(1.0f, 3.4f, 3.0f), 1e-5f);
    const float fLast = 356.0f * 3.1415927f / 180.0f;
    ExpectNear(akEllipse[179], NiPoint3(1.0f + 1.8f * std::cos(fLast), 2.0f + 1.4f * std::sin(fLast), 3.0f),
               1e-5f);
    for (const NiPoint3& kVertex : akEllipse)
    {
        const float fX = (kVertex.x - P.x) / 1.8f;
        const float fY = (kVertex.y - P.y) / 1.4f;
        EXPECT_NEAR(fX * fX + fY * fY, 1.0f, 1e-5f);
    }
    FiringArcGeometry::ExtentEllipse(akEllipse, P, F, R, 0.0f, 0.0f);
    for (const NiPoint3& kVertex : akEllipse)
        ExpectNear(kVertex, P, 0.0f);
}
