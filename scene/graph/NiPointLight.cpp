#include "scene/graph/NiPointLight.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiPointLight, NiLight);
NiImplementCreateObject(NiPointLight);

NiPointLight::NiPointLight() = default;

NiPointLight::~NiPointLight()
{
    PurgeFromRenderers();
}

void NiPointLight::SetConstantAttenuation(float fAtten)
{
    m_fAtten0 = fAtten;
    IncrementRevisionID();
}

void NiPointLight::SetLinearAttenuation(float fAtten)
{
    m_fAtten1 = fAtten;
    IncrementRevisionID();
}

void NiPointLight::SetQuadraticAttenuation(float fAtten)
{
    m_fAtten2 = fAtten;
    IncrementRevisionID();
}

void NiPointLight::UpdateWorldTransform()
{
    NiLight::UpdateWorldTransform();
    IncrementRevisionID();
}

NiObject* NiPointLight::MakeClone()
{
    NiPointLight* pkClone = new NiPointLight;
    CopyToClone(pkClone);
    return pkClone;
}

void NiPointLight::CopyToClone(NiPointLight* pkClone)
{
    NiLight::CopyToClone(pkClone);
    pkClone->m_fAtten0 = m_fAtten0;
    pkClone->m_fAtten1 = m_fAtten1;
    pkClone->m_fAtten2 = m_fAtten2;
}

void NiPointLight::LoadBinary(NiStream& kStream)
{
    NiLight::LoadBinary(kStream);
    kStream.Load(m_fAtten0);
    kStream.Load(m_fAtten1);
    kStream.Load(m_fAtten2);
}

void NiPointLight::SaveBinary(NiStream& kStream)
{
    NiLight::SaveBinary(kStream);
    kStream.Save(m_fAtten0);
    kStream.Save(m_fAtten1);
    kStream.Save(m_fAtten2);
}

bool NiPointLight::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiLight::IsEquivalent(pkObject))
        return false;
    const NiPointLight* pkOther = static_cast<const NiPointLight*>(pkObject);
    return m_fAtten0 == pkOther->m_fAtten0 && m_fAtten1 == pkOther->m_fAtten1 &&
           m_fAtten2 == pkOther->m_fAtten2;
}

void NiPointLight::AddFieldStrings(NiFieldStringList& kList) const
{
    NiLight::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiPointLight"));
    kList.push_back(NiFieldString("m_fAtten0", m_fAtten0));
    kList.push_back(NiFieldString("m_fAtten1", m_fAtten1));
    kList.push_back(NiFieldString("m_fAtten2", m_fAtten2));
}
