#include "scene/graph/NiProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

#include <cstdio>
#include <cstring>

NiImplementRTTI(NiProperty, NiObjectNET);
NiImplementAbstractLoader(NiProperty);

NiProperty::NiProperty() = default;

NiProperty::~NiProperty() = default;

void NiProperty::SetField(uint16_t usValue, uint16_t usMask, uint16_t usShift)
{
    const uint32_t uiMask = uint32_t(usMask) << usShift;
    const uint32_t uiValue = (uint32_t(usValue) & usMask) << usShift;
    m_usFlags = static_cast<uint16_t>((m_usFlags & ~uiMask) | uiValue);
}

void NiProperty::SetBit(bool bValue, uint16_t usBit)
{
    SetField(bValue ? 1 : 0, 1, usBit);
}

void NiProperty::Update(float fTime)
{
    for (NiTimeController* pkController = GetControllers(); pkController;
         pkController = pkController->GetNext())
        pkController->Update(fTime);
}

void NiProperty::CopyToClone(NiProperty* pkClone)
{
    NiObjectNET::CopyToClone(pkClone);
    pkClone->m_usFlags = m_usFlags;
}

void NiProperty::LoadBinary(NiStream& kStream)
{
    NiObjectNET::LoadBinary(kStream);
    kStream.Load(m_usFlags);
}

void NiProperty::SaveBinary(NiStream& kStream)
{
    NiObjectNET::SaveBinary(kStream);
    kStream.Save(m_usFlags);
}

bool NiProperty::IsEquivalent(const NiObject* pkObject) const
{
    // Each class compares the flag bits it gives a meaning to.
    return NiObjectNET::IsEquivalent(pkObject);
}

void NiProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObjectNET::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiProperty"));
}

std::string NiProperty::EnumFieldString(const char* pcName, uint32_t uiValue,
                                        std::span<const char* const> kTexts)
{
    if (uiValue < kTexts.size())
        return std::string(pcName) + " = " + kTexts[uiValue];
    char acValue[32];
    std::snprintf(acValue, sizeof(acValue), "%u", uiValue);
    return std::string(pcName) + " = unknown value " + acValue;
}

bool NiProperty::IsVersionBefore(const NiStream& kStream, const char* pcGate)
{
    return std::strcmp(kStream.GetVersion(), pcGate) < 0;
}
