#pragma once

#include "properties/EffectEmitterProperty.h"

#include <cstdint>

// A place on the model from which smoke comes out: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class SmokeEmitterProperty : public EffectEmitterProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8142;

    explicit SmokeEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}

    static SmokeEmitterProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<SmokeEmitterProperty*>(pkObject)
                                                       : nullptr;
    }
    static SmokeEmitterProperty* Create(const char* pcName);
    // The factory registered for the type id.
    static SKObject* Factory(int32_t iID) { return new SmokeEmitterProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || EffectEmitterProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "SmokeEmitterProperty"; }
    const char* GetPointerTypeName() const override { return "_p_SmokeEmitterProperty"; }
    const char* GetShadowClassName() const override { return "SmokeEmitterPropertyPtr"; }
};
