#pragma once

#include "platform/win32/Timing.h"

#include <cstdint>

namespace win32
{
// A clock that moves only when told to (for tests). Installs itself while it lives.
class ManualTimeSource : public TimeSource
{
public:
    explicit ManualTimeSource(int64_t iFrequency = 1000000);
    ~ManualTimeSource() override;

    ManualTimeSource(const ManualTimeSource&) = delete;
    ManualTimeSource& operator=(const ManualTimeSource&) = delete;

    uint32_t Milliseconds() override { return m_uiMilliseconds; }
    bool Counter(int64_t& iCount) override;
    bool Frequency(int64_t& iFrequency) override;

    void SetMilliseconds(uint32_t uiMilliseconds) { m_uiMilliseconds = uiMilliseconds; }
    void SetCounter(int64_t iCount) { m_iCounter = iCount; }
    // Moves both clocks on by the same time.
    void Advance(uint32_t uiMilliseconds);
    // Without a counter, Counter and Frequency answer false.
    void SetHasCounter(bool bHasCounter) { m_bHasCounter = bHasCounter; }

private:
    TimeSource* m_pkPrevious = nullptr;
    int64_t m_iFrequency;
    int64_t m_iCounter = 0;
    uint32_t m_uiMilliseconds = 0;
    bool m_bHasCounter = true;
};
} // namespace win32
