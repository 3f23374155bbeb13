#pragma once

#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>

// The repair bay: its most repair points and its number of repair teams.
//
// Binary record: the powered-subsystem record, then MaxRepairPoints (Float), NumRepairTeams (Long).
class RepairSubsystemProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813f;

    explicit RepairSubsystemProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    static RepairSubsystemProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<RepairSubsystemProperty*>(pkObject)
                                                       : nullptr;
    }
    static RepairSubsystemProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new RepairSubsystemProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "RepairSubsystemProperty"; }
    const char* GetPointerTypeName() const override { return "_p_RepairSubsystemProperty"; }
    const char* GetShadowClassName() const override { return "RepairSubsystemPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetMaxRepairPoints() const { return m_fMaxRepairPoints; }
    void SetMaxRepairPoints(float fValue) { m_fMaxRepairPoints = fValue; }
    int32_t GetNumRepairTeams() const { return m_iNumRepairTeams; }
    void SetNumRepairTeams(int32_t iValue) { m_iNumRepairTeams = iValue; }

private:
    float m_fMaxRepairPoints = 0.0f;
    int32_t m_iNumRepairTeams = 1;
};
