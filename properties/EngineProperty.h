#pragma once

#include "properties/SubsystemProperty.h"

#include <cstdint>

// A generic engine of either kind: impulse (EP_IMPULSE) or warp (EP_WARP). The type is stored as
// given; the script line names EP_IMPULSE for 0 and EP_WARP for any other value.
//
// Binary record: the subsystem record, then EngineType (Long).
class EngineProperty : public SubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813d;

    enum EngineType : int32_t
    {
        EP_IMPULSE = 0,
        EP_WARP = 1
    };

    explicit EngineProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    static EngineProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<EngineProperty*>(pkObject) : nullptr;
    }
    static EngineProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new EngineProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SubsystemProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "EngineProperty"; }
    const char* GetPointerTypeName() const override { return "_p_EngineProperty"; }
    const char* GetShadowClassName() const override { return "EnginePropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    int32_t GetEngineType() const { return m_iEngineType; }
    void SetEngineType(int32_t iType) { m_iEngineType = iType; }

private:
    int32_t m_iEngineType = EP_IMPULSE;
};
