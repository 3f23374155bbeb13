#include "scene/graph/NiFogProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiFogProperty, NiProperty);
NiImplementCreateObject(NiFogProperty);

namespace
{
constexpr const char* FUNCTION_TEXTS[] = {"FOG_Z_LINEAR", "FOG_RANGE_SQ", "FOG_VERTEX_ALPHA"};

// The switch and the function: bits 1, 3 and 4.
constexpr uint16_t COMPARED_FLAGS =
    (1 << NiFogProperty::FOG_BIT) | (NiFogProperty::FUNCTION_MASK << NiFogProperty::FUNCTION_SHIFT);
} // namespace

NiFogProperty::NiFogProperty() = default;

NiRefPtr<NiFogProperty> NiFogProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiFogProperty>();
}

NiObject* NiFogProperty::MakeClone()
{
    NiFogProperty* pkClone = new NiFogProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiFogProperty::CopyToClone(NiFogProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_fDepth = m_fDepth;
    pkClone->m_color = m_color;
}

void NiFogProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_fDepth);
    kStream.Load(m_color);
}

void NiFogProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_fDepth);
    kStream.Save(m_color);
}

bool NiFogProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiFogProperty& kOther = *static_cast<const NiFogProperty*>(pkObject);
    return FlagsEqual(kOther, COMPARED_FLAGS) && m_fDepth == kOther.m_fDepth && m_color == kOther.m_color;
}

void NiFogProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiFogProperty"));
    kList.push_back(NiFieldString("m_bFog", GetFog()));
    kList.push_back(NiFieldString("m_fDepth", m_fDepth));
    kList.push_back(EnumFieldString("m_uiFunc", GetFogFunction(), FUNCTION_TEXTS));
    kList.push_back(m_color.GetFieldString("m_color"));
}
