#pragma once

// The debugger output. Text goes to standard error unless a sink is installed; it may be
// written before main runs, so nothing here needs constructing.
void OutputDebugStringA(const char* pcText);

namespace win32
{
// A sink receives each text exactly as written (no newline added). It must not write to
// the debugger output itself.
using DebugOutputSink = void (*)(void* pvContext, const char* pcText);

struct DebugOutputTarget
{
    DebugOutputSink pfnSink = nullptr;
    void* pvContext = nullptr;
};

// Installs a sink (a null sink restores standard error) and hands back the one it replaces.
DebugOutputTarget SetDebugOutputSink(DebugOutputTarget kTarget);
} // namespace win32
