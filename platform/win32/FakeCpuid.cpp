#include "platform/win32/FakeCpuid.h"

namespace win32
{
FakeCpuid::FakeCpuid()
{
    m_pkPrevious = SetCpuidSource(this);
}

FakeCpuid::~FakeCpuid()
{
    SetCpuidSource(m_pkPrevious);
}

bool FakeCpuid::Query(uint32_t uiLeaf, CpuidRegisters& kRegisters)
{
    const auto kFound = m_kLeaves.find(uiLeaf);
    if (kFound == m_kLeaves.end())
        return false;
    kRegisters = kFound->second;
    return true;
}
} // namespace win32
