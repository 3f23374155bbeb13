#pragma once

#include "properties/SubsystemProperty.h"

#include <cstdint>

// The subsystem property of the hull of the ship: a SubsystemProperty with no settings of its own.
class HullProperty : public SubsystemProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8138;

    explicit HullProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    static HullProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<HullProperty*>(pkObject) : nullptr;
    }
    static HullProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new HullProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SubsystemProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "HullProperty"; }
    const char* GetPointerTypeName() const override { return "_p_HullProperty"; }
    const char* GetShadowClassName() const override { return "HullPropertyPtr"; }
};
