#include "platform/win32/Cpuid.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace win32
{
namespace
{
constinit std::atomic<CpuidSource*> s_pkSource{nullptr};

bool ProcessorCpuid(uint32_t uiLeaf, CpuidRegisters& kRegisters)
{
#if defined(__i386__) || defined(__x86_64__)
    // Only a 32-bit processor can lack the instruction; the check answers 0 there.
    if (__get_cpuid_max(0, nullptr) == 0)
        return false;
    __cpuid_count(uiLeaf, 0, kRegisters.eax, kRegisters.ebx, kRegisters.ecx, kRegisters.edx);
    return true;
#else
    (void)uiLeaf;
    (void)kRegisters;
    return false;
#endif
}
} // namespace

CpuidSource::~CpuidSource() = default;

bool Cpuid(uint32_t uiLeaf, CpuidRegisters& kRegisters)
{
    if (CpuidSource* pkSource = s_pkSource.load())
        return pkSource->Query(uiLeaf, kRegisters);
    return ProcessorCpuid(uiLeaf, kRegisters);
}

CpuidSource* SetCpuidSource(CpuidSource* pkSource)
{
    return s_pkSource.exchange(pkSource);
}
} // namespace win32
