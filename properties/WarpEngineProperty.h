#pragma once

#include "properties/PoweredSubsystemProperty.h"

#include <cstdint>

// The subsystem property of the warp engines: a PoweredSubsystemProperty with no settings of its own.
class WarpEngineProperty : public PoweredSubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x813b;

    explicit WarpEngineProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}

    static WarpEngineProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<WarpEngineProperty*>(pkObject) : nullptr;
    }
    static WarpEngineProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new WarpEngineProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PoweredSubsystemProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "WarpEngineProperty"; }
    const char* GetPointerTypeName() const override { return "_p_WarpEngineProperty"; }
    const char* GetShadowClassName() const override { return "WarpEnginePropertyPtr"; }
};
