#include "scene/graph/NiWireframeProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiWireframeProperty, NiProperty);
NiImplementCreateObject(NiWireframeProperty);

NiWireframeProperty::NiWireframeProperty() = default;

NiRefPtr<NiWireframeProperty> NiWireframeProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiWireframeProperty>();
}

NiObject* NiWireframeProperty::MakeClone()
{
    NiWireframeProperty* pkClone = new NiWireframeProperty;
    CopyToClone(pkClone);
    return pkClone;
}

bool NiWireframeProperty::IsEquivalent(const NiObject* pkObject) const
{
    return NiProperty::IsEquivalent(pkObject) &&
           FlagsEqual(*static_cast<const NiWireframeProperty*>(pkObject), 1);
}

void NiWireframeProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiWireframeProperty"));
    kList.push_back(NiFieldString("m_bWireframe", GetWireframe()));
}
