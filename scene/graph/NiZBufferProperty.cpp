#include "scene/graph/NiZBufferProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiZBufferProperty, NiProperty);
NiImplementCreateObject(NiZBufferProperty);

NiZBufferProperty::NiZBufferProperty() = default;

NiRefPtr<NiZBufferProperty> NiZBufferProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiZBufferProperty>();
}

NiObject* NiZBufferProperty::MakeClone()
{
    NiZBufferProperty* pkClone = new NiZBufferProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiZBufferProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiZBufferProperty*>(pkObject), 3);
}

void NiZBufferProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiZBufferProperty"));
    kList.push_back(NiFieldString("m_bZTest", GetZBufferTest()));
    kList.push_back(NiFieldString("m_bZWrite", GetZBufferWrite()));
}
