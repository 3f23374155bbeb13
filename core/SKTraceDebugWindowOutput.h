#pragma once

#include "core/SKTraceOutput.h"

// Trace text to the debugger output.
class SKTraceDebugWindowOutput : public SKTraceOutput
{
public:
    void Print(const char* pcText) override;
};
