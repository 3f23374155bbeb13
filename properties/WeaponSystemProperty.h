#pragma once

#include "core/SKString.h"
#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>

// The powered subsystem that controls a group of weapons of one kind: which kind, whether they
// fire one at a time, whether they must be aimed, and the order in which they fire (the firing
// chain). The torpedo system derives from it. It shows the subsystem's cross.
//
// Binary record: the powered-subsystem record, then WeaponSystemType (Long), SingleFire,
// AimedWeapon (Bool each) and the firing chain (SKString form).
class WeaponSystemProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x812f;

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

    static WeaponSystemProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<WeaponSystemProperty*>(pkObject)
                                                       : nullptr;
    }
    static WeaponSystemProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new WeaponSystemProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "WeaponSystemProperty"; }
    const char* GetPointerTypeName() const override { return "_p_WeaponSystemProperty"; }
    const char* GetShadowClassName() const override { return "WeaponSystemPropertyPtr"; }

    // The type line names the type's constant through the variable (WST_UNKNOWN for any value
    // outside the kinds); the firing chain goes through the shared script variable
    // kFiringChainString.
    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

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
