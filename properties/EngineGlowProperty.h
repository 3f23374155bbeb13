#pragma once

#include "properties/SKModelProperty.h"

#include <cstdint>

// Marks a node of the model as an engine glow. It carries nothing but its name: its script text is
// the create line alone, its record the base record alone, and it shows nothing in the view.
class EngineGlowProperty : public SKModelProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8140;

    explicit EngineGlowProperty(int32_t iID = 0) : SKModelProperty(iID) {}

    static EngineGlowProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<EngineGlowProperty*>(pkObject) : nullptr;
    }
    static EngineGlowProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new EngineGlowProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SKModelProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "EngineGlowProperty"; }
    const char* GetPointerTypeName() const override { return "_p_EngineGlowProperty"; }
    const char* GetShadowClassName() const override { return "EngineGlowPropertyPtr"; }
};
