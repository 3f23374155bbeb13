#pragma once

#include "properties/ArcWeaponProperty.h"

#include <cstdint>
#include <optional>
#include <string>

// A pulse weapon mount: an energy weapon with a firing arc, an orientation, a cooldown time and a
// module name (a text stored, copied, saved and written, never interpreted). It fires unguided
// by default. The 3D view shows the firing-arc display with axis lines of the subsystem radius.
//
// Binary record: the firing-arc part (see ArcWeaponProperty), then the cooldown time (Float) and
// the module name (counted string; length 0 for none).
class PulseWeaponProperty : public ArcWeaponProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8135;

    explicit PulseWeaponProperty(int32_t iID = 0);

    static PulseWeaponProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<PulseWeaponProperty*>(pkObject)
                                                       : nullptr;
    }
    static PulseWeaponProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new PulseWeaponProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || ArcWeaponProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "PulseWeaponProperty"; }
    const char* GetPointerTypeName() const override { return "_p_PulseWeaponProperty"; }
    const char* GetShadowClassName() const override { return "PulseWeaponPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetCooldownTime() const { return m_fCooldownTime; }
    void SetCooldownTime(float fValue) { m_fCooldownTime = fValue; }
    // The stored text, or null when cleared; valid until the next change.
    const char* GetModuleName() const { return m_kModuleName ? m_kModuleName->c_str() : nullptr; }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetModuleName(const char* pcName);

private:
    float m_fCooldownTime = 0.3f;
    std::optional<std::string> m_kModuleName{std::string()};
};
