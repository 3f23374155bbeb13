#include "platform/win32/Timing.h"

#include <atomic>
#include <ctime>

namespace
{
constexpr int64_t NANOSECONDS_PER_SECOND = 1000000000;

constinit std::atomic<win32::TimeSource*> s_pkSource{nullptr};

int64_t MonotonicNanoseconds()
{
    timespec kNow{};
    clock_gettime(CLOCK_MONOTONIC, &kNow);
    return int64_t{kNow.tv_sec} * NANOSECONDS_PER_SECOND + kNow.tv_nsec;
}
} // namespace

uint32_t timeGetTime()
{
    if (win32::TimeSource* pkSource = s_pkSource.load())
        return pkSource->Milliseconds();
    // Truncation to 32 bits is the wrap callers expect from this clock.
    return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000);
}

bool QueryPerformanceCounter(int64_t* piCount)
{
    if (piCount == nullptr)
        return false;
    if (win32::TimeSource* pkSource = s_pkSource.load())
        return pkSource->Counter(*piCount);
    *piCount = MonotonicNanoseconds();
    return true;
}

bool QueryPerformanceFrequency(int64_t* piFrequency)
{
    if (piFrequency == nullptr)
        return false;
    if (win32::TimeSource* pkSource = s_pkSource.load())
        return pkSource->Frequency(*piFrequency);
    *piFrequency = NANOSECONDS_PER_SECOND;
    return true;
}

namespace win32
{
TimeSource::~TimeSource() = default;

TimeSource* SetTimeSource(TimeSource* pkSource)
{
    return s_pkSource.exchange(pkSource);
}
} // namespace win32
