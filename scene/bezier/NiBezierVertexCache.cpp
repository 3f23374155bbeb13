#include "scene/bezier/NiBezierVertexCache.h"

#include <algorithm>

NiBezierVertexCache::NiBezierVertexCache() : m_spEntries(new Entry[ENTRY_COUNT]()) {}

NiBezierVertexCache& NiBezierVertexCache::Get()
{
    static NiBezierVertexCache s_kCache;
    return s_kCache;
}

void NiBezierVertexCache::NextGeneration()
{
    if (m_usGeneration != UINT16_MAX)
    {
        ++m_usGeneration;
        return;
    }
    // Coming round to 1 again: entries written 65535 generations ago would read as current,
    // handing out vertices of a long-gone tessellation. Forget them all once per round.
    std::fill_n(m_spEntries.get(), ENTRY_COUNT, Entry{0, 0});
    m_usGeneration = 1;
}

void NiBezierVertexCache::Store(uint32_t uiIndex, uint16_t usVertex)
{
    if (uiIndex < ENTRY_COUNT)
        m_spEntries[uiIndex] = Entry{usVertex, m_usGeneration};
}

bool NiBezierVertexCache::Lookup(uint32_t uiIndex, uint16_t& usVertex) const
{
    if (!IsCurrent(uiIndex))
        return false;
    usVertex = m_spEntries[uiIndex].m_usVertex;
    return true;
}
