#pragma once

#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>
#include <optional>
#include <string>

// The impulse engines: top speed, acceleration, angular velocity and angular acceleration, and the
// engine sound (a text the property owns, or none).
//
// Binary record: the powered-subsystem record, then MaxSpeed, MaxAccel, MaxAngularVelocity,
// MaxAngularAccel (Float each) and the engine sound (counted string; length 0 for none). The script
// lines set the four values in another order: MaxAccel, MaxAngularAccel, MaxAngularVelocity, MaxSpeed.
class ImpulseEngineProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813c;

    explicit ImpulseEngineProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    static ImpulseEngineProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<ImpulseEngineProperty*>(pkObject)
                                                       : nullptr;
    }
    static ImpulseEngineProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new ImpulseEngineProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "ImpulseEngineProperty"; }
    const char* GetPointerTypeName() const override { return "_p_ImpulseEngineProperty"; }
    const char* GetShadowClassName() const override { return "ImpulseEnginePropertyPtr"; }

    // The sound line is written even without a sound, as an empty text.
    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetMaxSpeed() const { return m_fMaxSpeed; }
    void SetMaxSpeed(float fValue) { m_fMaxSpeed = fValue; }
    float GetMaxAccel() const { return m_fMaxAccel; }
    void SetMaxAccel(float fValue) { m_fMaxAccel = fValue; }
    float GetMaxAngularVelocity() const { return m_fMaxAngularVelocity; }
    void SetMaxAngularVelocity(float fValue) { m_fMaxAngularVelocity = fValue; }
    float GetMaxAngularAccel() const { return m_fMaxAngularAccel; }
    void SetMaxAngularAccel(float fValue) { m_fMaxAngularAccel = fValue; }
    // The stored text, or null when none is set; valid until the next change.
    const char* GetEngineSound() const { return m_kEngineSound ? m_kEngineSound->c_str() : nullptr; }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetEngineSound(const char* pcSound);

private:
    float m_fMaxSpeed = 25.0f;
    float m_fMaxAccel = 10.0f;
    float m_fMaxAngularVelocity = 0.25f;
    float m_fMaxAngularAccel = 0.1f;
    std::optional<std::string> m_kEngineSound;
};
