#pragma once

#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>

// The sensor array: its base sensor range and the most probes it can launch.
//
// Binary record: the powered-subsystem record, then BaseSensorRange (Float), MaxProbes (Int).
class SensorProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8139;

    explicit SensorProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    static SensorProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<SensorProperty*>(pkObject) : nullptr;
    }
    static SensorProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new SensorProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "SensorProperty"; }
    const char* GetPointerTypeName() const override { return "_p_SensorProperty"; }
    const char* GetShadowClassName() const override { return "SensorPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetBaseSensorRange() const { return m_fBaseSensorRange; }
    void SetBaseSensorRange(float fValue) { m_fBaseSensorRange = fValue; }
    int32_t GetMaxProbes() const { return m_iMaxProbes; }
    void SetMaxProbes(int32_t iValue) { m_iMaxProbes = iValue; }

private:
    float m_fBaseSensorRange = 1000.0f;
    int32_t m_iMaxProbes = 10;
};
