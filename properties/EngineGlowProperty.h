#pragma once

#include "properties/SKModelProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// Marks a node of the model as an engine glow. It carries nothing but its name: its script text is
// the create line alone, its record the base record alone, and it shows nothing in the view.
class EngineGlowProperty : public SKModelProperty
{
    SK_PROPERTY_CLASS(EngineGlowProperty, SKModelProperty, 0x8140)

public:
    explicit EngineGlowProperty(int32_t iID = 0) : SKModelProperty(iID) {}
};
