#include "scene/object/NiBlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

namespace
{

// Shaped like an accumulator entry: a pointer and four mask words.
class PooledEntry
{
public:
    using Pool = NiBlockPool<PooledEntry, 4>;

    static void* operator new(std::size_t uiSize)
    {
        if (void* pMemory = Pool::Allocate(uiSize))
            return pMemory;
        throw std::bad_alloc();
    }
    static void operator delete(void* pMemory, std::size_t uiSize) { Pool::Free(pMemory, uiSize); }

    virtual ~PooledEntry() = default;

    void* m_pObject = nullptr;
    uint32_t m_auiMask[4] = {};
};

class LargerEntry : public PooledEntry
{
public:
    uint64_t m_auiMore[8] = {};
};

TEST(NiBlockPoolTest, FreedEntriesServeLaterRequestsWithoutNewBlocks)
{
    // Start from a pool with no free entry.
    std::vector<PooledEntry*> apHeld;
    while (PooledEntry::Pool::GetFreeCount() > 0)
        apHeld.push_back(new PooledEntry);
    const uint32_t uiBlocksBefore = PooledEntry::Pool::GetBlockCount();

    std::vector<PooledEntry*> apEntries;
    for (int i = 0; i < 5; ++i)
        apEntries.push_back(new PooledEntry);
    EXPECT_EQ(PooledEntry::Pool::GetBlockCount(), uiBlocksBefore + 2);
    EXPECT_EQ(PooledEntry::Pool::GetFreeCount(), 3u);
    for (PooledEntry* pEntry : apEntries)
        delete pEntry;
    EXPECT_EQ(PooledEntry::Pool::GetBlockCount(), uiBlocksBefore + 2);
    EXPECT_EQ(PooledEntry::Pool::GetFreeCount(), 8u);

    apEntries.clear();
    for (int i = 0; i < 8; ++i)
        apEntries.push_back(new PooledEntry);
    EXPECT_EQ(PooledEntry::Pool::GetBlockCount(), uiBlocksBefore + 2);
    EXPECT_EQ(PooledEntry::Pool::GetFreeCount(), 0u);

    // The entry freed last is the next one handed out.
    PooledEntry* pFreed = apEntries[3];
    delete pFreed;
    apEntries[3] = new PooledEntry;
    EXPECT_EQ(apEntries[3], pFreed);

    for (PooledEntry* pEntry : apEntries)
        delete pEntry;
    for (PooledEntry* pEntry : apHeld)
        delete pEntry;
}

TEST(NiBlockPoolTest, OtherSizesUseTheGeneralHeapBothWays)
{
    const uint32_t uiBlocksBefore = PooledEntry::Pool::GetBlockCount();
    const uint32_t uiFreeBefore = PooledEntry::Pool::GetFreeCount();
    PooledEntry* pLarger = new LargerEntry;
    delete pLarger;
    EXPECT_EQ(PooledEntry::Pool::GetBlockCount(), uiBlocksBefore);
    EXPECT_EQ(PooledEntry::Pool::GetFreeCount(), uiFreeBefore);
}

} // namespace
