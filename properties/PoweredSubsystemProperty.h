#pragma once

#include "properties/SubsystemProperty.h"

#include <cstdint>

// A subsystem that draws power: adds its normal power per second.
//
// Binary record: the subsystem record, then NormalPowerPerSecond (Float).
class PoweredSubsystemProperty : public SubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x812c;

    explicit PoweredSubsystemProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    static PoweredSubsystemProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<PoweredSubsystemProperty*>(pkObject)
                                                       : nullptr;
    }
    static PoweredSubsystemProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new PoweredSubsystemProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "PoweredSubsystemProperty"; }
    const char* GetPointerTypeName() const override { return "_p_PoweredSubsystemProperty"; }
    const char* GetShadowClassName() const override { return "PoweredSubsystemPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetNormalPowerPerSecond() const { return m_fNormalPowerPerSecond; }
    void SetNormalPowerPerSecond(float fValue) { m_fNormalPowerPerSecond = fValue; }

private:
    float m_fNormalPowerPerSecond = 1.0f;
};
