#pragma once

#include "properties/EffectEmitterProperty.h"

#include <cstdint>

// A place on the model from which explosions go off: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class ExplodeEmitterProperty : public EffectEmitterProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8144;

    explicit ExplodeEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}

    static ExplodeEmitterProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<ExplodeEmitterProperty*>(pkObject)
                                                       : nullptr;
    }
    static ExplodeEmitterProperty* Create(const char* pcName);
    // The factory registered for the type id.
    static SKObject* Factory(int32_t iID) { return new ExplodeEmitterProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || EffectEmitterProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "ExplodeEmitterProperty"; }
    const char* GetPointerTypeName() const override { return "_p_ExplodeEmitterProperty"; }
    const char* GetShadowClassName() const override { return "ExplodeEmitterPropertyPtr"; }
};
