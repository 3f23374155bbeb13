#pragma once

#include "core/SKColorA.h"
#include "properties/PoweredSubsystemProperty.h"

#include <array>
#include <cstdint>

// The shield generator: the glow colour and its decay time, and per facing (front, rear, top,
// bottom, left, right) the shield strength and its charge per second.
//
// Binary record: the powered-subsystem record, then with Float: the glow colour (r, g, b, a), the
// glow decay, and per facing 0 to 5 its MaxShields followed by its ShieldChargePerSecond.
class ShieldProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8137;

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

    static ShieldProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<ShieldProperty*>(pkObject) : nullptr;
    }
    static ShieldProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new ShieldProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "ShieldProperty"; }
    const char* GetPointerTypeName() const override { return "_p_ShieldProperty"; }
    const char* GetShadowClassName() const override { return "ShieldPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

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
