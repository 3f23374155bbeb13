#pragma once

#include <cstdint>
#include <memory>

// The one cache of every adaptive tessellation: an entry per point of the finest parameter
// grid any patch addresses, holding the output vertex made for that point and the generation
// in which it was made. An entry is valid only in the current generation, so starting a new
// tessellation (NextGeneration) forgets every earlier entry at once.
class NiBezierVertexCache
{
public:
    // The largest grid: a cylinder's 8193 u positions on two rows.
    static constexpr uint32_t ENTRY_COUNT = 16386;
    // The vertex of a point that was decided but not split.
    static constexpr uint16_t NONE = 0xFFFF;

    NiBezierVertexCache();

    // The process-wide cache, made on first use.
    static NiBezierVertexCache& Get();

    // Generations run 1 to 65535 and round again; 0 is never current.
    void NextGeneration();
    uint16_t GetGeneration() const { return m_usGeneration; }

    void Store(uint32_t uiIndex, uint16_t usVertex);
    // True, with the vertex, when the entry was stored in the current generation.
    bool Lookup(uint32_t uiIndex, uint16_t& usVertex) const;
    bool IsCurrent(uint32_t uiIndex) const
    {
        return uiIndex < ENTRY_COUNT && m_spEntries[uiIndex].m_usGeneration == m_usGeneration;
    }

private:
    struct Entry
    {
        uint16_t m_usVertex;
        uint16_t m_usGeneration;
    };

    std::unique_ptr<Entry[]> m_spEntries;
    uint16_t m_usGeneration = 0;
};
