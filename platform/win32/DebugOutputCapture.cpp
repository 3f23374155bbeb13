#include "platform/win32/DebugOutputCapture.h"

namespace win32
{
DebugOutputCapture::DebugOutputCapture()
{
    BeginDebugOutputCapture({&DebugOutputCapture::Receive, this});
}

DebugOutputCapture::~DebugOutputCapture()
{
    EndDebugOutputCapture({&DebugOutputCapture::Receive, this});
}

std::string DebugOutputCapture::GetText() const
{
    std::string kAll;
    for (const std::string& kText : m_kTexts)
        kAll += kText;
    return kAll;
}

void DebugOutputCapture::Receive(void* pvContext, const char* pcText)
{
    static_cast<DebugOutputCapture*>(pvContext)->m_kTexts.emplace_back(pcText);
}
} // namespace win32
