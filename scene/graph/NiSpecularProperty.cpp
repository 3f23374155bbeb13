#include "scene/graph/NiSpecularProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiSpecularProperty, NiProperty);
NiImplementCreateObject(NiSpecularProperty);

NiSpecularProperty::NiSpecularProperty() = default;

NiRefPtr<NiSpecularProperty> NiSpecularProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiSpecularProperty>();
}

NiObject* NiSpecularProperty::MakeClone()
{
    NiSpecularProperty* pkClone = new NiSpecularProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiSpecularProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiSpecularProperty*>(pkObject), 1);
}

void NiSpecularProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiSpecularProperty"));
    kList.push_back(NiFieldString("m_bSpec", GetSpecular()));
}
