#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/SubsystemProperty.h"

#include <cstdint>

// The subsystem property of the hull of the ship: a SubsystemProperty with no settings of its own.
class HullProperty : public SubsystemProperty
{
    SK_PROPERTY_CLASS(HullProperty, SubsystemProperty, 0x8138)

public:
    explicit HullProperty(int32_t iID = 0) : SubsystemProperty(iID) {}
};
