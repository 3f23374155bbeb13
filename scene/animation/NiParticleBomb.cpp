#include "scene/animation/NiParticleBomb.h"

#include <algorithm>
#include <cmath>

NiImplementRTTI(NiParticleBomb, NiForce);
NiImplementCreateObject(NiParticleBomb);

bool NiParticleBomb::Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float fAppTime)
{
    const float fFrom = std::max(m_fStart, fAppTime - fTime);
    const float fTo = std::min(m_fStart + m_fDuration, fAppTime);
    if (!(fTo - fFrom > 0.0f))
        return false;

    const NiPoint3 kR = kPosition - m_kWorkingPosition;
    const float fLength = kR.Length();
    if (m_uiDecayType != DECAY_NONE && fLength > m_fDecay)
        return false;

    NiPoint3 kU;
    float fDistance;
    if (m_uiSymmetryType == SPHERICAL)
    {
        // At the centre there is no direction to push along.
        kU = fLength != 0.0f ? kR * (1.0f / fLength) : NiPoint3(0.0f, 0.0f, 0.0f);
        fDistance = fLength;
    }
    else if (m_uiSymmetryType == PLANAR)
    {
        const float fHeight = kR.DotProduct(m_kWorkingDirection);
        kU = fHeight >= 0.0f ? m_kWorkingDirection : m_kWorkingDirection * -1.0f;
        fDistance = fHeight >= 0.0f ? fHeight : -fHeight;
    }
    else
    {
        const NiPoint3 kQ = kR - m_kWorkingDirection * kR.DotProduct(m_kWorkingDirection);
        fDistance = kQ.Length();
        kU = fDistance != 0.0f ? kQ * (1.0f / fDistance) : kQ;
    }

    // A decay of 0 or below has no reach to fall off over.
    float fFalloff = 1.0f;
    if (m_fDecay > 0.0f && m_uiDecayType == DECAY_LINEAR)
        fFalloff = (m_fDecay - fDistance) / m_fDecay;
    else if (m_fDecay > 0.0f && m_uiDecayType == DECAY_EXPONENTIAL)
        fFalloff = std::exp(-fDistance / m_fDecay);
    kVelocity = kVelocity + kU * (fFalloff * m_fDeltaV * (fTo - fFrom));
    return false;
}

void NiParticleBomb::Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG)
{
    m_kWorkingPosition = (kM * m_kWorkingPosition) * fG + kD;
    m_kWorkingDirection = kM * m_kWorkingDirection;
}

void NiParticleBomb::Reset()
{
    m_kWorkingPosition = m_kPosition;
    m_kWorkingDirection = m_kDirection;
}
