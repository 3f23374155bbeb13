#pragma once

#include "properties/EffectEmitterProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A place on the model from which sparks fly: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class SparkEmitterProperty : public EffectEmitterProperty
{
    SK_PROPERTY_CLASS(SparkEmitterProperty, EffectEmitterProperty, 0x8143)

public:
    explicit SparkEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}
};
