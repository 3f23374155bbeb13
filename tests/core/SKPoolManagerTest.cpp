#include "core/SKPoolManager.h"

#include "platform/win32/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <vector>

namespace
{

// Each test starts and ends with no pooled memory in use and no pool left.
class SKPoolManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_kPoolManager.Purge();
        ASSERT_EQ(SKPoolManager::GetPoolCount(), 0u);
    }

    void TearDown() override
    {
        for (void* block : m_kBlocks)
            PoolFree(block);
        SKPoolManager::SetKeepEmptyPools(true);
        g_kPoolManager.Purge();
        SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
        EXPECT_EQ(SKPoolManager::GetPoolCount(), 0u);
        EXPECT_EQ(stats.uiPooledObjects, 0u);
        EXPECT_EQ(stats.uiHeapBlocks, 0u);
        EXPECT_EQ(stats.uiTotalBytes, 0u);
    }

    void* Allocate(size_t size)
    {
        void* block = PoolAllocate(size, "test", __LINE__);
        if (block)
            m_kBlocks.push_back(block);
        return block;
    }

    void Free(void* block)
    {
        std::erase(m_kBlocks, block);
        PoolFree(block);
    }

    void* Reallocate(void* block, size_t size)
    {
        void* result = PoolReallocate(block, size, "test", __LINE__);
        if (result || size == 0)
            std::erase(m_kBlocks, block);
        if (result && std::find(m_kBlocks.begin(), m_kBlocks.end(), result) == m_kBlocks.end())
            m_kBlocks.push_back(result);
        return result;
    }

    static SKPoolManager::PoolInfo Pool(uint32_t index)
    {
        SKPoolManager::PoolInfo info{};
        EXPECT_TRUE(SKPoolManager::GetPoolInfo(index, info));
        return info;
    }

    std::vector<void*> m_kBlocks;
};

bool IsAligned16(const void* block)
{
    return reinterpret_cast<uintptr_t>(block) % 16 == 0;
}

TEST_F(SKPoolManagerTest, SizeWordAndPlacementFollowTheRequest)
{
    struct Case
    {
        size_t uiRequest;
        uint32_t uiSizeWord;
        uint32_t uiSlotSize; // 0: a heap block
    };
    // Slots hold a 16-byte header and the block rounded up to 16 bytes.
    const Case cases[] = {
        {0, 4, 32},      {1, 4, 32},      {5, 8, 32},    {16, 16, 32},  {17, 20, 48},
        {100, 100, 128}, {128, 128, 144}, {129, 132, 0}, {200, 200, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.uiRequest);
        void* block = Allocate(c.uiRequest);
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(IsAligned16(block));
        EXPECT_EQ(SKPoolManager::GetBlockSize(block), c.uiSizeWord);
        EXPECT_EQ(SKPoolManager::GetSlotSize(c.uiRequest), c.uiSlotSize);
        std::memset(block, 0xAB, c.uiSizeWord);
    }
    // The pool table stays sorted by slot size whatever the order of first use.
    ASSERT_EQ(SKPoolManager::GetPoolCount(), 4u);
    EXPECT_EQ(Pool(0).uiSlotSize, 32u);
    EXPECT_EQ(Pool(1).uiSlotSize, 48u);
    EXPECT_EQ(Pool(2).uiSlotSize, 128u);
    EXPECT_EQ(Pool(3).uiSlotSize, 144u);
    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    EXPECT_EQ(stats.uiHeapBlocks, 2u);
    EXPECT_EQ(stats.uiHeapBytes, 332u);
    EXPECT_EQ(stats.uiPooledObjects, 7u);
}

TEST_F(SKPoolManagerTest, PoolsGrowByChunksOfTwoTwoFourEight)
{
    for (int i = 0; i < 3; ++i)
        Allocate(16);
    SKPoolManager::PoolInfo pool = Pool(0);
    EXPECT_EQ(SKPoolManager::GetPoolCount(), 1u);
    EXPECT_EQ(pool.uiChunkCount, 2u);
    EXPECT_EQ(pool.uiTotalObjects, 4u);
    EXPECT_EQ(pool.uiObjectsInUse, 3u);
    EXPECT_EQ(pool.uiBytesInUse, 3u * 32);

    Allocate(16);
    Allocate(16);
    pool = Pool(0);
    EXPECT_EQ(pool.uiChunkCount, 3u);
    EXPECT_EQ(pool.uiTotalObjects, 8u);
    EXPECT_EQ(pool.uiTotalBytes, 8u * 32);

    for (int i = 5; i < 9; ++i)
        Allocate(16);
    EXPECT_EQ(Pool(0).uiTotalObjects, 16u);

    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    EXPECT_EQ(stats.uiSlots, 16u);
    EXPECT_EQ(stats.uiChunkBytes, 16u * 32);
    EXPECT_EQ(stats.uiTotalBytes, 16u * 32);
    EXPECT_GE(stats.uiHighWaterMark, 16u * 32);
}

