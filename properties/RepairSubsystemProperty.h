#pragma once

#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// The repair bay: its most repair points and its number of repair teams.
//
// Binary record: the powered-subsystem record, then MaxRepairPoints (Float), NumRepairTeams (Long).
class RepairSubsystemProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(RepairSubsystemProperty, PoweredSubsystemProperty, 0x813f)
    SK_PROPERTY_FIELDS(RepairSubsystemProperty, PoweredSubsystemProperty)

public:
    explicit RepairSubsystemProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    float GetMaxRepairPoints() const { return m_fMaxRepairPoints; }
    void SetMaxRepairPoints(float fValue) { m_fMaxRepairPoints = fValue; }
    int32_t GetNumRepairTeams() const { return m_iNumRepairTeams; }
    void SetNumRepairTeams(int32_t iValue) { m_iNumRepairTeams = iValue; }

private:
    float m_fMaxRepairPoints = 0.0f;
    int32_t m_iNumRepairTeams = 1;
};
