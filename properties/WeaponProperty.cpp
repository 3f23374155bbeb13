#include "properties/WeaponProperty.h"

const SKFieldSet& WeaponProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&WeaponProperty::m_bDumbfire>("Dumbfire").Record(0).Script(0, "SetDumbfire"),
        F::Member<&WeaponProperty::m_iWeaponID>("WeaponID").Record(1).Script(1, "SetWeaponID"),
        F::Member<&WeaponProperty::m_fDamageRadiusFactor>("DamageRadiusFactor")
            .Record(3)
            .Script(3, "SetDamageRadiusFactor"),
        // The page shows bits 0 to 4 as the groups 1 to 5; each box changes its own bit only, so
        // groups above 5 that a script set stay.
        F::Member<&WeaponProperty::m_iGroups>("Groups").Record(2).Script(2, "SetGroups"),
        F::Member<&WeaponProperty::m_bIconAboveShip>("IconAboveShip").Record(7).Script(7, "SetIconAboveShip"),
        F::Member<&WeaponProperty::m_fIconPositionX>("IconPositionX").Record(5).Script(5, "SetIconPositionX"),
        F::Member<&WeaponProperty::m_fIconPositionY>("IconPositionY").Record(6).Script(6, "SetIconPositionY"),
        F::Member<&WeaponProperty::m_iIconNum>("IconNum")
            .Record(4)
            .Script(4, "SetIconNum")
            .Page(F::AS_STORED, 0.0f),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

bool WeaponProperty::IsMemberOfGroup(int32_t iGroup) const
{
    if (iGroup == 0)
        return true;
    // Unsigned arithmetic: group -2^31 must not overflow on the way to its bit.
    const uint32_t uiBit = (static_cast<uint32_t>(iGroup) - 1u) & 31u;
    return (static_cast<uint32_t>(m_iGroups) >> uiBit & 1u) != 0;
}
