#include "properties/FiringArcGeometry.h"

#include <cmath>

namespace
{
NiPoint3 Scaled(const NiPoint3& kV, float fScale)
{
    return NiPoint3(kV.x * fScale, kV.y * fScale, kV.z * fScale);
}

NiPoint3 Sum(const NiPoint3& kA, const NiPoint3& kB)
{
    return NiPoint3(kA.x + kB.x, kA.y + kB.y, kA.z + kB.z);
}

float Dot(const NiPoint3& kA, const NiPoint3& kB)
{
    return kA.x * kB.x + kA.y * kB.y + kA.z * kB.z;
}
} // namespace

NiPoint3 FiringArcGeometry::Cross(const NiPoint3& kA, const NiPoint3& kB)
{
    return NiPoint3(kA.y * kB.z - kA.z * kB.y, kA.z * kB.x - kA.x * kB.z, kA.x * kB.y - kA.y * kB.x);
}

NiPoint3 FiringArcGeometry::Rotate(const NiPoint3& kV, const NiPoint3& kAxis, float fAngle)
{
    const float fCos = std::cos(fAngle);
    const float fSin = std::sin(fAngle);
    return Sum(Sum(Scaled(kV, fCos), Scaled(Cross(kAxis, kV), fSin)),
               Scaled(kAxis, Dot(kAxis, kV) * (1.0f - fCos)));
}

void FiringArcGeometry::AxisLines(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF,
                                  const NiPoint3& kU, const NiPoint3& kR, float fA, float fB, float fC)
{
    pkVertices[0] = kP;
    pkVertices[1] = Sum(kP, Scaled(kF, fA));
    pkVertices[2] = kP;
    pkVertices[3] = Sum(kP, Scaled(kU, fB));
    pkVertices[4] = kP;
    pkVertices[5] = Sum(kP, Scaled(kR, fC));
}

void FiringArcGeometry::AxisColors(NiColorA* pkColors)
{
    const NiColorA kRed(1.0f, 0.0f, 0.0f, 1.0f);
    const NiColorA kGreen(0.0f, 1.0f, 0.0f, 1.0f);
    const NiColorA kBlue(0.0f, 0.0f, 1.0f, 1.0f);
    pkColors[0] = pkColors[1] = kRed;
    pkColors[2] = pkColors[3] = kGreen;
    pkColors[4] = pkColors[5] = kBlue;
}

NiPoint3 FiringArcGeometry::ArcCorner(const NiPoint3& kP, const NiPoint3& kF, const NiPoint3& kU,
                                      const NiPoint3& kR, float fScale, float fWidth, float fHeight)
{
    return Sum(kP, Rotate(Rotate(Scaled(kF, fScale), kU, fWidth), kR, fHeight));
}

void FiringArcGeometry::ArcFrame(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF,
                                 const NiPoint3& kU, const NiPoint3& kR, float fScale, float fWidthMin,
                                 float fWidthMax, float fHeightMin, float fHeightMax)
{
    const NiPoint3 kK1 = ArcCorner(kP, kF, kU, kR, fScale, fWidthMin, fHeightMin);
    const NiPoint3 kK2 = ArcCorner(kP, kF, kU, kR, fScale, fWidthMin, fHeightMax);
    const NiPoint3 kK3 = ArcCorner(kP, kF, kU, kR, fScale, fWidthMax, fHeightMax);
    const NiPoint3 kK4 = ArcCorner(kP, kF, kU, kR, fScale, fWidthMax, fHeightMin);
    const NiPoint3 akOrder[FRAME_VERTICES] = {kP, kK1, kP, kK2, kP, kK4, kP, kK3, kK1, kK4, kK3, kK2, kK1};
    for (uint16_t usIndex = 0; usIndex < FRAME_VERTICES; usIndex++)
        pkVertices[usIndex] = akOrder[usIndex];
}

void FiringArcGeometry::ExtentEllipse(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF,
                                      const NiPoint3& kR, float fWidth, float fLength)
{
    const NiPoint3 kWidthAxis = Scaled(kR, fWidth);
    const NiPoint3 kLengthAxis = Scaled(kF, fLength);
    pkVertices[0] = Sum(kP, kWidthAxis);
    for (uint16_t usIndex = 1; usIndex < ELLIPSE_VERTICES; usIndex++)
    {
        // The step in single precision, as the ellipse has always been drawn.
        const float fT = static_cast<float>(usIndex - 1) * 0.0055555557f * 3.1415927f * 2.0f;
        pkVertices[usIndex] =
            Sum(kP, Sum(Scaled(kWidthAxis, std::cos(fT)), Scaled(kLengthAxis, std::sin(fT))));
    }
}

void FiringArcGeometry::WhiteColors(NiColorA* pkColors, uint16_t usCount)
{
    for (uint16_t usIndex = 0; usIndex < usCount; usIndex++)
        pkColors[usIndex] = NiColorA(1.0f, 1.0f, 1.0f, 1.0f);
}

void FiringArcGeometry::AxisFlags(uint8_t* pucFlags)
{
    for (uint16_t usIndex = 0; usIndex < AXIS_VERTICES; usIndex++)
        pucFlags[usIndex] = usIndex % 2 == 0 ? 1 : 0;
}

void FiringArcGeometry::FrameFlags(uint8_t* pucFlags)
{
    // Four spokes (even vertices up to 7 start one), then the loop K1, K4, K3, K2, K1.
    for (uint16_t usIndex = 0; usIndex < FRAME_VERTICES; usIndex++)
        pucFlags[usIndex] = (usIndex < 8 ? usIndex % 2 == 0 : usIndex < FRAME_VERTICES - 1) ? 1 : 0;
}

void FiringArcGeometry::EllipseFlags(uint8_t* pucFlags)
{
    for (uint16_t usIndex = 0; usIndex < ELLIPSE_VERTICES; usIndex++)
        pucFlags[usIndex] = 1;
}
