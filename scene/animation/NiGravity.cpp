#include "scene/animation/NiGravity.h"

#include <cmath>

NiImplementRTTI(NiGravity, NiForce);
NiImplementCreateObject(NiGravity);

bool NiGravity::Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float)
{
    constexpr float K = 0.16f;
    if (m_uiType == FORCE_SPHERICAL)
    {
        NiPoint3 kU = kPosition - m_kWorkingPosition;
        const float fLength = kU.Length();
        if (fLength != 0.0f)
            kU = kU * (1.0f / fLength);
        const float fFalloff = m_fDecay != 0.0f ? std::exp(-m_fDecay * fLength) : 1.0f;
        kVelocity = kVelocity - kU * (K * fTime * m_fStrength * fFalloff);
    }
    else
    {
        const float fFalloff =
            m_fDecay != 0.0f ? std::exp(-m_fDecay * m_kWorkingDirection.DotProduct(kPosition)) : 1.0f;
        kVelocity = kVelocity - m_kWorkingDirection * (K * fTime * m_fStrength * fFalloff);
    }
    return false;
}

void NiGravity::Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG)
{
    m_kWorkingPosition = (kM * m_kWorkingPosition) * fG + kD;
    m_kWorkingDirection = kM * m_kWorkingDirection;
}

void NiGravity::Reset()
{
    m_kWorkingPosition = m_kPosition;
    m_kWorkingDirection = m_kDirection;
}