TEST_F(SKPoolManagerTest, ChunksNeverExceedSixtyFourSlots)
{
    for (int i = 0; i < 300; ++i)
        Allocate(8);
    // 2, 2, 4, 8, 16, 32, 64, 64, 64, 64 slots.
    EXPECT_EQ(Pool(0).uiChunkCount, 10u);
    EXPECT_EQ(Pool(0).uiTotalObjects, 320u);
}

TEST_F(SKPoolManagerTest, FreedSlotIsReusedFirst)
{
    void* first = Allocate(40);
    Allocate(40);
    Free(first);
    EXPECT_EQ(Allocate(40), first);
}

TEST_F(SKPoolManagerTest, ReallocateKeepsOrMovesAsTheRulesSay)
{
    struct Case
    {
        size_t uiFrom;
        size_t uiTo;
        int iSameBlock; // 1 same block, 0 moved, -1 either (the heap may grow in place)
        uint32_t uiSizeWordAfter;
    };
    const Case cases[] = {
        {64, 40, 1, 64},     // not larger and not much smaller: keeps slot and size word
        {64, 32, 0, 32},     // 32 bytes less moves
        {64, 68, 0, 68},     // growing moves
        {64, 64, 1, 64},     //
        {200, 300, -1, 300}, // heap to heap
        {200, 100, 0, 100},  // heap to pool
        {100, 200, 0, 200},  // pool to heap
        {8, 3, 1, 8},        //
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.uiFrom << " -> " << c.uiTo);
        auto* block = static_cast<uint8_t*>(Allocate(c.uiFrom));
        for (size_t i = 0; i < c.uiFrom; ++i)
            block[i] = static_cast<uint8_t>(i);
        auto* result = static_cast<uint8_t*>(Reallocate(block, c.uiTo));
        ASSERT_NE(result, nullptr);
        if (c.iSameBlock >= 0)
        {
            EXPECT_EQ(result == block, c.iSameBlock == 1);
        }
        EXPECT_TRUE(IsAligned16(result));
        EXPECT_EQ(SKPoolManager::GetBlockSize(result), c.uiSizeWordAfter);
        for (size_t i = 0; i < std::min(c.uiFrom, c.uiTo); ++i)
            ASSERT_EQ(result[i], static_cast<uint8_t>(i));
        std::memset(result, 0xCD, c.uiTo);
    }
    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    EXPECT_EQ(stats.uiHeapBlocks, 2u);
    EXPECT_EQ(stats.uiHeapBytes, 500u);
}

TEST_F(SKPoolManagerTest, ReallocateToZeroFreesAndFromNullAllocates)
{
    void* block = Allocate(24);
    EXPECT_EQ(Reallocate(block, 0), nullptr);
    EXPECT_EQ(SKPoolManager::GetStatistics().uiPooledObjects, 0u);
    EXPECT_EQ(PoolReallocate(nullptr, 0, "test", 0), nullptr);
    void* fresh = Reallocate(nullptr, 12);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(SKPoolManager::GetBlockSize(fresh), 12u);
}

TEST_F(SKPoolManagerTest, CallocateZeroesCountTimesSize)
{
    // Dirty a slot first so that the zeroing is what the test sees.
    void* dirty = Allocate(16);
    std::memset(dirty, 0xFF, 16);
    Free(dirty);
    auto* block = static_cast<uint8_t*>(PoolCallocate(3, 5, "test", 0));
    ASSERT_EQ(block, dirty);
    m_kBlocks.push_back(block);
    EXPECT_EQ(SKPoolManager::GetBlockSize(block), 16u);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(block[i], 0) << i;
}

