#pragma once

#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// The subsystem property of the warp engines: a PoweredSubsystemProperty with no settings of its own.
class WarpEngineProperty : public PoweredSubsystemProperty
{
    SK_PROPERTY_CLASS(WarpEngineProperty, PoweredSubsystemProperty, 0x813b)

public:
    explicit WarpEngineProperty(int32_t iID = 0) : PoweredSubsystemProperty(iID) {}
};
