#pragma once

#include "core/SKSystemObject.h"

// The engine core's start-up object: reads the trace configuration and seeds the random
// numbers at start-up; ends profiling and deletes the trace outputs at shutdown.
class SKCoreStartupObject : public SKSystemObject
{
public:
    static constexpr uint32_t PRIORITY = 0xA0000000u;

    // The one instance, made (and placed in the system object list) on first use.
    static SKCoreStartupObject& Instance();

    void Init() override;
    void Shutdown() override;

private:
    SKCoreStartupObject() : SKSystemObject(PRIORITY) {}
};
