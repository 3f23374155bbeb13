#include "scene/object/NiBoundingSphere.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>

NiBoundingSphere& NiBoundingSphere::operator=(const NiBoundingSphere& kOther)
{
    m_kCenter = kOther.m_kCenter;
    m_fRadius = kOther.m_fRadius;
    m_ucNotComputed = 0;
    return *this;
}

// ---- Construction, merging, transformation -------------------------------------------------

void NiBoundingSphere::ComputeFromData(int32_t iCount, const NiPoint3* pkPoints)
{
    if (iCount <= 0)
    {
        m_kCenter = NiPoint3::ZERO;
        m_fRadius = 0.0f;
        return;
    }

    NiPoint3 kMin = pkPoints[0];
    NiPoint3 kMax = pkPoints[0];
    for (int32_t i = 1; i < iCount; ++i)
    {
        const NiPoint3& kPoint = pkPoints[i];
        kMin = NiPoint3(std::min(kMin.x, kPoint.x), std::min(kMin.y, kPoint.y), std::min(kMin.z, kPoint.z));
        kMax = NiPoint3(std::max(kMax.x, kPoint.x), std::max(kMax.y, kPoint.y), std::max(kMax.z, kPoint.z));
    }
    m_kCenter = (kMin + kMax) * 0.5f;

    float fLargest = 0.0f;
    for (int32_t i = 0; i < iCount; ++i)
        fLargest = std::max(fLargest, (pkPoints[i] - m_kCenter).SqrLength());
    m_fRadius = std::sqrt(fLargest);
    m_ucNotComputed = 0;
}

void NiBoundingSphere::Merge(const NiBoundingSphere& kOther)
{
    const NiPoint3 kDiff = m_kCenter - kOther.m_kCenter;
    const float fLengthSquared = kDiff.SqrLength();
    const float fRadiusDiff = kOther.m_fRadius - m_fRadius;
    const float fRadiusDiffSquared = fRadiusDiff * fRadiusDiff;

    if (fRadiusDiffSquared >= fLengthSquared)
    {
        // One sphere holds the other.
        if (fRadiusDiff >= 0.0f)
        {
            m_kCenter = kOther.m_kCenter;
            m_fRadius = kOther.m_fRadius;
        }
        return;
    }

    const float fLength = std::sqrt(fLengthSquared);
    if (fLength > 1e-6f)
        m_kCenter = kOther.m_kCenter + kDiff * ((fLength - fRadiusDiff) / (2.0f * fLength));
    m_fRadius = (m_fRadius + kOther.m_fRadius + fLength) * 0.5f;
}

void NiBoundingSphere::MergeArray(const NiGrowArray<const NiBoundingSphere*>& kSpheres)
{
    bool bFirst = true;
    for (const NiBoundingSphere* pkSphere : kSpheres)
    {
        if (!pkSphere)
            continue;
        if (bFirst)
        {
            m_kCenter = pkSphere->m_kCenter;
            m_fRadius = pkSphere->m_fRadius;
            m_ucNotComputed = 0;
            bFirst = false;
        }
        else
        {
            Merge(*pkSphere);
        }
    }
}

void NiBoundingSphere::Update(const NiBoundingSphere& kModel, const NiRotationMatrix& kRotate,
                              const NiPoint3& kTranslate, float fScale)
{
    const NiPoint3 kCenter = (kRotate * kModel.m_kCenter) * fScale + kTranslate;
    m_fRadius = fScale * kModel.m_fRadius;
    m_kCenter = kCenter;
    m_ucNotComputed = 0;
}

// ---- Tests against planes and spheres ------------------------------------------------------

int32_t NiBoundingSphere::WhichSide(const NiPlane& kPlane) const
{
    const float fDistance = kPlane.m_kNormal.DotProduct(m_kCenter) - kPlane.m_fConstant;
    if (fDistance <= -m_fRadius)
        return NEGATIVE_SIDE;
    if (fDistance >= m_fRadius)
        return POSITIVE_SIDE;
    return NO_SIDE;
}

bool NiBoundingSphere::Contains(const NiBoundingSphere& kOther) const
{
    const float fDistance = (m_kCenter - kOther.m_kCenter).Length();
    return m_fRadius + 0.0001f >= fDistance + kOther.m_fRadius;
}

bool NiBoundingSphere::ContainedIn(const NiBoundingSphere& kOther) const
{
    const float fDistance = (m_kCenter - kOther.m_kCenter).Length();
    return kOther.m_fRadius + 0.0001f >= fDistance + m_fRadius;
}

// ---- Moving spheres ------------------------------------------------------------------------

namespace
{
// The relative motion of sphere 1 seen from sphere 0.
struct RelativeMotion
{
    NiPoint3 m_kVelocity;      // w = V1 - V0
    float m_fSpeedSquared;     // a = |w|^2
    NiPoint3 m_kOffset;        // D = c1 - c0
    float m_fDistanceSquared;  // u = |D|^2
    float m_fRadiusSum;        // R = r0 + r1
    float m_fRadiusSumSquared; // R^2
    float m_fApproach;         // b = D . w, negative while approaching

