#pragma once

#include "core/SKColorA.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <array>
#include <cstdint>

// The shield generator: the glow colour and its decay time, and per facing (front, rear, top,
// bottom, left, right) the shield strength and its charge per second.
//
// Binary record: the powered-subsystem record, then with Float: the glow colour (r, g, b, a), the
// glow decay, and per facing 0 to 5 its MaxShields followed by its ShieldChargePerSecond.
class ShieldProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_FIELD_COPY(ShieldProperty, PoweredSubsystemProperty)
    SK_PROPERTY_CLASS(ShieldProperty, PoweredSubsystemProperty, 0x8137)

public:
    enum Facing : int32_t
    {
        FRONT_SHIELDS = 0,
        REAR_SHIELDS = 1,
        TOP_SHIELDS = 2,
        BOTTOM_SHIELDS = 3,
        LEFT_SHIELDS = 4,
        RIGHT_SHIELDS = 5,
        NUM_SHIELDS = 6
    };

    explicit ShieldProperty(int32_t iID = 0);

    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;

    void WriteInit(SKStream& kStream, const char* pcVariable) override;

    static bool IsValidFacing(int32_t iFacing) { return iFacing >= 0 && iFacing < NUM_SHIELDS; }

    SKColorA GetShieldGlowColor() const { return m_kShieldGlowColor; }
    void SetShieldGlowColor(const SKColorA& kColor) { m_kShieldGlowColor = kColor; }
    float GetShieldGlowDecay() const { return m_fShieldGlowDecay; }
    void SetShieldGlowDecay(float fValue) { m_fShieldGlowDecay = fValue; }
    // A facing outside 0 to 5 reads as 0 and is not written.
    float GetMaxShields(int32_t iFacing) const
    {
        return IsValidFacing(iFacing) ? m_afMaxShields[iFacing] : 0.0f;
    }
    void SetMaxShields(int32_t iFacing, float fValue)
    {
        if (IsValidFacing(iFacing))
            m_afMaxShields[iFacing] = fValue;
    }
    float GetShieldChargePerSecond(int32_t iFacing) const
    {
        return IsValidFacing(iFacing) ? m_afShieldChargePerSecond[iFacing] : 0.0f;
    }
    void SetShieldChargePerSecond(int32_t iFacing, float fValue)
    {
        if (IsValidFacing(iFacing))
            m_afShieldChargePerSecond[iFacing] = fValue;
    }

private:
    SKColorA m_kShieldGlowColor{0.0f, 0.0f, 0.0f, 0.0f};
    float m_fShieldGlowDecay = 1.0f;
    std::array<float, NUM_SHIELDS> m_afMaxShields;
    std::array<float, NUM_SHIELDS> m_afShieldChargePerSecond;
};
