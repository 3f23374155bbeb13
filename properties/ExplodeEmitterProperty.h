#pragma once

#include "properties/EffectEmitterProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A place on the model from which explosions go off: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class ExplodeEmitterProperty : public EffectEmitterProperty
{
    SK_PROPERTY_CLASS(ExplodeEmitterProperty, EffectEmitterProperty, 0x8144)

public:
    explicit ExplodeEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}
};
