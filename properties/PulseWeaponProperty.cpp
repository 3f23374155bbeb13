#include "properties/PulseWeaponProperty.h"

PulseWeaponProperty::PulseWeaponProperty(int32_t iID) : ArcWeaponProperty(iID)
{
    SetDumbfire(true);
    SetDamageRadiusFactor(0.3f);
}

const SKFieldSet& PulseWeaponProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&PulseWeaponProperty::m_fCooldownTime>("CooldownTime")
            .Record(10)
            .Script(30, "SetCooldownTime"),
        F::Member<&PulseWeaponProperty::m_kModuleName>("ModuleName").Record(11).Script(31, "SetModuleName"),
    };
    static const SKFieldSet s_kSet({ArcFields(), FIELDS});
    return s_kSet;
}
