#pragma once

#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>
#include <optional>
#include <string>

// The impulse engines: top speed, acceleration, angular velocity and angular acceleration, and the
// engine sound (a text the property owns, or none).
//
// Binary record: the powered-subsystem record, then MaxSpeed, MaxAccel, MaxAngularVelocity,
// MaxAngularAccel (Float each) and the engine sound (counted string; length 0 for none). The script
// lines set the four values in another order: MaxAccel, MaxAngularAccel, MaxAngularVelocity, MaxSpeed,
// then the sound (without one, an empty text).
class ImpulseEngineProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(ImpulseEngineProperty, PoweredSubsystemProperty, 0x813c)
    SK_PROPERTY_FIELDS(ImpulseEngineProperty, PoweredSubsystemProperty)

public:
    explicit ImpulseEngineProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    float GetMaxSpeed() const { return m_fMaxSpeed; }
    void SetMaxSpeed(float fValue) { m_fMaxSpeed = fValue; }
    float GetMaxAccel() const { return m_fMaxAccel; }
    void SetMaxAccel(float fValue) { m_fMaxAccel = fValue; }
    float GetMaxAngularVelocity() const { return m_fMaxAngularVelocity; }
    void SetMaxAngularVelocity(float fValue) { m_fMaxAngularVelocity = fValue; }
    float GetMaxAngularAccel() const { return m_fMaxAngularAccel; }
    void SetMaxAngularAccel(float fValue) { m_fMaxAngularAccel = fValue; }
    // The stored text, or null when none is set; valid until the next change.
    const char* GetEngineSound() const { return SKPropertyField::TextOf(m_kEngineSound); }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetEngineSound(const char* pcSound) { SKPropertyField::SetText(m_kEngineSound, pcSound); }

private:
    float m_fMaxSpeed = 25.0f;
    float m_fMaxAccel = 10.0f;
    float m_fMaxAngularVelocity = 0.25f;
    float m_fMaxAngularAccel = 0.1f;
    SKPropertyField::Text m_kEngineSound;
};
