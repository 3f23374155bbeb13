#pragma once

#include "core/SKTraceOutput.h"

#include <cstdio>

// Trace text to a log file, which is created (or emptied) when the output is made. A file
// that cannot be created leaves the output silent.
class SKTraceLogFileOutput : public SKTraceOutput
{
public:
    explicit SKTraceLogFileOutput(const char* pcFileName);
    ~SKTraceLogFileOutput() override;

    void Print(const char* pcText) override;
    bool IsOpen() const { return m_pkFile != nullptr; }

private:
    std::FILE* m_pkFile = nullptr;
};
