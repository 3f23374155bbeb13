#pragma once

#include <cstdint>
#include <memory>
#include <utility>

// A growable array of slots with a used size (one past the highest slot stored
// and not given back) and a count of the slots below it that hold an item. A
// full array grows by a fixed step chosen at construction, not by doubling.
//
// T is the slot type: a plain pointer or number (an empty slot is null or 0),
// or an NiRefPtr, which makes the counted array: every filled slot holds one
// reference, released when the slot is emptied, overwritten or destroyed, and
// an item the array cannot store is released at once.
//
// Invariants: used size <= maximum size; every slot at or above the used size
// is empty; the non-null count is the number of filled slots.
template <class T> class NiGrowArray
{
public:
    explicit NiGrowArray(uint32_t uiMaxSize = 1, uint32_t uiGrowBy = 1)
        : m_aItems(std::make_unique<T[]>(uiMaxSize)), m_uiMaxSize(uiMaxSize), m_uiGrowBy(uiGrowBy)
    {
    }

    NiGrowArray(const NiGrowArray&) = delete;
    NiGrowArray& operator=(const NiGrowArray&) = delete;

    uint32_t GetAllocatedSize() const { return m_uiMaxSize; }
    uint32_t GetSize() const { return m_uiUsedSize; }
    uint32_t GetEffectiveSize() const { return m_uiNonNullCount; }
    uint32_t GetGrowBy() const { return m_uiGrowBy; }

    // Reallocates to exactly uiMaxSize slots. Slots from the new size up are
    // emptied first and the used size cut to fit.
    void SetMaxSize(uint32_t uiMaxSize)
    {
        if (uiMaxSize == m_uiMaxSize)
            return;
        auto aNewItems = std::make_unique<T[]>(uiMaxSize);
        uint32_t uiKept = m_uiUsedSize < uiMaxSize ? m_uiUsedSize : uiMaxSize;
        for (uint32_t i = 0; i < uiKept; ++i)
            aNewItems[i] = std::move(m_aItems[i]);
        for (uint32_t i = uiKept; i < m_uiUsedSize; ++i)
        {
            if (IsFilled(m_aItems[i]))
                --m_uiNonNullCount;
        }
        m_uiUsedSize = uiKept;
        m_uiMaxSize = uiMaxSize;
        // The dropped items are released with the old block, after the array
        // is consistent again.
        std::swap(m_aItems, aNewItems);
    }

    // Puts the item in the slot; an index at or beyond the maximum size stores
    // nothing. Returns the index either way.
    uint32_t Store(uint32_t uiIndex, T item)
    {
        if (uiIndex >= m_uiMaxSize)
            return uiIndex;
        const bool bNewFilled = IsFilled(item);
        if (uiIndex >= m_uiUsedSize)
        {
            m_uiUsedSize = uiIndex + 1;
            if (bNewFilled)
                ++m_uiNonNullCount;
        }
        else
        {
            const bool bOldFilled = IsFilled(m_aItems[uiIndex]);
            if (bNewFilled && !bOldFilled)
                ++m_uiNonNullCount;
            else if (!bNewFilled && bOldFilled)
                --m_uiNonNullCount;
        }
        [[maybe_unused]] T oldItem = std::exchange(m_aItems[uiIndex], std::move(item));
        return uiIndex;
    }

    // As Store, first growing a too-small array to index + grow-by slots. With a
    // grow-by of 0 a full array stores nothing.
    uint32_t StoreGrowing(uint32_t uiIndex, T item)
    {
        if (uiIndex >= m_uiMaxSize)
        {
            const uint64_t uiWanted = uint64_t(uiIndex) + m_uiGrowBy;
            if (uiWanted <= UINT32_MAX && uiWanted != m_uiMaxSize)
                SetMaxSize(static_cast<uint32_t>(uiWanted));
        }
        return Store(uiIndex, std::move(item));
    }

    uint32_t AddAtEnd(T item) { return StoreGrowing(m_uiUsedSize, std::move(item)); }

    // Fills the first empty slot below the used size, else appends (growing a
    // full array). A null item is refused with a result of 0; otherwise the
    // result is the new non-null count.
    uint32_t PutInFirstFree(T item)
    {
        if (!IsFilled(item))
            return 0;
        if (m_uiNonNullCount < m_uiUsedSize)
        {
            for (uint32_t i = 0; i < m_uiUsedSize; ++i)
            {
                if (!IsFilled(m_aItems[i]))
                {
                    Store(i, std::move(item));
                    return m_uiNonNullCount;
                }
            }
        }
        AddAtEnd(std::move(item));
        return m_uiNonNullCount;
    }

    // The counted arrays' name for the same placement.
    void PutRefInFirstFree(T item) { PutInFirstFree(std::move(item)); }

    // Empties the slot and hands its item to the caller (null beyond the used
    // size). Emptying the last used slot lowers the used size by exactly one;
    // empty slots below it are not trimmed.
    T RemoveAt(uint32_t uiIndex)
    {
        if (uiIndex >= m_uiUsedSize)
            return T{};
        T item = std::exchange(m_aItems[uiIndex], T{});
        if (IsFilled(item))
            --m_uiNonNullCount;
        if (uiIndex == m_uiUsedSize - 1)
            --m_uiUsedSize;
        return item;
    }

    // The slot's item (a new reference in a counted array); empty at or beyond
    // the used size.
    T GetAt(uint32_t uiIndex) const { return uiIndex < m_uiUsedSize ? m_aItems[uiIndex] : T{}; }

    // The slots below the used size, empty ones included, for reading.
    const T* begin() const { return m_aItems.get(); }
    const T* end() const { return m_aItems.get() + m_uiUsedSize; }

private:
    static bool IsFilled(const T& item) { return static_cast<bool>(item); }

    std::unique_ptr<T[]> m_aItems;
    uint32_t m_uiMaxSize;
    uint32_t m_uiUsedSize = 0;
    uint32_t m_uiNonNullCount = 0;
    uint32_t m_uiGrowBy;
};
