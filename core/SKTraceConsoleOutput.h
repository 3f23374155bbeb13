#pragma once

#include "core/SKTraceOutput.h"

// The console output: the engine has no console, so the text goes nowhere.
class SKTraceConsoleOutput : public SKTraceOutput
{
public:
    void Print(const char*) override {}
};
