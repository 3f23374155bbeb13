#include "scene/animation/NiPlanarCollider.h"

NiImplementRTTI(NiPlanarCollider, NiForce);
NiImplementCreateObject(NiPlanarCollider);

void NiPlanarCollider::SetGeometry(const NiPoint3& kPosition, const NiPoint3& kAxis1, const NiPoint3& kAxis2,
                                   const NiPoint3& kNormal, float fWidth, float fHeight)
{
    m_kPosition = kPosition;
    m_kAxis1 = kAxis1;
    m_kAxis2 = kAxis2;
    m_kNormal = kNormal;
    m_fWidth = fWidth;
    m_fHeight = fHeight;
    m_fConstant = -kNormal.DotProduct(kPosition);
    Reset();
}

bool NiPlanarCollider::Apply(NiPoint3& kPosition, NiPoint3& kVelocity, float& fTime, float)
{
    const float fA = m_kWorkingNormal.DotProduct(kPosition) + m_fWorkingConstant;
    const NiPoint3 kPath = kVelocity * fTime;
    const float fF = kPath.DotProduct(m_kWorkingNormal);
    if (-0.001f < fF && fF < 0.001f)
        return false;
    bool bSide;
    if (fF > 0.0f)
    {
        m_kWorkingNormal = m_kWorkingNormal * -1.0f;
        m_fWorkingConstant = -m_fWorkingConstant;
        bSide = fA <= 0.0f;
    }
    else
    {
        bSide = fA > 0.0f;
    }
    const float fU = -fA / fF;
    if (fU < 0.0f || fU > 1.0f)
        return false;

    NiPoint3 kContact = kPosition + kPath * fU;
    // Keep the contact on the side the particle came from.
    if (bSide != (m_kWorkingNormal.DotProduct(kContact) + m_fWorkingConstant > 0.0f))
        kContact = kContact + m_kWorkingNormal * (bSide ? 0.001f : -0.001f);

    const NiPoint3 kR = kContact - m_kWorkingPosition;
    const float fH = kR.DotProduct(m_kWorkingAxis1);
    const NiPoint3 kQ = kR - m_kWorkingAxis1 * fH;
    if ((fH < 0.0f ? -fH : fH) > m_fHeight * 0.5f || kQ.SqrLength() > m_fWidth * m_fWidth * 0.25f)
        return false;

    fTime = fTime - fU * fTime;
    kVelocity = (kVelocity - m_kWorkingNormal * (2.0f * kVelocity.DotProduct(m_kWorkingNormal))) * m_fBounce;
    kPosition = kContact;
    return true;
}

void NiPlanarCollider::Transform(const NiRotationMatrix& kM, const NiPoint3& kD, float fG)
{
    m_kWorkingPosition = (kM * m_kWorkingPosition) * fG + kD;
    m_kWorkingNormal = kM * m_kWorkingNormal;
    m_kWorkingAxis1 = kM * m_kWorkingAxis1;
    m_kWorkingAxis2 = kM * m_kWorkingAxis2;
    m_fWorkingConstant = -m_kWorkingNormal.DotProduct(m_kWorkingPosition);
}

void NiPlanarCollider::Reset()
{
    m_kWorkingPosition = m_kPosition;
    m_kWorkingAxis1 = m_kAxis1;
    m_kWorkingAxis2 = m_kAxis2;
    m_kWorkingNormal = m_kNormal;
    // The loaded constant with the loaded normal: a flipped or moved constant would describe
    // another plane.
    m_fWorkingConstant = m_fConstant;
}
