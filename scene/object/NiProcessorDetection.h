#pragma once

#include <cstdint>

// Classifies the processor once per process, through the processor identification
// instruction, and picks the bulk transform routines for it. A probe that faults is no
// error: it ends as class 0 (or skips the 3DNow! test) and the generic routines stay.

enum : int32_t
{
    NI_PROCESSOR_UNSUPPORTED = 0,
    NI_PROCESSOR_PENTIUM = 1,
    NI_PROCESSOR_PENTIUM_MMX = 2,
    NI_PROCESSOR_PENTIUM_PRO = 3,
    NI_PROCESSOR_PENTIUM_II = 4,
    NI_PROCESSOR_PENTIUM_III = 5, // named, but never detected
    NI_PROCESSOR_3DNOW = 6
};

// One detection state. The process has one (used by the free functions below); tests
// make their own to watch a detection from the start.
class NiProcessorDetector
{
public:
    constexpr NiProcessorDetector() = default;

    void DetectProcessor();
    // Detects first when not yet done.
    int32_t GetProcessorClass();
    const char* GetProcessorName();
    // Class 0 installs the generic routines, classes 1 to 6 the fast ones.
    void SelectTransformRoutines();

    bool IsDetected() const { return m_bDetected; }

private:
    bool m_bDetected = false;
    int32_t m_iClass = NI_PROCESSOR_UNSUPPORTED;
};

// The process's detection; a static initialiser selects the routines at start-up.
void DetectProcessor();
void SelectTransformRoutines();
const char* GetProcessorName();
int32_t GetProcessorClass();
