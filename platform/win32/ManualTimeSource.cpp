#include "platform/win32/ManualTimeSource.h"

namespace win32
{
ManualTimeSource::ManualTimeSource(int64_t iFrequency) : m_iFrequency(iFrequency)
{
    m_pkPrevious = SetTimeSource(this);
}

ManualTimeSource::~ManualTimeSource()
{
    SetTimeSource(m_pkPrevious);
}

bool ManualTimeSource::Counter(int64_t& iCount)
{
    if (!m_bHasCounter)
        return false;
    iCount = m_iCounter;
    return true;
}

bool ManualTimeSource::Frequency(int64_t& iFrequency)
{
    if (!m_bHasCounter)
        return false;
    iFrequency = m_iFrequency;
    return true;
}

void ManualTimeSource::Advance(uint32_t uiMilliseconds)
{
    m_uiMilliseconds += uiMilliseconds;
    m_iCounter += int64_t{uiMilliseconds} * m_iFrequency / 1000;
}
} // namespace win32
