#pragma once

#include "platform/win32/DebugOutput.h"

#include <string>
#include <vector>

namespace win32
{
// Collects the debugger output that would go to standard error while it lives (for tests); an
// inner capture takes it over until the inner one ends.
class DebugOutputCapture
{
public:
    DebugOutputCapture();
    ~DebugOutputCapture();

    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Every text written, one entry per call, in order.
    const std::vector<std::string>& GetTexts() const { return m_kTexts; }
    // All of it joined.
    std::string GetText() const;

private:
    static void Receive(void* pvContext, const char* pcText);

    std::vector<std::string> m_kTexts;
};
} // namespace win32
