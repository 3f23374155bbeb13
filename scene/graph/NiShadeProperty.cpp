#include "scene/graph/NiShadeProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiShadeProperty, NiProperty);
NiImplementCreateObject(NiShadeProperty);

NiShadeProperty::NiShadeProperty()
{
    SetSmooth(true);
}

NiRefPtr<NiShadeProperty> NiShadeProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiShadeProperty>();
}

NiObject* NiShadeProperty::MakeClone()
{
    NiShadeProperty* pkClone = new NiShadeProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiShadeProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiShadeProperty*>(pkObject), 1);
}

void NiShadeProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiShadeProperty"));
    kList.push_back(NiFieldString("m_bSmooth", GetSmooth()));
}
