#pragma once

#include <cstdint>

namespace win32
{
struct CpuidRegisters
{
    uint32_t eax = 0;
    uint32_t ebx = 0;
    uint32_t ecx = 0;
    uint32_t edx = 0;
};

// Answers the processor identification instruction. A source answers false where the
// instruction would fault (a processor without it, or one that is not of the x86 family).
class CpuidSource
{
public:
    virtual ~CpuidSource();
    virtual bool Query(uint32_t uiLeaf, CpuidRegisters& kRegisters) = 0;
};

// Runs the instruction for a leaf on the installed source, by default the processor itself.
bool Cpuid(uint32_t uiLeaf, CpuidRegisters& kRegisters);

// Installs a source (null restores the processor) and hands back the one it replaces.
CpuidSource* SetCpuidSource(CpuidSource* pkSource);
} // namespace win32
