#include "platform/win32/DebugOutput.h"

#include <cstdio>
#include <mutex>

namespace
{
// Constant-initialised, so text written during static initialisation is safe.
constinit std::mutex s_kLock;
constinit win32::DebugOutputTarget s_kTarget;
} // namespace

void OutputDebugStringA(const char* pcText)
{
    if (pcText == nullptr)
        return;
    std::lock_guard kGuard(s_kLock);
    if (s_kTarget.pfnSink != nullptr)
    {
        s_kTarget.pfnSink(s_kTarget.pvContext, pcText);
        return;
    }
    std::fputs(pcText, stderr);
}

namespace win32
{
DebugOutputTarget SetDebugOutputSink(DebugOutputTarget kTarget)
{
    std::lock_guard kGuard(s_kLock);
    const DebugOutputTarget kPrevious = s_kTarget;
    s_kTarget = kTarget;
    return kPrevious;
}
} // namespace win32
