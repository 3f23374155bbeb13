#pragma once

#include "properties/PositionOrientationProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A place on the model from which an effect comes out: the common base of the smoke, spark and
// explosion emitters and of the blinking light. It adds nothing to the position and orientation
// property but its class; no factory is registered for it, so it is neither duplicated nor loaded
// by type id (scripts create it by name).
class EffectEmitterProperty : public PositionOrientationProperty
{
    SK_PROPERTY_CLASS(EffectEmitterProperty, PositionOrientationProperty, 0x8141)

public:
    explicit EffectEmitterProperty(int32_t iID = 0) : PositionOrientationProperty(iID) {}
};