TEST_F(SKPoolManagerTest, OversizedRequestsFailWithoutTouchingMemory)
{
    EXPECT_EQ(PoolAllocate(SIZE_MAX, "test", 0), nullptr);
    EXPECT_EQ(PoolAllocate(0xFFFFFFFFu, "test", 0), nullptr);
    // count x size wraps around: the product must not be taken as a small size.
    EXPECT_EQ(PoolCallocate(SIZE_MAX / 2 + 2, 2, "test", 0), nullptr);
    EXPECT_EQ(PoolCallocate(0x10000, 0x10001, "test", 0), nullptr);
    // A failed reallocation leaves the old block as it was.
    void* block = Allocate(32);
    EXPECT_EQ(PoolReallocate(block, SIZE_MAX - 8, "test", 0), nullptr);
    EXPECT_EQ(SKPoolManager::GetBlockSize(block), 32u);
    EXPECT_EQ(SKPoolManager::GetStatistics().uiTotalBytes, SKPoolManager::GetStatistics().uiChunkBytes);
}

TEST_F(SKPoolManagerTest, InterpreterHooksNeverAnswerNullForSizeZero)
{
    void* block = SKMalloc(nullptr, 0);
    ASSERT_NE(block, nullptr);
    // A null answer would tell the interpreter the old block is still valid.
    void* resized = SKRealloc(nullptr, block, 0);
    ASSERT_NE(resized, nullptr);
    EXPECT_EQ(SKPoolManager::GetStatistics().uiPooledObjects, 1u);
    void* zeroed = SKCalloc(nullptr, 0, 8);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(SKCalloc(nullptr, SIZE_MAX, 2), nullptr);
    SKFree(nullptr, resized);
    SKFree(nullptr, zeroed);
    SKFree(nullptr, nullptr);
    EXPECT_EQ(SKPoolManager::GetStatistics().uiPooledObjects, 0u);
}

TEST_F(SKPoolManagerTest, EmptyPoolsStayUntilPurged)
{
    void* small = Allocate(8);
    void* large = Allocate(100);
    Free(small);
    uint32_t highWater = SKPoolManager::GetStatistics().uiHighWaterMark;
    EXPECT_GE(highWater, 2u * 32 + 2u * 128);
    EXPECT_EQ(SKPoolManager::GetPoolCount(), 2u);
    EXPECT_EQ(Pool(0).uiObjectsInUse, 0u);
    EXPECT_EQ(Pool(0).uiTotalObjects, 2u);

    g_kPoolManager.Purge();
    ASSERT_EQ(SKPoolManager::GetPoolCount(), 1u);
    EXPECT_EQ(Pool(0).uiSlotSize, 128u);
    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    EXPECT_EQ(stats.uiSlots, 2u);
    EXPECT_EQ(stats.uiChunkBytes, 2u * 128);
    EXPECT_EQ(stats.uiTotalBytes, 2u * 128);
    EXPECT_EQ(stats.uiHighWaterMark, highWater);

    // Once pools are no longer kept, the free that empties one gives it back.
    SKPoolManager::SetKeepEmptyPools(false);
    Free(large);
    EXPECT_EQ(SKPoolManager::GetPoolCount(), 0u);
    EXPECT_EQ(SKPoolManager::GetStatistics().uiTotalBytes, 0u);
}

TEST_F(SKPoolManagerTest, WalkVisitsEveryBlockInUseInOrder)
{
    std::vector<void*> small;
    for (int i = 0; i < 6; ++i)
        small.push_back(Allocate(20));
    void* large = Allocate(120);
    Allocate(500); // heap blocks are not walked
    Free(small[1]);
    Free(small[4]);

    struct Visit
    {
        void* pvSlot;
        uint32_t uiSlotSize;
    };
    std::vector<Visit> visits;
    g_kPoolManager.WalkObjects(
        [](void* slot, uint32_t slotSize, void* data) {
            static_cast<std::vector<Visit>*>(data)->push_back({slot, slotSize});
        },
        &visits);

    auto slotOf = [](void* block) { return static_cast<void*>(static_cast<char*>(block) - 16); };
    ASSERT_EQ(visits.size(), 5u);
    const void* expected[] = {slotOf(small[0]), slotOf(small[2]), slotOf(small[3]), slotOf(small[5]),
                              slotOf(large)};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(visits[i].pvSlot, expected[i]) << i;
    EXPECT_EQ(visits[0].uiSlotSize, 48u);
    EXPECT_EQ(visits[4].uiSlotSize, 144u);
    // The walk changes nothing about which slots are free.
    void* reused = Allocate(20);
    EXPECT_TRUE(reused == small[1] || reused == small[4]);
}

