#pragma once

#include "scene/object/NiTexCoord.h"

#include <cstdint>
#include <memory>

// Output texture coordinates of a patch, bucketed by set: set s occupies entries s x capacity
// to s x capacity + capacity - 1 of one block, so that the block reads as consecutive texture
// sets of one vertex count (the capacity). Each set has its own count.
class NiBezierTexCoordArray
{
public:
    NiBezierTexCoordArray(uint16_t usSets, uint32_t uiCapacity, uint32_t uiGrowBy = 2);
    virtual ~NiBezierTexCoordArray() = default;
    NiBezierTexCoordArray(const NiBezierTexCoordArray&) = delete;
    NiBezierTexCoordArray& operator=(const NiBezierTexCoordArray&) = delete;

    NiTexCoord* GetBase() const { return m_spBlock.get(); }
    uint16_t GetSetCount() const { return m_usSets; }
    uint32_t GetCapacity() const { return m_uiCapacity; }
    uint32_t GetCount(uint16_t usSet) const { return usSet < m_usSets ? m_spCounts[usSet] : 0; }
    const NiTexCoord& GetAt(uint16_t usSet, uint32_t uiIndex) const
    {
        return m_spBlock[uiIndex + usSet * m_uiCapacity];
    }

    // Appends to one set; a set outside the array is ignored.
    uint32_t Add(uint16_t usSet, float fU, float fV);
    // Nothing when the capacity is already n or n is below the count of set 0; else every set
    // keeps its entries in its new row.
    void SetCapacity(uint32_t uiCapacity);
    // A count of 0 keeps the set count; the block is made again for capacity x sets zero
    // coordinates and every set is emptied.
    void SetSetCount(uint16_t usSets);

private:
    std::unique_ptr<NiTexCoord[]> m_spBlock;
    uint16_t m_usSets;
    uint32_t m_uiCapacity;
    std::unique_ptr<uint32_t[]> m_spCounts;
    uint32_t m_uiGrowBy;
};
