#pragma once

#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <vector>

// A topological sort of a few items by a pairwise order that may be partial (0: no order
// needed) and may even hold cycles, which it breaks by a fixed rule. The cluster sorter orders
// overlapping screen boxes with it. Its buffers grow to the largest group seen and are reused.
class NiPrecedenceSorter
{
public:
    // -1 when a must stand before b, 1 when b must stand before a, 0 when either order will do.
    using OrderFunction = int32_t (*)(const void* pvA, const void* pvB, const NiPoint3& kEye);

    explicit NiPrecedenceSorter(int32_t iCapacity = 16);

    // Reorders the items in place; true when the order had a cycle that had to be broken (the
    // item placed then is, among those left, the one with the fewest items still to follow it,
    // then the one with the most items to precede it, then the first).
    bool Sort(const void** ppvItems, int32_t iCount, OrderFunction pfnOrder, const NiPoint3& kEye);

    int32_t GetCapacity() const { return m_iCapacity; }

private:
    int32_t m_iCapacity;
    // Cell [a][b] set: item b must stand before item a.
    std::vector<uint8_t> m_kPrecedence;
    // Items still to place that must stand after the item; -1 once it is placed.
    std::vector<int32_t> m_kAfterCounts;
    std::vector<int32_t> m_kBeforeCounts;
    std::vector<const void*> m_kItems;
};
