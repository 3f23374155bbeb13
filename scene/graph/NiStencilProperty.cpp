#include "scene/graph/NiStencilProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiStencilProperty, NiProperty);
NiImplementCreateObject(NiStencilProperty);

namespace
{
constexpr const char* TEST_TEXTS[] = {
    "TEST_NEVER",   "TEST_LESS",     "TEST_EQUAL",        "TEST_LESSEQUAL",
    "TEST_GREATER", "TEST_NOTEQUAL", "TEST_GREATEREQUAL", "TEST_ALWAYS",
};

constexpr const char* ACTION_TEXTS[] = {
    "ACTION_KEEP", "ACTION_ZERO", "ACTION_REPLACE", "ACTION_INCREMENT", "ACTION_DECREMENT", "ACTION_INVERT",
};
} // namespace

NiStencilProperty::NiStencilProperty() = default;

NiRefPtr<NiStencilProperty> NiStencilProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiStencilProperty>();
}

NiObject* NiStencilProperty::MakeClone()
{
    NiStencilProperty* pkClone = new NiStencilProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiStencilProperty::CopyToClone(NiStencilProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_bEnable = m_bEnable;
    pkClone->m_eTest = m_eTest;
    pkClone->m_uiRef = m_uiRef;
    pkClone->m_uiMask = m_uiMask;
    pkClone->m_eFailAct = m_eFailAct;
    pkClone->m_eZFailAct = m_eZFailAct;
    pkClone->m_ePassAct = m_ePassAct;
}

void NiStencilProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_bEnable);
    kStream.Load(m_eTest);
    kStream.Load(m_uiRef);
    kStream.Load(m_uiMask);
    kStream.Load(m_eFailAct);
    kStream.Load(m_eZFailAct);
    kStream.Load(m_ePassAct);
}

void NiStencilProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_bEnable);
    kStream.Save(m_eTest);
    kStream.Save(m_uiRef);
    kStream.Save(m_uiMask);
    kStream.Save(m_eFailAct);
    kStream.Save(m_eZFailAct);
    kStream.Save(m_ePassAct);
}

bool NiStencilProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiStencilProperty& kOther = *static_cast<const NiStencilProperty*>(pkObject);
    return m_bEnable == kOther.m_bEnable && m_eTest == kOther.m_eTest && m_uiRef == kOther.m_uiRef &&
           m_uiMask == kOther.m_uiMask && m_eFailAct == kOther.m_eFailAct &&
           m_eZFailAct == kOther.m_eZFailAct && m_ePassAct == kOther.m_ePassAct;
}

void NiStencilProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiStencilProperty"));
    kList.push_back(NiFieldString("m_bEnable", m_bEnable));
    kList.push_back(NiFieldString("m_uiRef", m_uiRef));
    kList.push_back(NiFieldString("m_uiMask", m_uiMask));
    kList.push_back(EnumFieldString("m_eTest", m_eTest, TEST_TEXTS));
    kList.push_back(EnumFieldString("m_eFailAct", m_eFailAct, ACTION_TEXTS));
    kList.push_back(EnumFieldString("m_eZFailAct", m_eZFailAct, ACTION_TEXTS));
    kList.push_back(EnumFieldString("m_ePassAct", m_ePassAct, ACTION_TEXTS));
}
