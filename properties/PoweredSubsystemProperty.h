#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/SubsystemProperty.h"

#include <cstdint>

// A subsystem that draws power: adds its normal power per second.
//
// Binary record: the subsystem record, then NormalPowerPerSecond (Float).
class PoweredSubsystemProperty : public SubsystemProperty
{
    SK_PROPERTY_CLASS(PoweredSubsystemProperty, SubsystemProperty, 0x812c)
    SK_PROPERTY_FIELDS(PoweredSubsystemProperty, SubsystemProperty)

public:
    explicit PoweredSubsystemProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    float GetNormalPowerPerSecond() const { return m_fNormalPowerPerSecond; }
    void SetNormalPowerPerSecond(float fValue) { m_fNormalPowerPerSecond = fValue; }

private:
    float m_fNormalPowerPerSecond = 1.0f;
};
