#pragma once

#include <cstdint>

// The system clocks: a millisecond clock that wraps at 32 bits, and a high-resolution
// counter with its frequency. Both run on the monotonic clock unless a time source is
// installed; both may be read before main runs.
uint32_t timeGetTime();
bool QueryPerformanceCounter(int64_t* piCount);
bool QueryPerformanceFrequency(int64_t* piFrequency);

namespace win32
{
// What the clocks read. A source that answers false has no high-resolution counter.
class TimeSource
{
public:
    virtual ~TimeSource();
    virtual uint32_t Milliseconds() = 0;
    virtual bool Counter(int64_t& iCount) = 0;
    virtual bool Frequency(int64_t& iFrequency) = 0;
};

// Installs a source (null restores the monotonic clock) and hands back the one it replaces.
TimeSource* SetTimeSource(TimeSource* pkSource);
} // namespace win32
