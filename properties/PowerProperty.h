#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/SubsystemProperty.h"

#include <cstdint>

// The power plant: the limits of the main and backup batteries, the capacities of the main and
// backup conduits, and the power output per second.
//
// Binary record: the subsystem record, then the five values in that order (Float each).
class PowerProperty : public SubsystemProperty
{
    SK_PROPERTY_CLASS(PowerProperty, SubsystemProperty, 0x813e)
    SK_PROPERTY_FIELDS(PowerProperty, SubsystemProperty)

public:
    explicit PowerProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    float GetMainBatteryLimit() const { return m_fMainBatteryLimit; }
    void SetMainBatteryLimit(float fValue) { m_fMainBatteryLimit = fValue; }
    float GetBackupBatteryLimit() const { return m_fBackupBatteryLimit; }
    void SetBackupBatteryLimit(float fValue) { m_fBackupBatteryLimit = fValue; }
    float GetMainConduitCapacity() const { return m_fMainConduitCapacity; }
    void SetMainConduitCapacity(float fValue) { m_fMainConduitCapacity = fValue; }
    float GetBackupConduitCapacity() const { return m_fBackupConduitCapacity; }
    void SetBackupConduitCapacity(float fValue) { m_fBackupConduitCapacity = fValue; }
    float GetPowerOutput() const { return m_fPowerOutput; }
    void SetPowerOutput(float fValue) { m_fPowerOutput = fValue; }

private:
    float m_fMainBatteryLimit = 70000.0f;
    float m_fBackupBatteryLimit = 10000.0f;
    float m_fMainConduitCapacity = 400.0f;
    float m_fBackupConduitCapacity = 200.0f;
    float m_fPowerOutput = 100.0f;
};
