#include "scene/graph/NiVertexColorProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiVertexColorProperty, NiProperty);
NiImplementCreateObject(NiVertexColorProperty);

namespace
{
constexpr const char* SOURCE_TEXTS[] = {"SOURCE_IGNORE", "SOURCE_EMISSIVE", "SOURCE_AMB_DIFF"};
constexpr const char* LIGHTING_TEXTS[] = {"LIGHTING_E", "LIGHTING_E_A_D"};
} // namespace

NiVertexColorProperty::NiVertexColorProperty() = default;

NiRefPtr<NiVertexColorProperty> NiVertexColorProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiVertexColorProperty>();
}

NiObject* NiVertexColorProperty::MakeClone()
{
    NiVertexColorProperty* pkClone = new NiVertexColorProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiVertexColorProperty::CopyToClone(NiVertexColorProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_eSource = m_eSource;
    pkClone->m_eLighting = m_eLighting;
}

void NiVertexColorProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_eSource);
    kStream.Load(m_eLighting);
}

void NiVertexColorProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_eSource);
    kStream.Save(m_eLighting);
}

bool NiVertexColorProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiVertexColorProperty& kOther = *static_cast<const NiVertexColorProperty*>(pkObject);
    return m_eSource == kOther.m_eSource && m_eLighting == kOther.m_eLighting;
}

void NiVertexColorProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiVertexColorProperty"));
    kList.push_back(EnumFieldString("m_eSource", m_eSource, SOURCE_TEXTS));
    kList.push_back(EnumFieldString("m_eLighting", m_eLighting, LIGHTING_TEXTS));
}
