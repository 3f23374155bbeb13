#pragma once

#include "platform/win32/Cpuid.h"

#include <map>

namespace win32
{
// A processor made of a table of leaves (for tests); a leaf not in the table faults.
// Installs itself while it lives.
class FakeCpuid : public CpuidSource
{
public:
    FakeCpuid();
    ~FakeCpuid() override;

    FakeCpuid(const FakeCpuid&) = delete;
    FakeCpuid& operator=(const FakeCpuid&) = delete;

    bool Query(uint32_t uiLeaf, CpuidRegisters& kRegisters) override;

    void SetLeaf(uint32_t uiLeaf, const CpuidRegisters& kRegisters) { m_kLeaves[uiLeaf] = kRegisters; }

private:
    CpuidSource* m_pkPrevious = nullptr;
    std::map<uint32_t, CpuidRegisters> m_kLeaves;
};
} // namespace win32
