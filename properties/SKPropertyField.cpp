#include "properties/SKPropertyField.h"

#include <cmath>

namespace
{
// The page conversions' constants, as floats.
constexpr float PI = 3.1415927f;
constexpr float ONE_180TH = 0.0055555557f;
constexpr float ONE_255TH = 0.003921569f;
constexpr float COLOR_BYTE_SLACK = 1e-3f;
} // namespace

SKPropertyField SKPropertyField::Record(int16_t iPlace) const
{
    SKPropertyField kField = *this;
    kField.m_iRecordPlace = iPlace;
    return kField;
}

SKPropertyField SKPropertyField::Script(int16_t iPlace, const char* pcSetter, ScriptForm eForm,
                                        const char* pcScriptName) const
{
    SKPropertyField kField = *this;
    kField.m_iScriptPlace = iPlace;
    kField.m_pcSetter = pcSetter;
    kField.m_eForm = eForm;
    kField.m_pcScriptName = pcScriptName;
    return kField;
}

SKPropertyField SKPropertyField::Constants(std::span<const char* const> kNames, const char* pcOther) const
{
    SKPropertyField kField = *this;
    kField.m_kConstants = kNames;
    kField.m_pcOtherConstant = pcOther;
    return kField;
}

SKPropertyField SKPropertyField::ScriptGetter(const char* pcGetter) const
{
    SKPropertyField kField = *this;
    kField.m_pcGetter = pcGetter;
    kField.m_bNoGetter = pcGetter == nullptr;
    return kField;
}

SKPropertyField SKPropertyField::Page(Unit eUnit, float fMinimum, float fMaximum) const
{
    SKPropertyField kField = *this;
    kField.m_eUnit = eUnit;
    kField.m_fMinimum = fMinimum;
    kField.m_fMaximum = fMaximum;
    return kField;
}

SKPropertyField SKPropertyField::Choices(std::span<const char* const> kLabels) const
{
    SKPropertyField kField = *this;
    kField.m_kChoices = kLabels;
    kField.m_fMinimum = -1.0f;
    kField.m_fMaximum = static_cast<float>(kLabels.size()) - 1.0f;
    return kField;
}

std::string SKPropertyField::GetScriptGetter() const
{
    if (m_bNoGetter)
        return std::string();
    if (m_pcGetter)
        return m_pcGetter;
    return std::string(m_eType == BOOL ? "Is" : "Get") + m_pcName;
}

const char* SKPropertyField::GetConstantName(int32_t iValue) const
{
    if (iValue >= 0 && static_cast<size_t>(iValue) < m_kConstants.size())
        return m_kConstants[static_cast<size_t>(iValue)];
    return m_pcOtherConstant;
}

void SKPropertyField::SetText(Text& kText, const char* pcText)
{
    // Copied before the old text goes.
    Text kCopy = pcText ? Text(pcText) : Text();
    kText = std::move(kCopy);
}

bool SKPropertyField::Set(SKModelProperty& kProperty, const Value& kValue) const
{
    static constexpr Type TYPE_OF_INDEX[] = {BOOL, INT, FLOAT, POINT3, COLOR, TEXT, STRING};
    if (TYPE_OF_INDEX[kValue.index()] != m_eType)
        return false;
    m_pfnSet(kProperty, kValue);
    return true;
}

float SKPropertyField::ToPage(float fStored, Unit eUnit, int32_t iComponent)
{
    switch (eUnit)
    {
    case DEGREES:
        return fStored * 180.0f / PI;
    case COLOR_BYTES:
        // A script keeps six decimals, which puts a written k/255 up to 1.3e-4 below k: a
        // component within a thousandth of a whole number shows as that number.
        return std::floor(fStored * 255.0f + COLOR_BYTE_SLACK);
    case COLOR_RGB_SCALED:
        return iComponent == 3 ? fStored : fStored * 255.0f;
    default:
        return fStored;
    }
}

float SKPropertyField::FromPage(float fShown, Unit eUnit, int32_t iComponent)
{
    switch (eUnit)
    {
    case DEGREES:
        return fShown * PI * ONE_180TH;
    case COLOR_BYTES:
        return fShown * ONE_255TH;
    case COLOR_RGB_SCALED:
        return iComponent == 3 ? fShown : fShown * ONE_255TH;
    default:
        return fShown;
    }
}
