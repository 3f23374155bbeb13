#pragma once

// The debugger output. Each text reaches every subscriber in the order they subscribed, then the
// innermost capture or, while there is none, standard error. It may be written before main runs,
// so nothing here needs constructing.
void OutputDebugStringA(const char* pcText);

namespace win32
{
// A subscriber receives each text exactly as written (no newline added). It must not write to
// the debugger output itself, nor subscribe or unsubscribe from inside the call.
using DebugOutputSink = void (*)(void* pvContext, const char* pcText);

struct DebugOutputTarget
{
    DebugOutputSink pfnSink = nullptr;
    void* pvContext = nullptr;

    bool operator==(const DebugOutputTarget&) const = default;
};

// Subscribers: the renderer log, the editor's output window. None of them takes the output from
// another. False when the target has no sink or the list is full.
bool SubscribeDebugOutput(DebugOutputTarget kTarget);
// Takes the target's first entry off the list; false when it has none.
bool UnsubscribeDebugOutput(DebugOutputTarget kTarget);

// Captures (tests): the innermost one takes what would otherwise go to standard error, and gives it
// back when it ends; subscribers go on receiving. False as for subscribers.
bool BeginDebugOutputCapture(DebugOutputTarget kTarget);
bool EndDebugOutputCapture(DebugOutputTarget kTarget);

// Standard error receives what no capture takes; on by default. Programs whose output would only
// be noise (fuzzers) turn it off.
void SetDebugOutputToStandardError(bool bOn);
} // namespace win32
