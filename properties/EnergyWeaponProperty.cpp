#include "properties/EnergyWeaponProperty.h"

const SKFieldSet& EnergyWeaponProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&EnergyWeaponProperty::m_kFireSound>("FireSound").Record(6).Script(0, "SetFireSound"),
        F::Member<&EnergyWeaponProperty::m_fMaxCharge>("MaxCharge").Record(0).Script(1, "SetMaxCharge"),
        F::Member<&EnergyWeaponProperty::m_fMaxDamage>("MaxDamage").Record(4).Script(2, "SetMaxDamage"),
        F::Member<&EnergyWeaponProperty::m_fMaxDamageDistance>("MaxDamageDistance")
            .Record(5)
            .Script(3, "SetMaxDamageDistance"),
        F::Member<&EnergyWeaponProperty::m_fMinFiringCharge>("MinFiringCharge")
            .Record(3)
            .Script(4, "SetMinFiringCharge"),
        F::Member<&EnergyWeaponProperty::m_fNormalDischargeRate>("NormalDischargeRate")
            .Record(2)
            .Script(5, "SetNormalDischargeRate"),
        F::Member<&EnergyWeaponProperty::m_fRechargeRate>("RechargeRate")
            .Record(1)
            .Script(6, "SetRechargeRate"),
        F::Member<&EnergyWeaponProperty::m_iIndicatorIconNum>("IndicatorIconNum")
            .Record(7)
            .Script(7, "SetIndicatorIconNum")
            .Page(F::AS_STORED, 0.0f),
        F::Member<&EnergyWeaponProperty::m_fIndicatorIconPositionX>("IndicatorIconPositionX")
            .Record(8)
            .Script(8, "SetIndicatorIconPositionX"),
        F::Member<&EnergyWeaponProperty::m_fIndicatorIconPositionY>("IndicatorIconPositionY")
            .Record(9)
            .Script(9, "SetIndicatorIconPositionY"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}
