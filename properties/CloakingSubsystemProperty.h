#pragma once

#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// The cloaking device: its cloak strength.
//
// Binary record: the powered-subsystem record, then CloakStrength (Float).
class CloakingSubsystemProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(CloakingSubsystemProperty, PoweredSubsystemProperty, 0x813a)
    SK_PROPERTY_FIELDS(CloakingSubsystemProperty, PoweredSubsystemProperty)

public:
    explicit CloakingSubsystemProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    float GetCloakStrength() const { return m_fCloakStrength; }
    void SetCloakStrength(float fValue) { m_fCloakStrength = fValue; }

private:
    float m_fCloakStrength = 0.0f;
};
