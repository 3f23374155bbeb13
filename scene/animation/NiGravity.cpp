#include "scene/animation/NiGravity.h"

#include "scene/object/NiStream.h"

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

NiObject* NiGravity::MakeClone()
{
    NiGravity* pkClone = new NiGravity;
    pkClone->m_fDecay = m_fDecay;
    pkClone->m_fStrength = m_fStrength;
    pkClone->m_uiType = m_uiType;
    pkClone->m_kPosition = m_kPosition;
    pkClone->m_kDirection = m_kDirection;
    pkClone->m_kWorkingPosition = m_kWorkingPosition;
    pkClone->m_kWorkingDirection = m_kWorkingDirection;
    CopyToClone(pkClone);
    return pkClone;
}

void NiGravity::LoadBinary(NiStream& kStream)
{
    NiForce::LoadBinary(kStream);
    kStream.Load(m_fDecay);
    kStream.Load(m_fStrength);
    kStream.Load(m_uiType);
    m_kPosition.LoadBinary(kStream);
    m_kDirection.LoadBinary(kStream);
    Reset();
}

void NiGravity::SaveBinary(NiStream& kStream)
{
    NiForce::SaveBinary(kStream);
    kStream.Save(m_fDecay);
    kStream.Save(m_fStrength);
    kStream.Save(m_uiType);
    m_kPosition.SaveBinary(kStream);
    m_kDirection.SaveBinary(kStream);
}

bool NiGravity::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiForce::IsEquivalent(pkObject))
        return false;
    const NiGravity* pkOther = static_cast<const NiGravity*>(pkObject);
    return m_fDecay == pkOther->m_fDecay && m_fStrength == pkOther->m_fStrength &&
           m_uiType == pkOther->m_uiType && m_kPosition == pkOther->m_kPosition &&
           m_kDirection == pkOther->m_kDirection;
}
