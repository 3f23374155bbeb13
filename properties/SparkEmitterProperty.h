#pragma once

#include "properties/EffectEmitterProperty.h"

#include <cstdint>

// A place on the model from which sparks fly: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class SparkEmitterProperty : public EffectEmitterProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8143;

    explicit SparkEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}

    static SparkEmitterProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<SparkEmitterProperty*>(pkObject)
                                                       : nullptr;
    }
    static SparkEmitterProperty* Create(const char* pcName);
    // The factory registered for the type id.
    static SKObject* Factory(int32_t iID) { return new SparkEmitterProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || EffectEmitterProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "SparkEmitterProperty"; }
    const char* GetPointerTypeName() const override { return "_p_SparkEmitterProperty"; }
    const char* GetShadowClassName() const override { return "SparkEmitterPropertyPtr"; }
};
