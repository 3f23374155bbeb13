#include "properties/ShieldProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

namespace
{
// The facings in script order, with the names of the shadow class's constants.
constexpr const char* FACING_NAMES[ShieldProperty::NUM_SHIELDS] = {
    "FRONT_SHIELDS", "REAR_SHIELDS", "TOP_SHIELDS", "BOTTOM_SHIELDS", "LEFT_SHIELDS", "RIGHT_SHIELDS"};
} // namespace

ShieldProperty::ShieldProperty(int32_t iID) : PoweredSubsystemProperty(iID)
{
    m_afMaxShields.fill(1000.0f);
    m_afShieldChargePerSecond.fill(1.0f);
}

ShieldProperty* ShieldProperty::Create(const char* pcName)
{
    auto* pkProperty = new ShieldProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool ShieldProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_kShieldGlowColor.r);
    kStream.WriteFloat(m_kShieldGlowColor.g);
    kStream.WriteFloat(m_kShieldGlowColor.b);
    kStream.WriteFloat(m_kShieldGlowColor.a);
    kStream.WriteFloat(m_fShieldGlowDecay);
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
    {
        kStream.WriteFloat(m_afMaxShields[iFacing]);
        kStream.WriteFloat(m_afShieldChargePerSecond[iFacing]);
    }
    return true;
}

bool ShieldProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_kShieldGlowColor.r = kStream.ReadFloat();
    m_kShieldGlowColor.g = kStream.ReadFloat();
    m_kShieldGlowColor.b = kStream.ReadFloat();
    m_kShieldGlowColor.a = kStream.ReadFloat();
    m_fShieldGlowDecay = kStream.ReadFloat();
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
    {
        m_afMaxShields[iFacing] = kStream.ReadFloat();
        m_afShieldChargePerSecond[iFacing] = kStream.ReadFloat();
    }
    return !kCheck.Failed();
}

void ShieldProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.ColorA(pcVariable, "ShieldGlowColor", m_kShieldGlowColor);
    kWriter.Line(pcVariable, ".SetShieldGlowColor(", pcVariable, "ShieldGlowColor)");
    kWriter.Line(pcVariable, ".SetShieldGlowDecay(", m_fShieldGlowDecay, ")");
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
        kWriter.Line(pcVariable, ".SetMaxShields(", pcVariable, ".", FACING_NAMES[iFacing], ", ",
                     m_afMaxShields[iFacing], ")");
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
        kWriter.Line(pcVariable, ".SetShieldChargePerSecond(", pcVariable, ".", FACING_NAMES[iFacing], ", ",
                     m_afShieldChargePerSecond[iFacing], ")");
}

bool ShieldProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const ShieldProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetShieldGlowColor(pkSource->GetShieldGlowColor());
    SetShieldGlowDecay(pkSource->GetShieldGlowDecay());
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
    {
        SetMaxShields(iFacing, pkSource->GetMaxShields(iFacing));
        SetShieldChargePerSecond(iFacing, pkSource->GetShieldChargePerSecond(iFacing));
    }
    return true;
}
