#pragma once

#include "properties/PositionOrientationProperty.h"

#include <cstdint>

// A place on the model from which an effect comes out: the common base of the smoke, spark and
// explosion emitters and of the blinking light. It adds nothing to the position and orientation
// property but its class; no factory is registered for it, so it is neither duplicated nor loaded
// by type id (scripts create it by name).
class EffectEmitterProperty : public PositionOrientationProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8141;

    explicit EffectEmitterProperty(int32_t iID = 0) : PositionOrientationProperty(iID) {}

    static EffectEmitterProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<EffectEmitterProperty*>(pkObject)
                                                       : nullptr;
    }
    static EffectEmitterProperty* Create(const char* pcName);

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PositionOrientationProperty::IsTypeOf(iType);
    }
    const char* GetObjTypeName() const override { return "EffectEmitterProperty"; }
    const char* GetPointerTypeName() const override { return "_p_EffectEmitterProperty"; }
    const char* GetShadowClassName() const override { return "EffectEmitterPropertyPtr"; }
};
