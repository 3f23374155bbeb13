#include "scene/graph/NiAlphaProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiAlphaProperty, NiProperty);
NiImplementCreateObject(NiAlphaProperty);

namespace
{
constexpr const char* BLEND_TEXTS[] = {
    "ALPHA_ONE",       "ALPHA_ZERO",         "ALPHA_SRCCOLOR",    "ALPHA_INVSRCCOLOR",
    "ALPHA_DESTCOLOR", "ALPHA_INVDESTCOLOR", "ALPHA_SRCALPHA",    "ALPHA_INVSRCALPHA",
    "ALPHA_DESTALPHA", "ALPHA_INVDESTALPHA", "ALPHA_SRCALPHASAT",
};

// Every bit but no-sort (13) and the meaningless 14-15.
constexpr uint16_t COMPARED_FLAGS = 0x1FFF;
} // namespace

NiAlphaProperty::NiAlphaProperty()
{
    SetSrcBlendMode(ALPHA_SRCALPHA);
    SetDestBlendMode(ALPHA_INVSRCALPHA);
}

NiRefPtr<NiAlphaProperty> NiAlphaProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiAlphaProperty>();
}

std::string NiAlphaProperty::BlendFieldString(const char* pcName, uint32_t uiMode)
{
    return EnumFieldString(pcName, uiMode, BLEND_TEXTS);
}

NiObject* NiAlphaProperty::MakeClone()
{
    NiAlphaProperty* pkClone = new NiAlphaProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiAlphaProperty::CopyToClone(NiAlphaProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_ucTestRef = m_ucTestRef;
}

void NiAlphaProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_ucTestRef);
}

void NiAlphaProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_ucTestRef);
}

bool NiAlphaProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiAlphaProperty& kOther = *static_cast<const NiAlphaProperty*>(pkObject);
    return FlagsEqual(kOther, COMPARED_FLAGS) && m_ucTestRef == kOther.m_ucTestRef;
}

void NiAlphaProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiAlphaProperty"));
    kList.push_back(NiFieldString("m_bAlpha", GetAlphaBlending()));
    kList.push_back(BlendFieldString("m_destBlend", GetDestBlendMode()));
}
