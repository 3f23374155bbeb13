#include "scene/graph/NiSpotLight.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiSpotLight, NiPointLight);
NiImplementCreateObject(NiSpotLight);

NiSpotLight::NiSpotLight() = default;

NiSpotLight::~NiSpotLight()
{
    PurgeFromRenderers();
}

void NiSpotLight::SetSpotAngle(float fAngle)
{
    m_fSpotAngle = fAngle;
    IncrementRevisionID();
}

void NiSpotLight::SetSpotExponent(float fExponent)
{
    m_fSpotExponent = fExponent;
    IncrementRevisionID();
}

void NiSpotLight::UpdateWorldTransform()
{
    NiPointLight::UpdateWorldTransform();
    m_worldRotate.GetCol(0, m_wDir);
    IncrementRevisionID();
}

NiObject* NiSpotLight::MakeClone()
{
    NiSpotLight* pkClone = new NiSpotLight;
    CopyToClone(pkClone);
    return pkClone;
}

void NiSpotLight::CopyToClone(NiSpotLight* pkClone)
{
    NiPointLight::CopyToClone(pkClone);
    pkClone->m_wDir = m_wDir;
    pkClone->m_fSpotAngle = m_fSpotAngle;
    pkClone->m_fSpotExponent = m_fSpotExponent;
}

void NiSpotLight::LoadBinary(NiStream& kStream)
{
    NiPointLight::LoadBinary(kStream);
    kStream.Load(m_fSpotAngle);
    kStream.Load(m_fSpotExponent);
}

void NiSpotLight::SaveBinary(NiStream& kStream)
{
    NiPointLight::SaveBinary(kStream);
    kStream.Save(m_fSpotAngle);
    kStream.Save(m_fSpotExponent);
}

bool NiSpotLight::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiPointLight::IsEquivalent(pkObject))
        return false;
    const NiSpotLight* pkOther = static_cast<const NiSpotLight*>(pkObject);
    return m_fSpotAngle == pkOther->m_fSpotAngle && m_fSpotExponent == pkOther->m_fSpotExponent;
}

void NiSpotLight::AddFieldStrings(NiFieldStringList& kList) const
{
    NiPointLight::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiSpotLight"));
    kList.push_back(m_wDir.GetFieldString("m_wDir"));
    kList.push_back(NiFieldString("m_fSpotAngle", m_fSpotAngle));
    kList.push_back(NiFieldString("m_fSpotExponent", m_fSpotExponent));
}
