#include "scene/graph/NiLight.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiLight, NiDynamicEffect);
NiImplementAbstractLoader(NiLight);

NiLight::NiLight() = default;

void NiLight::SetDimmer(float fDimmer)
{
    m_fDimmer = fDimmer;
    IncrementRevisionID();
}

void NiLight::SetAmbientColor(const NiColor& kColor)
{
    m_amb = kColor;
    IncrementRevisionID();
}

void NiLight::SetDiffuseColor(const NiColor& kColor)
{
    m_diff = kColor;
    IncrementRevisionID();
}

void NiLight::SetSpecularColor(const NiColor& kColor)
{
    m_spec = kColor;
    IncrementRevisionID();
}

void NiLight::LoadBinary(NiStream& kStream)
{
    NiDynamicEffect::LoadBinary(kStream);
    kStream.Load(m_fDimmer);
    kStream.Load(m_amb);
    kStream.Load(m_diff);
    kStream.Load(m_spec);
}

void NiLight::SaveBinary(NiStream& kStream)
{
    NiDynamicEffect::SaveBinary(kStream);
    kStream.Save(m_fDimmer);
    kStream.Save(m_amb);
    kStream.Save(m_diff);
    kStream.Save(m_spec);
}

bool NiLight::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiDynamicEffect::IsEquivalent(pkObject))
        return false;
    const NiLight* pkOther = static_cast<const NiLight*>(pkObject);
    return m_fDimmer == pkOther->m_fDimmer && m_amb == pkOther->m_amb && m_diff == pkOther->m_diff &&
           m_spec == pkOther->m_spec;
}

void NiLight::AddFieldStrings(NiFieldStringList& kList) const
{
    NiDynamicEffect::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiLight"));
    kList.push_back(NiFieldString("m_fDimmer", m_fDimmer));
    kList.push_back(m_amb.GetFieldString("m_amb"));
    kList.push_back(m_diff.GetFieldString("m_diff"));
    kList.push_back(m_spec.GetFieldString("m_spec"));
}

void NiLight::CopyToClone(NiLight* pkClone)
{
    NiDynamicEffect::CopyToClone(pkClone);
    pkClone->m_fDimmer = m_fDimmer;
    pkClone->m_amb = m_amb;
    pkClone->m_diff = m_diff;
    pkClone->m_spec = m_spec;
}
