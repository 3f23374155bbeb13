#include "scene/graph/NiOBBox.h"

#include "scene/graph/NiOBBRoot.h"
#include "scene/object/NiRotationMatrix.h"

#include <cmath>

namespace
{
float Sign(float fValue)
{
    return fValue > 0.0f ? 1.0f : (fValue < 0.0f ? -1.0f : 0.0f);
}

// The box's radius projected on the axis.
float ProjectedRadius(const NiOBBox& kBox, const NiPoint3& kAxis)
{
    float fRadius = 0.0f;
    for (int k = 0; k < 3; ++k)
        fRadius += std::fabs(kBox.m_afWorldExtent[k] * kBox.m_akWorldAxis[k].DotProduct(kAxis));
    return fRadius;
}

// The fifteen separating-axis candidates in their fixed order: A's axes, B's, then A_i x B_j.
NiPoint3 CandidateAxis(const NiOBBox& kA, const NiOBBox& kB, int iAxis)
{
    if (iAxis < 3)
        return kA.m_akWorldAxis[iAxis];
    if (iAxis < 6)
        return kB.m_akWorldAxis[iAxis - 3];
    int iCross = iAxis - 6;
    return kA.m_akWorldAxis[iCross / 3].Cross(kB.m_akWorldAxis[iCross % 3]);
}

const NiPoint3& VelocityOf(const NiOBBox& kBox)
{
    return kBox.m_pkOwner ? kBox.m_pkOwner->m_kVelocity : NiPoint3::ZERO;
}

float SpanOf(const NiOBBox& kBox)
{
    return kBox.m_pkOwner ? kBox.m_pkOwner->m_fSpan : 0.0f;
}
} // namespace

void NiOBBox::Transform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, float fScale)
{
    m_kWorldCenter = (kRotate * m_kModelCenter) * fScale + kTranslate;
    for (int k = 0; k < 3; ++k)
    {
        m_akWorldAxis[k] = kRotate * m_akModelAxis[k];
        m_afWorldExtent[k] = fScale * m_afModelExtent[k];
    }
}

bool NiOBBox::TestIntersect(const NiOBBox& kOther) const
{
    const NiPoint3 kD = kOther.m_kWorldCenter - m_kWorldCenter;
    const NiPoint3 kW = VelocityOf(kOther) - VelocityOf(*this);
    const float fSpan = SpanOf(*this);
    for (int iAxis = 0; iAxis < 15; ++iAxis)
    {
        NiPoint3 kAxis = CandidateAxis(*this, kOther, iAxis);
        float fStart = kAxis.DotProduct(kD);
        float fEnd = fStart + fSpan * kAxis.DotProduct(kW);
        float fRadius = ProjectedRadius(*this, kAxis) + ProjectedRadius(kOther, kAxis);
        if ((fStart > fRadius && fEnd > fRadius) || (fStart < -fRadius && fEnd < -fRadius))
            return false;
    }
    return true;
}

bool NiOBBox::FindIntersect(const NiOBBox& kOther, float& fTime, NiPoint3& kPoint) const
{
    const NiPoint3 kD = kOther.m_kWorldCenter - m_kWorldCenter;
    const NiPoint3 kW = VelocityOf(kOther) - VelocityOf(*this);
    const float fSpan = SpanOf(*this);
    float fFirst = 0.0f;
    int iContact = -1;
    float fSide = 0.0f;
    for (int iAxis = 0; iAxis < 15; ++iAxis)
    {
        NiPoint3 kAxis = CandidateAxis(*this, kOther, iAxis);
        float fStart = kAxis.DotProduct(kD);
        float fEnd = fStart + fSpan * kAxis.DotProduct(kW);
        float fRadius = ProjectedRadius(*this, kAxis) + ProjectedRadius(kOther, kAxis);
        float fCandidate = 0.0f;
        float fCandidateSide = 0.0f;
        if (fStart > fRadius)
        {
            if (fEnd > fRadius)
                return false;
            fCandidate = (fRadius - fStart) * fSpan / (fEnd - fStart);
            fCandidateSide = 1.0f;
        }
        else if (fStart < -fRadius)
        {
            if (fEnd < -fRadius)
                return false;
            fCandidate = (-fRadius - fStart) * fSpan / (fEnd - fStart);
            fCandidateSide = -1.0f;
        }
        else
            continue;
        if (fCandidate > fFirst)
        {
            fFirst = fCandidate;
            iContact = iAxis;
            fSide = fCandidateSide;
        }
    }
    fTime = fFirst;
    if (iContact < 0)
        return true;

    const NiPoint3 kCenterA = m_kWorldCenter + VelocityOf(*this) * fFirst;
    const NiPoint3 kCenterB = kOther.m_kWorldCenter + VelocityOf(kOther) * fFirst;
    const NiPoint3* akA = m_akWorldAxis;
    const NiPoint3* akB = kOther.m_akWorldAxis;
    const float* afA = m_afWorldExtent;
    const float* afB = kOther.m_afWorldExtent;
    if (iContact < 3)
    {
        // B's point that faces A.
        kPoint = kCenterB;
        for (int j = 0; j < 3; ++j)
            kPoint += akB[j] * (-fSide * Sign(akA[iContact].DotProduct(akB[j])) * afB[j]);
        return true;
    }
    if (iContact < 6)
    {
        int j = iContact - 3;
        kPoint = kCenterA;
        for (int i = 0; i < 3; ++i)
            kPoint += akA[i] * (fSide * Sign(akA[i].DotProduct(akB[j])) * afA[i]);
        return true;
    }
    // Edge against edge: the supporting edges along A_i and B_j, then the point of A's edge line
    // nearest B's.
    int i = (iContact - 6) / 3;
    int j = (iContact - 6) % 3;
    NiPoint3 kAxis = CandidateAxis(*this, kOther, iContact);
    NiPoint3 kMiddleA = kCenterA;
    NiPoint3 kMiddleB = kCenterB;
    for (int k = 0; k < 3; ++k)
    {
        if (k != i)
            kMiddleA += akA[k] * (fSide * Sign(akA[k].DotProduct(kAxis)) * afA[k]);
        if (k != j)
            kMiddleB += akB[k] * (-fSide * Sign(akB[k].DotProduct(kAxis)) * afB[k]);
    }
    NiPoint3 kQ = kMiddleB - kMiddleA;
    float fCos = akA[i].DotProduct(akB[j]);
    float fDenominator = 1.0f - fCos * fCos;
    float fAlong = std::fabs(fDenominator) <= SMALL
                       ? 0.0f
                       : (akA[i].DotProduct(kQ) - fCos * akB[j].DotProduct(kQ)) / fDenominator;
    kPoint = kMiddleA + akA[i] * fAlong;
    return true;
}

