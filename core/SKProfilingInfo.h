#pragma once

#include <cstdint>

// The profiler: named stretches of time measured with the high-resolution counter, each
// kept with the update (frame) number at which it began, so that a script can save the raw
// series for later analysis. Scripts drive it through the static operations; an
// SKProfilingInfo object is a timer that runs for the object's lifetime. Nothing is
// measured while profiling is off.
class SKProfilingInfo
{
public:
    // Starts a timer under the name (none while profiling is off).
    explicit SKProfilingInfo(const char* pcName);
    // Stops the timer.
    ~SKProfilingInfo();

    SKProfilingInfo(const SKProfilingInfo&) = delete;
    SKProfilingInfo& operator=(const SKProfilingInfo&) = delete;

    int32_t GetTimerID() const { return m_iTimerID; }

    // Turns profiling on when the platform has a high-resolution counter, and starts the
    // "Total profiling time" timer; Disable stops that timer and turns profiling off.
    static void EnableProfiling();
    static void DisableProfiling();
    static bool IsProfilingEnabled();

    // A timer id (0 while profiling is off); stopping it appends the elapsed milliseconds
    // under its name. Stopping 0 or an id that is not running does nothing.
    static int32_t StartTiming(const char* pcName);
    static void StopTiming(int32_t iTimerID);
    // Appends a value of the caller's under the name.
    static void SetTimingData(const char* pcName, float fValue);

    // Writes one line per name: "name - " and "update:value " pairs. Only a name that
    // begins "RawTiming" and ends ".txt" may replace an existing file.
    static bool SaveRawData(const char* pcFileName);
    // Turns profiling off and forgets every series, and every timer still running.
    static void Terminate();

private:
    int32_t m_iTimerID;
};