    RelativeMotion(const NiBoundingSphere& kSphere0, const NiPoint3& kVelocity0,
                   const NiBoundingSphere& kSphere1, const NiPoint3& kVelocity1)
        : m_kVelocity(kVelocity1 - kVelocity0), m_fSpeedSquared(m_kVelocity.SqrLength()),
          m_kOffset(kSphere1.m_kCenter - kSphere0.m_kCenter), m_fDistanceSquared(m_kOffset.SqrLength()),
          m_fRadiusSum(kSphere0.m_fRadius + kSphere1.m_fRadius),
          m_fRadiusSumSquared(m_fRadiusSum * m_fRadiusSum), m_fApproach(m_kOffset.DotProduct(m_kVelocity))
    {
    }

    bool Approaching() const { return m_fSpeedSquared > 0.0f && m_fApproach <= 0.0f; }
    // The squared distance of the centres at time fTime.
    float DistanceSquaredAt(float fTime) const
    {
        return m_fDistanceSquared + fTime * (m_fSpeedSquared * fTime + 2.0f * m_fApproach);
    }
};

void WriteTouchingNow(const NiBoundingSphere& kSphere0, const NiBoundingSphere& kSphere1,
                      const NiPoint3& kOffset, float& fIntrTime, NiPoint3& kIntrPoint, bool bCalcNormals,
                      NiPoint3& kNormal0, NiPoint3& kNormal1)
{
    fIntrTime = 0.0f;
    kIntrPoint = (kSphere0.m_kCenter + kSphere1.m_kCenter) * 0.5f;
    if (bCalcNormals)
    {
        kNormal0 = kOffset;
        kNormal0.Unitize();
        kNormal1 = -kNormal0;
    }
}
} // namespace

bool NiBoundingSphere::TestIntersect(float fTime, const NiBoundingSphere& kSphere0,
                                     const NiPoint3& kVelocity0, const NiBoundingSphere& kSphere1,
                                     const NiPoint3& kVelocity1)
{
    const RelativeMotion kMotion(kSphere0, kVelocity0, kSphere1, kVelocity1);
    if (!kMotion.Approaching())
        return kMotion.m_fDistanceSquared <= kMotion.m_fRadiusSumSquared;

    const float fA = kMotion.m_fSpeedSquared;
    const float fB = kMotion.m_fApproach;
    if (fB < -fA * fTime)
    {
        // The closest approach comes after the time span: test its end.
        return kMotion.DistanceSquaredAt(fTime) <= kMotion.m_fRadiusSumSquared;
    }
    return fA * kMotion.m_fRadiusSumSquared >= fA * kMotion.m_fDistanceSquared - fB * fB;
}

bool NiBoundingSphere::FindIntersect(float fTime, const NiBoundingSphere& kSphere0,
                                     const NiPoint3& kVelocity0, const NiBoundingSphere& kSphere1,
                                     const NiPoint3& kVelocity1, float& fIntrTime, NiPoint3& kIntrPoint,
                                     bool bCalcNormals, NiPoint3& kNormal0, NiPoint3& kNormal1)
{
    const RelativeMotion kMotion(kSphere0, kVelocity0, kSphere1, kVelocity1);
    if (!kMotion.Approaching())
    {
        if (kMotion.m_fDistanceSquared > kMotion.m_fRadiusSumSquared)
            return false;
        WriteTouchingNow(kSphere0, kSphere1, kMotion.m_kOffset, fIntrTime, kIntrPoint, bCalcNormals, kNormal0,
                         kNormal1);
        return true;
    }

    const float fA = kMotion.m_fSpeedSquared;
    const float fB = kMotion.m_fApproach;
    if (fB < -fA * fTime && kMotion.m_fRadiusSumSquared < kMotion.DistanceSquaredAt(fTime))
        return false;
    const float fGap = kMotion.m_fDistanceSquared - kMotion.m_fRadiusSumSquared;
    const float fDiscriminant = fB * fB - fA * fGap;
    if (fDiscriminant < 0.0f)
        return false;
    if (fGap <= 0.0f)
    {
        WriteTouchingNow(kSphere0, kSphere1, kMotion.m_kOffset, fIntrTime, kIntrPoint, bCalcNormals, kNormal0,
                         kNormal1);
        return true;
    }

    float fFirst = -(fB + std::sqrt(fDiscriminant)) / fA;
    if (fFirst < 0.0f)
        fFirst = 0.0f;
    else if (fFirst > fTime)
        fFirst = fTime;
    const NiPoint3 kOffsetAtFirst = kMotion.m_kOffset + kMotion.m_kVelocity * fFirst;
    // Point spheres (both radii 0) meet at their common centre.
    const float fFraction = kMotion.m_fRadiusSum > 0.0f ? kSphere0.m_fRadius / kMotion.m_fRadiusSum : 0.5f;
    fIntrTime = fFirst;
    kIntrPoint = kSphere0.m_kCenter + kVelocity0 * fFirst + kOffsetAtFirst * fFraction;
    if (bCalcNormals)
    {
        kNormal0 = kOffsetAtFirst;
        kNormal0.Unitize();
        kNormal1 = -kNormal0;
    }
    return true;
}

std::string NiBoundingSphere::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%f,%f,%f) , %f", pcName, double(m_kCenter.x), double(m_kCenter.y),
                     double(m_kCenter.z), double(m_fRadius));
}

void NiBoundingSphere::LoadBinary(NiStream& kStream)
{
    m_kCenter.LoadBinary(kStream);
    kStream.Load(m_fRadius);
}

void NiBoundingSphere::SaveBinary(NiStream& kStream) const
{
    m_kCenter.SaveBinary(kStream);
    kStream.Save(m_fRadius);
}
