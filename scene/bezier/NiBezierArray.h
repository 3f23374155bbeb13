#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

// The growable output array of a patch's tessellation: a block of entries with a capacity
// fixed at creation, a count of entries in use and a grow factor. An append to a full array
// grows it by the factor; the renderer reads the block directly, so the block moves only when
// it grows or the array is made again. New blocks are zero-filled.
template <class T> class NiBezierArray
{
public:
    explicit NiBezierArray(uint32_t uiCapacity, uint32_t uiGrowBy = 2)
        : m_spBlock(new T[uiCapacity]()), m_uiCapacity(uiCapacity), m_uiGrowBy(uiGrowBy)
    {
    }
    virtual ~NiBezierArray() = default;
    NiBezierArray(const NiBezierArray&) = delete;
    NiBezierArray& operator=(const NiBezierArray&) = delete;

    T* GetBase() const { return m_spBlock.get(); }
    uint32_t GetCapacity() const { return m_uiCapacity; }
    uint32_t GetCount() const { return m_uiCount; }
    T& GetAt(uint32_t uiIndex) const { return m_spBlock[uiIndex]; }
    void RemoveAll() { m_uiCount = 0; }

    // Nothing when the capacity is already n or n would drop entries in use.
    void SetCapacity(uint32_t uiCapacity)
    {
        if (uiCapacity == m_uiCapacity || uiCapacity < m_uiCount)
            return;
        std::unique_ptr<T[]> spBlock(new T[uiCapacity]());
        std::copy_n(m_spBlock.get(), m_uiCount, spBlock.get());
        m_spBlock = std::move(spBlock);
        m_uiCapacity = uiCapacity;
    }

    uint32_t Append(const T& kValue)
    {
        // An array made empty still grows: doubling 0 would never make room.
        while (m_uiCount >= m_uiCapacity)
            SetCapacity(std::max<uint32_t>(1, m_uiCapacity * std::max<uint32_t>(2, m_uiGrowBy)));
        m_spBlock[m_uiCount] = kValue;
        return m_uiCount++;
    }

private:
    std::unique_ptr<T[]> m_spBlock;
    uint32_t m_uiCapacity;
    uint32_t m_uiCount = 0;
    uint32_t m_uiGrowBy;
};
