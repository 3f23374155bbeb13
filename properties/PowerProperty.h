#pragma once

#include "properties/SubsystemProperty.h"

#include <cstdint>

// The power plant: the limits of the main and backup batteries, the capacities of the main and
// backup conduits, and the power output per second.
//
// Binary record: the subsystem record, then the five values in that order (Float each).
class PowerProperty : public SubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813e;

    explicit PowerProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    static PowerProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<PowerProperty*>(pkObject) : nullptr;
    }
    static PowerProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new PowerProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "PowerProperty"; }
    const char* GetPointerTypeName() const override { return "_p_PowerProperty"; }
    const char* GetShadowClassName() const override { return "PowerPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

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
