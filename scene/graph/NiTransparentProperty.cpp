#include "scene/graph/NiTransparentProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTransparentProperty, NiProperty);
NiImplementCreateObject(NiTransparentProperty);

NiTransparentProperty::NiTransparentProperty() = default;

NiRefPtr<NiTransparentProperty> NiTransparentProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiTransparentProperty>();
}

NiObject* NiTransparentProperty::MakeClone()
{
    NiTransparentProperty* pkClone = new NiTransparentProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTransparentProperty::CopyToClone(NiTransparentProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_uiColor = m_uiColor;
}

void NiTransparentProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_uiColor);
}

void NiTransparentProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_uiColor);
}

bool NiTransparentProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiTransparentProperty& kOther = *static_cast<const NiTransparentProperty*>(pkObject);
    return FlagsEqual(kOther, 1) && m_uiColor == kOther.m_uiColor;
}

void NiTransparentProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTransparentProperty"));
    kList.push_back(NiFieldString("m_bTransparent", GetTransparent()));
    kList.push_back(NiFieldString("m_uiColor", m_uiColor));
}
