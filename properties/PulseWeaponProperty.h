#pragma once

#include "properties/ArcWeaponProperty.h"
#include "properties/SKPropertyClass.h"

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
    SK_PROPERTY_CLASS(PulseWeaponProperty, ArcWeaponProperty, 0x8135)
    SK_PROPERTY_FIELDS(PulseWeaponProperty, ArcWeaponProperty)

public:
    explicit PulseWeaponProperty(int32_t iID = 0);

    float GetCooldownTime() const { return m_fCooldownTime; }
    void SetCooldownTime(float fValue) { m_fCooldownTime = fValue; }
    // The stored text, or null when cleared; valid until the next change.
    const char* GetModuleName() const { return SKPropertyField::TextOf(m_kModuleName); }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetModuleName(const char* pcName) { SKPropertyField::SetText(m_kModuleName, pcName); }

private:
    float m_fCooldownTime = 0.3f;
    SKPropertyField::Text m_kModuleName{std::string()};
};
