#include "scene/graph/NiDitherProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiDitherProperty, NiProperty);
NiImplementCreateObject(NiDitherProperty);

NiDitherProperty::NiDitherProperty() = default;

NiRefPtr<NiDitherProperty> NiDitherProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiDitherProperty>();
}

NiObject* NiDitherProperty::MakeClone()
{
    NiDitherProperty* pkClone = new NiDitherProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiDitherProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiDitherProperty*>(pkObject), 1);
}

void NiDitherProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiDitherProperty"));
    kList.push_back(NiFieldString("m_bDither", GetDither()));
}
