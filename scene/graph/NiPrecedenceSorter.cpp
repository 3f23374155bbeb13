#include "scene/graph/NiPrecedenceSorter.h"

NiPrecedenceSorter::NiPrecedenceSorter(int32_t iCapacity) : m_iCapacity(0)
{
    const int32_t iSize = iCapacity > 0 ? iCapacity : 1;
    m_kPrecedence.assign(size_t(iSize) * iSize, 0);
    m_kAfterCounts.assign(iSize, 0);
    m_kBeforeCounts.assign(iSize, 0);
    m_kItems.assign(iSize, nullptr);
    m_iCapacity = iSize;
}

bool NiPrecedenceSorter::Sort(const void** ppvItems, int32_t iCount, OrderFunction pfnOrder,
                              const NiPoint3& kEye)
{
    if (iCount <= 0)
        return false;
    if (iCount > m_iCapacity)
    {
        m_iCapacity = iCount;
        m_kPrecedence.assign(size_t(iCount) * iCount, 0);
        m_kAfterCounts.assign(iCount, 0);
        m_kBeforeCounts.assign(iCount, 0);
        m_kItems.assign(iCount, nullptr);
    }
    const size_t uiStride = size_t(iCount);
    auto Cell = [&](int32_t iA, int32_t iB) -> uint8_t& { return m_kPrecedence[iA * uiStride + iB]; };
    for (int32_t i = 0; i < iCount; ++i)
    {
        m_kAfterCounts[i] = 0;
        m_kBeforeCounts[i] = 0;
        m_kItems[i] = ppvItems[i];
        Cell(i, i) = 0;
    }
    for (int32_t i = 0; i < iCount; ++i)
    {
        for (int32_t j = i + 1; j < iCount; ++j)
        {
            const int32_t iOrder = pfnOrder(m_kItems[i], m_kItems[j], kEye);
            Cell(j, i) = iOrder < 0;
            Cell(i, j) = iOrder > 0;
            if (iOrder < 0)
            {
                ++m_kAfterCounts[i];
                ++m_kBeforeCounts[j];
            }
            else if (iOrder > 0)
            {
                ++m_kAfterCounts[j];
                ++m_kBeforeCounts[i];
            }
        }
    }

    // From the last position to the first: an item with nothing left to follow it goes next.
    bool bCycle = false;
    for (int32_t iPosition = iCount - 1; iPosition >= 0; --iPosition)
    {
        int32_t iChosen = -1;
        for (int32_t i = 0; i < iCount && iChosen < 0; ++i)
        {
            if (m_kAfterCounts[i] == 0)
                iChosen = i;
        }
        if (iChosen < 0)
        {
            bCycle = true;
            for (int32_t i = 0; i < iCount; ++i)
            {
                if (m_kAfterCounts[i] < 0)
                    continue;
                if (iChosen < 0 || m_kAfterCounts[i] < m_kAfterCounts[iChosen] ||
                    (m_kAfterCounts[i] == m_kAfterCounts[iChosen] &&
                     m_kBeforeCounts[i] > m_kBeforeCounts[iChosen]))
                    iChosen = i;
            }
        }
        ppvItems[iPosition] = m_kItems[iChosen];
        for (int32_t k = 0; k < iCount; ++k)
        {
            if (Cell(iChosen, k) && m_kAfterCounts[k] > 0)
                --m_kAfterCounts[k];
        }
        m_kBeforeCounts[iChosen] = 0;
        m_kAfterCounts[iChosen] = -1;
    }
    return bCycle;
}
