#pragma once

#include "core/SKColorA.h"
#include "properties/EffectEmitterProperty.h"
#include "properties/SKPropertyClass.h"

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
    SK_PROPERTY_CLASS(BlinkingLightProperty, EffectEmitterProperty, 0x8145)
    SK_PROPERTY_FIELDS(BlinkingLightProperty, EffectEmitterProperty)

public:
    explicit BlinkingLightProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}

    SKColorA GetColor() const { return m_kColor; }
    void SetColor(const SKColorA& kColor) { m_kColor = kColor; }
    float GetRadius() const { return m_fRadius; }
    void SetRadius(float fRadius) { m_fRadius = fRadius; }
    float GetPeriod() const { return m_fPeriod; }
    void SetPeriod(float fPeriod) { m_fPeriod = fPeriod; }
    float GetDuration() const { return m_fDuration; }
    void SetDuration(float fDuration) { m_fDuration = fDuration; }
    // The stored text, or null when none is set; valid until the next change.
    const char* GetTextureName() const { return SKPropertyField::TextOf(m_kTextureName); }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetTextureName(const char* pcName) { SKPropertyField::SetText(m_kTextureName, pcName); }

private:
    SKColorA m_kColor{1.0f, 1.0f, 1.0f, 1.0f};
    float m_fRadius = 0.1f;
    float m_fPeriod = 3.0f;
    float m_fDuration = 1.0f;
    SKPropertyField::Text m_kTextureName;
};
