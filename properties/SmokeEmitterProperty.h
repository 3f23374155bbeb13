#pragma once

#include "properties/EffectEmitterProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A place on the model from which smoke comes out: an effect emitter known by its class alone. Record,
// script lines, copying and display are those of the position and orientation property.
class SmokeEmitterProperty : public EffectEmitterProperty
{
    SK_PROPERTY_CLASS(SmokeEmitterProperty, EffectEmitterProperty, 0x8142)

public:
    explicit SmokeEmitterProperty(int32_t iID = 0) : EffectEmitterProperty(iID) {}
};
