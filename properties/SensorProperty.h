#pragma once

#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// The sensor array: its base sensor range and the most probes it can launch.
//
// Binary record: the powered-subsystem record, then BaseSensorRange (Float), MaxProbes (Int).
class SensorProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(SensorProperty, PoweredSubsystemProperty, 0x8139)
    SK_PROPERTY_FIELDS(SensorProperty, PoweredSubsystemProperty)

public:
    explicit SensorProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    float GetBaseSensorRange() const { return m_fBaseSensorRange; }
    void SetBaseSensorRange(float fValue) { m_fBaseSensorRange = fValue; }
    int32_t GetMaxProbes() const { return m_iMaxProbes; }
    void SetMaxProbes(int32_t iValue) { m_iMaxProbes = iValue; }

private:
    float m_fBaseSensorRange = 1000.0f;
    int32_t m_iMaxProbes = 10;
};
