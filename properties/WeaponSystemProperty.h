#pragma once

#include "core/SKString.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// The powered subsystem that controls a group of weapons of one kind: which kind, whether they
// fire one at a time, whether they must be aimed, and the order in which they fire (the firing
// chain). The torpedo system derives from it. It shows the subsystem's cross.
//
// Binary record: the powered-subsystem record, then WeaponSystemType (Long), SingleFire,
// AimedWeapon (Bool each) and the firing chain (SKString form). The type's script line names its
// constant through the variable (WST_UNKNOWN for any value outside the kinds); the firing chain
// goes through the shared script variable kFiringChainString.
class WeaponSystemProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(WeaponSystemProperty, PoweredSubsystemProperty, 0x812f)
    SK_PROPERTY_FIELDS(WeaponSystemProperty, PoweredSubsystemProperty)

public:
    // The kinds of weapon system; any other stored value counts as unknown.
    enum WeaponSystemType : int32_t
    {
        WST_UNKNOWN = 0,
        WST_PHASER = 1,
        WST_TORPEDO = 2,
        WST_PULSE = 3,
        WST_TRACTOR = 4,
    };

    explicit WeaponSystemProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    int32_t GetWeaponSystemType() const { return m_iWeaponSystemType; }
    void SetWeaponSystemType(int32_t iType) { m_iWeaponSystemType = iType; }
    bool IsSingleFire() const { return m_bSingleFire; }
    void SetSingleFire(bool bValue) { m_bSingleFire = bValue; }
    bool IsAimedWeapon() const { return m_bAimedWeapon; }
    void SetAimedWeapon(bool bValue) { m_bAimedWeapon = bValue; }
    SKString GetFiringChainString() const { return m_kFiringChain; }
    void SetFiringChainString(const SKString& kChain) { m_kFiringChain = kChain; }

    // The short name of a type's constant ("WST_PHASER" ...), "WST_UNKNOWN" for any other value.
    static const char* GetTypeConstantName(int32_t iType);

private:
    int32_t m_iWeaponSystemType = WST_UNKNOWN;
    bool m_bSingleFire = true;
    bool m_bAimedWeapon = false;
    SKString m_kFiringChain;
};
