#pragma once

#include "core/SKColorA.h"
#include "properties/EffectEmitterProperty.h"

#include <cstdint>
#include <optional>
#include <string>

// A blinking light on the model: a coloured light with a radius, a blink period and a blink
// duration, and optionally a texture (a text the property owns, or none). Shown in the view by the
// position and orientation axes; the light itself is not drawn.
//
// Binary record: the position and orientation record, then red, green, blue, alpha, Radius, Period,
// Duration (Float each) and the texture name (counted string; length 0 for none). Script text: the
// position and orientation lines, the colour, radius, period and duration, and the texture name
// only when one is set.
class BlinkingLightProperty : public EffectEmitterProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8145;

    explicit BlinkingLightProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}

    static BlinkingLightProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<BlinkingLightProperty*>(pkObject)
                                                       : nullptr;
    }
    static BlinkingLightProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new BlinkingLightProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || EffectEmitterProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "BlinkingLightProperty"; }
    const char* GetPointerTypeName() const override { return "_p_BlinkingLightProperty"; }
    const char* GetShadowClassName() const override { return "BlinkingLightPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    SKColorA GetColor() const { return m_kColor; }
    void SetColor(const SKColorA& kColor) { m_kColor = kColor; }
    float GetRadius() const { return m_fRadius; }
    void SetRadius(float fRadius) { m_fRadius = fRadius; }
    float GetPeriod() const { return m_fPeriod; }
    void SetPeriod(float fPeriod) { m_fPeriod = fPeriod; }
    float GetDuration() const { return m_fDuration; }
    void SetDuration(float fDuration) { m_fDuration = fDuration; }
    // The stored text, or null when none is set; valid until the next change.
    const char* GetTextureName() const { return m_kTextureName ? m_kTextureName->c_str() : nullptr; }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetTextureName(const char* pcName);

private:
    SKColorA m_kColor{1.0f, 1.0f, 1.0f, 1.0f};
    float m_fRadius = 0.1f;
    float m_fPeriod = 3.0f;
    float m_fDuration = 1.0f;
    std::optional<std::string> m_kTextureName;
};