void NiOBBox::GetNormal(const NiPoint3& kPoint, NiPoint3& kNormal) const
{
    const float* afE = m_afWorldExtent;
    float fLength = std::sqrt(afE[0] * afE[0] + afE[1] * afE[1] + afE[2] * afE[2]);
    constexpr float FLAT = 0.0001f;
    if (fLength <= SMALL || afE[0] / fLength <= FLAT)
        kNormal = m_akWorldAxis[0];
    else if (afE[1] / fLength <= FLAT)
        kNormal = m_akWorldAxis[1];
    else if (afE[2] / fLength <= FLAT)
        kNormal = m_akWorldAxis[2];
    else
    {
        // The gradient of the box's inscribed ellipsoid through the point.
        NiPoint3 kOffset = kPoint - m_kWorldCenter;
        kNormal = NiPoint3::ZERO;
        for (int k = 0; k < 3; ++k)
            kNormal += m_akWorldAxis[k] * (kOffset.DotProduct(m_akWorldAxis[k]) / (afE[k] * afE[k]));
        float fNormalLength = kNormal.Length();
        kNormal = fNormalLength <= SMALL ? NiPoint3::ZERO : kNormal / fNormalLength;
    }
}

namespace
{
constexpr float RAY_LIMIT = 3.4e38f;
constexpr float RAY_PARALLEL = 1e-7f;

// The slab test over the three world axes; the axes that raised the lower end and lowered the
// upper end (-1 for none).
bool Slabs(const NiOBBox& kBox, const NiPoint3& kOrigin, const NiPoint3& kDirection, float& fLow,
           float& fHigh, int& iLowAxis, int& iHighAxis)
{
    fLow = -RAY_LIMIT;
    fHigh = RAY_LIMIT;
    iLowAxis = iHighAxis = -1;
    for (int k = 0; k < 3; ++k)
    {
        const NiPoint3& kAxis = kBox.m_akWorldAxis[k];
        float fDen = kAxis.DotProduct(kDirection);
        float fNum = kAxis.DotProduct(kBox.m_kWorldCenter - kOrigin);
        float fExtent = kBox.m_afWorldExtent[k];
        if (std::fabs(fDen) > RAY_PARALLEL)
        {
            float fNear = (fNum + fExtent) / fDen;
            float fFar = (fNum - fExtent) / fDen;
            if (fNear > fFar)
                std::swap(fNear, fFar);
            if (fNear > fLow)
            {
                fLow = fNear;
                iLowAxis = k;
            }
            if (fFar < fHigh)
            {
                fHigh = fFar;
                iHighAxis = k;
            }
            if (fLow > fHigh || fHigh < 0.0f)
                return false;
        }
        else if (std::fabs(fNum) > fExtent)
            return false;
    }
    return true;
}
} // namespace

bool NiOBBox::TestRay(const NiPoint3& kOrigin, const NiPoint3& kDirection) const
{
    float fLow, fHigh;
    int iLow, iHigh;
    return Slabs(*this, kOrigin, kDirection, fLow, fHigh, iLow, iHigh);
}

bool NiOBBox::FindRay(const NiPoint3& kOrigin, const NiPoint3& kDirection, float& fDistance,
                      NiPoint3& kNormal) const
{
    float fLow, fHigh;
    int iLow, iHigh;
    if (!Slabs(*this, kOrigin, kDirection, fLow, fHigh, iLow, iHigh))
        return false;
    int iAxis = iLow;
    fDistance = fLow;
    if (!(fLow > 0.0f))
    {
        if (iHigh < 0)
            return false;
        iAxis = iHigh;
        fDistance = fHigh;
    }
    if (iAxis < 0)
        return false;
    kNormal = m_akWorldAxis[iAxis];
    if (kNormal.DotProduct(kDirection) > 0.0f)
        kNormal = -kNormal;
    return true;
}
