#include "scene/graph/NiTextureModeProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTextureModeProperty, NiProperty);
NiImplementCreateObject(NiTextureModeProperty);

namespace
{
constexpr const char* APPLY_TEXTS[] = {
    "APPLY_REPLACE",         "APPLY_DECAL",   "APPLY_MODULATE",
    "APPLY_MODULATE_VERTEX", "APPLY_HILIGHT", "APPLY_HILIGHT2",
};

constexpr const char* FILTER_TEXTS[] = {
    "FILTER_NEAREST",         "FILTER_BILERP",
    "FILTER_TRILERP",         "FILTER_NEAREST_MIPNEAREST",
    "FILTER_NEAREST_MIPLERP", "FILTER_BILERP_MIPNEAREST",
};

constexpr const char* CLAMP_TEXTS[] = {"CLAMP_S_CLAMP_T", "CLAMP_S_WRAP_T", "WRAP_S_CLAMP_T",
                                       "WRAP_S_WRAP_T"};

// Apply modes of files before "3.02" in today's numbering: the old list had three modulate
// variants (2-4) and no APPLY_MODULATE_VERTEX.
constexpr uint16_t OLD_APPLY_MODES[8] = {0, 1, 2, 2, 2, 4, 5, 7};

// Apply, filter and clamp.
constexpr uint16_t COMPARED_FLAGS = 0x00FF;
} // namespace

NiTextureModeProperty::NiTextureModeProperty()
{
    SetApplyMode(APPLY_MODULATE);
    SetFilterMode(FILTER_NEAREST);
    SetClampMode(WRAP_S_WRAP_T);
}

NiRefPtr<NiTextureModeProperty> NiTextureModeProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiTextureModeProperty>();
}

std::string NiTextureModeProperty::ApplyFieldString(const char* pcName, uint32_t uiMode)
{
    return EnumFieldString(pcName, uiMode, APPLY_TEXTS);
}

std::string NiTextureModeProperty::FilterFieldString(const char* pcName, uint32_t uiMode)
{
    return EnumFieldString(pcName, uiMode, FILTER_TEXTS);
}

std::string NiTextureModeProperty::ClampFieldString(const char* pcName, uint32_t uiMode)
{
    return EnumFieldString(pcName, uiMode, CLAMP_TEXTS);
}

NiObject* NiTextureModeProperty::MakeClone()
{
    NiTextureModeProperty* pkClone = new NiTextureModeProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTextureModeProperty::CopyToClone(NiTextureModeProperty* pkClone)
{
    NiProperty::CopyToClone(pkClone);
    pkClone->m_sL = m_sL;
    pkClone->m_sK = m_sK;
}

void NiTextureModeProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    if (IsVersionBefore(kStream, "3.02"))
        SetField(OLD_APPLY_MODES[GetField(APPLY_MASK, APPLY_SHIFT)], APPLY_MASK, APPLY_SHIFT);
    if (!IsVersionBefore(kStream, "3.04"))
    {
        kStream.Load(m_sL);
        kStream.Load(m_sK);
    }
}

void NiTextureModeProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_sL);
    kStream.Save(m_sK);
}

bool NiTextureModeProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiTextureModeProperty& kOther = *static_cast<const NiTextureModeProperty*>(pkObject);
    return FlagsEqual(kOther, COMPARED_FLAGS) && m_sL == kOther.m_sL && m_sK == kOther.m_sK;
}

void NiTextureModeProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTextureModeProperty"));
    kList.push_back(ApplyFieldString("m_apply", GetApplyMode()));
    kList.push_back(FilterFieldString("m_filter", GetFilterMode()));
    kList.push_back(ClampFieldString("m_clamp", GetClampMode()));
    kList.push_back(NiFieldString("m_sL", m_sL));
    kList.push_back(NiFieldString("m_sK", m_sK));
}
