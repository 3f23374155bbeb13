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

const SKFieldSet& ShieldProperty::GetFieldSet()
{
    using F = SKPropertyField;
    // The facings' record values and lines are written by hand (interleaved in the record, the
    // facing's constant as first argument in the script); their declarations serve pages, copying
    // and comparing.
    static const F FIELDS[] = {
        F::Member<&ShieldProperty::m_fShieldGlowDecay>("ShieldGlowDecay")
            .Record(1)
            .Script(1, "SetShieldGlowDecay"),
        F::Member<&ShieldProperty::m_kShieldGlowColor>("ShieldGlowColor")
            .Record(0)
            .Script(0, "SetShieldGlowColor", F::VARIABLE, "ShieldGlowColor")
            .Page(F::COLOR_BYTES, 0.0f, 255.0f),
        F::Element<&ShieldProperty::m_afMaxShields, FRONT_SHIELDS>("MaxShieldsFront")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afMaxShields, REAR_SHIELDS>("MaxShieldsRear")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afMaxShields, TOP_SHIELDS>("MaxShieldsTop")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afMaxShields, BOTTOM_SHIELDS>("MaxShieldsBottom")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afMaxShields, LEFT_SHIELDS>("MaxShieldsLeft")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afMaxShields, RIGHT_SHIELDS>("MaxShieldsRight")
            .Script(-1, "SetMaxShields", F::NO_LINE)
            .ScriptGetter("GetMaxShields"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, FRONT_SHIELDS>("ShieldChargePerSecondFront")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, REAR_SHIELDS>("ShieldChargePerSecondRear")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, TOP_SHIELDS>("ShieldChargePerSecondTop")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, BOTTOM_SHIELDS>("ShieldChargePerSecondBottom")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, LEFT_SHIELDS>("ShieldChargePerSecondLeft")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
        F::Element<&ShieldProperty::m_afShieldChargePerSecond, RIGHT_SHIELDS>("ShieldChargePerSecondRight")
            .Script(-1, "SetShieldChargePerSecond", F::NO_LINE)
            .ScriptGetter("GetShieldChargePerSecond"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

bool ShieldProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    GetFieldSet().Save(*this, kStream);
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
    std::array<float, NUM_SHIELDS * 2> afFacings;
    if (!GetFieldSet().Load(*this, kStream))
        return false;
    for (float& fValue : afFacings)
        fValue = kStream.ReadFloat();
    if (kCheck.Failed())
        return false;
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
    {
        m_afMaxShields[iFacing] = afFacings[2 * iFacing];
        m_afShieldChargePerSecond[iFacing] = afFacings[2 * iFacing + 1];
    }
    return true;
}

void ShieldProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    GetFieldSet().WriteLines(*this, kWriter, pcVariable);
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
        kWriter.Line(pcVariable, ".SetMaxShields(", pcVariable, ".", FACING_NAMES[iFacing], ", ",
                     m_afMaxShields[iFacing], ")");
    for (int32_t iFacing = 0; iFacing < NUM_SHIELDS; iFacing++)
        kWriter.Line(pcVariable, ".SetShieldChargePerSecond(", pcVariable, ".", FACING_NAMES[iFacing], ", ",
                     m_afShieldChargePerSecond[iFacing], ")");
}
