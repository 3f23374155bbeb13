#include "scene/animation/NiSphericalCollider.h"

#include <cmath>

NiImplementRTTI(NiSphericalCollider, NiForce);
NiImplementCreateObject(NiSphericalCollider);

bool NiSphericalCollider::Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float)
{
    const NiPoint3 kD = m_kWorkingCenter - kPosition;
    const float fE = kD.Length();
    // Riding on the surface: only the tangential velocity stays.
    if (m_fRadius - 0.001f < fE && fE < m_fRadius + 0.001f)
    {
        const NiPoint3 kN = kD * (1.0f / fE);
        kVelocity = kVelocity - kN * kVelocity.DotProduct(kN);
        return true;
    }

    const NiPoint3 kPath = kVelocity * fTime;
    const float fPath = kPath.Length();
    if (fPath <= 0.001f)
        return false;
    const NiPoint3 kU = kPath * (1.0f / fPath);
    const float fW = kU.DotProduct(kD);
    const float fF = kD.SqrLength();
    const bool bOutside = fF >= m_fRadiusSquared;
    if (fW < 0.0f && bOutside)
        return false;
    const float fI = m_fRadiusSquared - fF + fW * fW;
    if (fI < 0.0f && bOutside)
        return false;
    const float fRoot = std::sqrt(fI > 0.0f ? fI : 0.0f);
    const float fG = bOutside ? fW - fRoot : fW + fRoot;
    if (fPath < fG)
        return false;

    const NiPoint3 kContact = kPosition + kU * fG;
    fTime = fTime - fTime * (fG / fPath);
    NiPoint3 kN = (kContact - m_kWorkingCenter) * (1.0f / m_fRadius);
    if (!bOutside)
        kN = kN * -1.0f;
    kVelocity = (kVelocity - kN * (2.0f * kVelocity.DotProduct(kN))) * m_fBounce;
    kPosition = kContact;
    return true;
}

void NiSphericalCollider::Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG)
{
    m_kWorkingCenter = (kM * m_kWorkingCenter) * fG + kD;
}

void NiSphericalCollider::Reset()
{
    m_kWorkingCenter = m_kCenter;
}
