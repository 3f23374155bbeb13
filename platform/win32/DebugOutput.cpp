#include "platform/win32/DebugOutput.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <mutex>

namespace
{
// A fixed list that needs no construction or destruction: text may be written during static
// initialisation and after static destruction has begun.
class TargetList
{
public:
    bool Add(win32::DebugOutputTarget kTarget)
    {
        if (kTarget.pfnSink == nullptr || m_uiCount == CAPACITY)
            return false;
        m_akTargets[m_uiCount++] = kTarget;
        return true;
    }

    bool Remove(win32::DebugOutputTarget kTarget)
    {
        win32::DebugOutputTarget* pkEnd = m_akTargets + m_uiCount;
        win32::DebugOutputTarget* pkFound = std::find(m_akTargets, pkEnd, kTarget);
        if (pkFound == pkEnd)
            return false;
        std::copy(pkFound + 1, pkEnd, pkFound);
        --m_uiCount;
        return true;
    }

    const win32::DebugOutputTarget* begin() const { return m_akTargets; }
    const win32::DebugOutputTarget* end() const { return m_akTargets + m_uiCount; }
    bool IsEmpty() const { return m_uiCount == 0; }
    const win32::DebugOutputTarget& Last() const { return m_akTargets[m_uiCount - 1]; }

private:
    static constexpr size_t CAPACITY = 16;
    win32::DebugOutputTarget m_akTargets[CAPACITY] = {};
    size_t m_uiCount = 0;
};

constinit std::mutex s_kLock;
constinit TargetList s_kSubscribers;
constinit TargetList s_kCaptures;
constinit bool s_bStandardError = true;

bool Change(TargetList& kList, bool (TargetList::*pfnChange)(win32::DebugOutputTarget),
            win32::DebugOutputTarget kTarget)
{
    std::lock_guard kGuard(s_kLock);
    return (kList.*pfnChange)(kTarget);
}
} // namespace

void OutputDebugStringA(const char* pcText)
{
    if (pcText == nullptr)
        return;
    std::lock_guard kGuard(s_kLock);
    for (const win32::DebugOutputTarget& kTarget : s_kSubscribers)
        kTarget.pfnSink(kTarget.pvContext, pcText);
    if (!s_kCaptures.IsEmpty())
        s_kCaptures.Last().pfnSink(s_kCaptures.Last().pvContext, pcText);
    else if (s_bStandardError)
        std::fputs(pcText, stderr);
}

namespace win32
{
bool SubscribeDebugOutput(DebugOutputTarget kTarget)
{
    return Change(s_kSubscribers, &TargetList::Add, kTarget);
}

bool UnsubscribeDebugOutput(DebugOutputTarget kTarget)
{
    return Change(s_kSubscribers, &TargetList::Remove, kTarget);
}

bool BeginDebugOutputCapture(DebugOutputTarget kTarget)
{
    return Change(s_kCaptures, &TargetList::Add, kTarget);
}

bool EndDebugOutputCapture(DebugOutputTarget kTarget)
{
    return Change(s_kCaptures, &TargetList::Remove, kTarget);
}

void SetDebugOutputToStandardError(bool bOn)
{
    std::lock_guard kGuard(s_kLock);
    s_bStandardError = bOn;
}
} // namespace win32
