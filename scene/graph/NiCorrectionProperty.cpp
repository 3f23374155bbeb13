#include "scene/graph/NiCorrectionProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiCorrectionProperty, NiProperty);
NiImplementCreateObject(NiCorrectionProperty);

NiCorrectionProperty::NiCorrectionProperty()
{
    SetCorrect(true);
}

NiRefPtr<NiCorrectionProperty> NiCorrectionProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiCorrectionProperty>();
}

NiObject* NiCorrectionProperty::MakeClone()
{
    NiCorrectionProperty* pkClone = new NiCorrectionProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiCorrectionProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiCorrectionProperty*>(pkObject), 1);
}

void NiCorrectionProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiCorrectionProperty"));
    kList.push_back(NiFieldString("m_bCorrect", GetCorrect()));
}
