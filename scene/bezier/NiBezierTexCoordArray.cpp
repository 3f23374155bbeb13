#include "scene/bezier/NiBezierTexCoordArray.h"

#include <algorithm>

NiBezierTexCoordArray::NiBezierTexCoordArray(uint16_t usSets, uint32_t uiCapacity, uint32_t uiGrowBy)
    : m_spBlock(new NiTexCoord[size_t(usSets) * uiCapacity]()), m_usSets(usSets), m_uiCapacity(uiCapacity),
      m_spCounts(new uint32_t[usSets]()), m_uiGrowBy(uiGrowBy)
{
}

uint32_t NiBezierTexCoordArray::Add(uint16_t usSet, float fU, float fV)
{
    if (usSet >= m_usSets)
        return 0;
    while (m_spCounts[usSet] >= m_uiCapacity)
        SetCapacity(std::max<uint32_t>(1, m_uiCapacity * std::max<uint32_t>(2, m_uiGrowBy)));
    const uint32_t uiIndex = m_spCounts[usSet]++;
    m_spBlock[uiIndex + usSet * m_uiCapacity] = NiTexCoord(fU, fV);
    return uiIndex;
}

void NiBezierTexCoordArray::SetCapacity(uint32_t uiCapacity)
{
    if (uiCapacity == m_uiCapacity || (m_usSets > 0 && uiCapacity < m_spCounts[0]))
        return;
    std::unique_ptr<NiTexCoord[]> spBlock(new NiTexCoord[size_t(m_usSets) * uiCapacity]());
    for (uint16_t s = 0; s < m_usSets; ++s)
        std::copy_n(&m_spBlock[s * m_uiCapacity], std::min(m_spCounts[s], uiCapacity),
                    &spBlock[s * uiCapacity]);
    m_spBlock = std::move(spBlock);
    m_uiCapacity = uiCapacity;
}

void NiBezierTexCoordArray::SetSetCount(uint16_t usSets)
{
    if (usSets != 0)
        m_usSets = usSets;
    m_spBlock.reset(new NiTexCoord[size_t(m_usSets) * m_uiCapacity]());
    m_spCounts.reset(new uint32_t[m_usSets]());
}
