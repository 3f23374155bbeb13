#pragma once

#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>

// The cloaking device: its cloak strength.
//
// Binary record: the powered-subsystem record, then CloakStrength (Float).
class CloakingSubsystemProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813a;

    explicit CloakingSubsystemProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    static CloakingSubsystemProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<CloakingSubsystemProperty*>(pkObject)
                                                       : nullptr;
    }
    static CloakingSubsystemProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new CloakingSubsystemProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "CloakingSubsystemProperty"; }
    const char* GetPointerTypeName() const override { return "_p_CloakingSubsystemProperty"; }
    const char* GetShadowClassName() const override { return "CloakingSubsystemPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetCloakStrength() const { return m_fCloakStrength; }
    void SetCloakStrength(float fValue) { m_fCloakStrength = fValue; }

private:
    float m_fCloakStrength = 0.0f;
};
