#pragma once

// Where the engine's trace text goes: the debugger output, a console, a log file or a script
// function. The outputs are made from the trace configuration file at start-up and deleted
// at shutdown.
class SKTraceOutput
{
public:
    SKTraceOutput() = default;
    virtual ~SKTraceOutput() = default;

    SKTraceOutput(const SKTraceOutput&) = delete;
    SKTraceOutput& operator=(const SKTraceOutput&) = delete;

    virtual void Print(const char* pcText) = 0;
};
