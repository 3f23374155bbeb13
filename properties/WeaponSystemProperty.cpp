#include "properties/WeaponSystemProperty.h"

namespace
{
constexpr const char* TYPE_CONSTANTS[] = {"WST_UNKNOWN", "WST_PHASER", "WST_TORPEDO", "WST_PULSE",
                                          "WST_TRACTOR"};
} // namespace

const SKFieldSet& WeaponSystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static constexpr const char* CHOICES[] = {"Unknown", "Phaser", "Torpedo", "Pulse", "Tractor"};
    static const F FIELDS[] = {
        F::Member<&WeaponSystemProperty::m_iWeaponSystemType>("WeaponSystemType")
            .Record(0)
            .Script(0, "SetWeaponSystemType", F::CONSTANT)
            .Constants(TYPE_CONSTANTS, "WST_UNKNOWN")
            .Choices(CHOICES),
        F::Member<&WeaponSystemProperty::m_bSingleFire>("SingleFire").Record(1).Script(1, "SetSingleFire"),
        F::Member<&WeaponSystemProperty::m_bAimedWeapon>("AimedWeapon").Record(2).Script(2, "SetAimedWeapon"),
        F::Member<&WeaponSystemProperty::m_kFiringChain>("FiringChainString")
            .Record(3)
            .Script(3, "SetFiringChainString", F::SHARED, "kFiringChainString"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

const char* WeaponSystemProperty::GetTypeConstantName(int32_t iType)
{
    return GetFieldSet().Find("WeaponSystemType")->GetConstantName(iType);
}