TEST_F(SKPoolManagerTest, SummaryReportsPoolsAndTotals)
{
    Allocate(10);
    Allocate(12);
    Allocate(300);
    win32::DebugOutputCapture kCapture;
    g_kPoolManager.PrintPoolSummary();
    const std::string expected =
        "\n**************************** SKPoolManager summary ****************************\n"
        "SKPoolManager: 1 Pool of objects still in existence\n"
        "\t\t2 used objects\t\t64 used object bytes\t"
        "(2 unused objects, 64 bytes in remaining buffers)\n"
        "\t\t1 block\t\t\t300 block bytes\n"
        "\t\t364 total bytes leaked\n\n"
        "\tPool of object size 32:\n"
        "\t\t2 total objects for 64 total bytes.  2 remaining in use for 64 used bytes\n"
        "*******************************************************************************\n";
    EXPECT_EQ(kCapture.GetText(), expected);
    EXPECT_EQ(kCapture.GetTexts().size(), 7u); // one debugger write per piece

    win32::DebugOutputCapture kDisplay;
    g_kPoolManager.DisplayFile("any.mem");
    EXPECT_EQ(kDisplay.GetText(), "Define SKMEMORY_DEBUG if you want to see mem-info.\n");
}

// Mixed churn against a record of what each block should hold: any overlap of blocks, a
// lost copy or a wrong statistic shows up here (and under the address sanitiser).
TEST_F(SKPoolManagerTest, ChurnKeepsEveryBlockIntact)
{
    std::mt19937 random(1234);
    struct Live
    {
        size_t uiSize;
        uint8_t ucFill;
    };
    std::map<uint8_t*, Live> live;
    auto fill = [](uint8_t* block, Live entry) { std::memset(block, entry.ucFill, entry.uiSize); };
    auto check = [](uint8_t* block, Live entry, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            if (block[i] != entry.ucFill)
                return false;
        return true;
    };

    for (int step = 0; step < 20000; ++step)
    {
        int action = int(random() % 10);
        if (live.empty() || action < 5)
        {
            size_t size = random() % 4 == 0 ? random() % 600 : random() % 129;
            auto* block = static_cast<uint8_t*>(PoolAllocate(size, "churn", 0));
            ASSERT_NE(block, nullptr);
            ASSERT_TRUE(IsAligned16(block));
            ASSERT_EQ(live.count(block), 0u);
            Live entry{size, static_cast<uint8_t>(step)};
            fill(block, entry);
            live[block] = entry;
            continue;
        }
        auto it = live.begin();
        std::advance(it, random() % live.size());
        uint8_t* block = it->first;
        Live entry = it->second;
        ASSERT_TRUE(check(block, entry, entry.uiSize));
        live.erase(it);
        if (action < 8)
        {
            PoolFree(block);
            continue;
        }
        size_t size = random() % 300;
        auto* moved = static_cast<uint8_t*>(PoolReallocate(block, size, "churn", 0));
        if (size == 0)
        {
            ASSERT_EQ(moved, nullptr);
            continue;
        }
        ASSERT_NE(moved, nullptr);
        ASSERT_TRUE(check(moved, entry, std::min(entry.uiSize, size)));
        Live resized{size, static_cast<uint8_t>(step)};
        fill(moved, resized);
        live[moved] = resized;
    }

    uint32_t pooled = 0;
    uint32_t heap = 0;
    for (auto& [block, entry] : live)
        (SKPoolManager::GetBlockSize(block) <= 128 ? pooled : heap)++;
    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    EXPECT_EQ(stats.uiPooledObjects, pooled);
    EXPECT_EQ(stats.uiHeapBlocks, heap);
    EXPECT_EQ(stats.uiTotalBytes, stats.uiChunkBytes + stats.uiHeapBytes);
    for (auto& [block, entry] : live)
    {
        ASSERT_TRUE(check(block, entry, entry.uiSize));
        PoolFree(block);
    }
}

} // namespace
