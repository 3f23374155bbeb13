#include "core/SKPoolManager.h"

#include "platform/win32/DebugOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Sections: layout and state; pools and chunks; allocation; interpreter hooks;
// SKPoolManager.

SKPoolManager g_kPoolManager;

namespace
{

// ---- layout and state ------------------------------------------------------------------

// A 16-byte header keeps every block 16-byte aligned (the interpreter and vector code need
// it); the size word sits in its last four bytes, right in front of the block.
constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kLargestPooled = 128;
constexpr uint16_t kFirstChunkCount = 2;
constexpr uint16_t kLargestChunkCount = 64;
constexpr uint32_t kReportStep = 0xFFFFF;
// Pooled size words 4..128 fall into eight classes of 16 bytes, one pool each.
constexpr uint32_t kClassCount = kLargestPooled / 16;
constexpr uint8_t kNoPool = 0xFF;
// Larger requests do not fit the size word once rounded and given their header.
constexpr size_t kLargestRequest = 0xFFFFFFFFu - 2 * kHeaderSize;

struct Chunk
{
    uint16_t usObjectCount;
    uint16_t usSlotSize;
    char* pcMemory;
};

// The counts the summary prints, then the pool's own bookkeeping.
struct Pool : SKPoolManager::PoolInfo
{
    uint32_t uiChunkCapacity;
    Chunk* pkChunks;
    void* pvFreeList; // a free slot's first word links to the next free slot
    uint16_t usFirstChunkCount;
    uint16_t usLargestChunkCount;
};

// Plain constant-initialised data: usable from the first static constructor to the last
// static destructor.
struct PoolState
{
    Pool* pkPools;
    uint32_t uiPoolCount;
    SKPoolManager::Statistics kStats;
    uint32_t uiLastReported;
    uint32_t uiReportThreshold; // 0: off
    bool bKeepEmptyPools;
    // Table index of each class's pool (kNoPool when it has none), so that the hot paths
    // need no search; rebuilt whenever the table changes.
    uint8_t aucPoolOfClass[kClassCount];
};

constinit PoolState s_kState{
    nullptr, 0, {}, 0, 0, true, {kNoPool, kNoPool, kNoPool, kNoPool, kNoPool, kNoPool, kNoPool, kNoPool}};

uint32_t RoundUp4(size_t size)
{
    return static_cast<uint32_t>((size + 3) & ~size_t(3));
}

uint32_t SizeClass(uint32_t sizeWord)
{
    return (sizeWord - 1) >> 4;
}

uint32_t SlotSizeForWord(uint32_t sizeWord)
{
    return kHeaderSize + 16 * (SizeClass(sizeWord) + 1);
}

uint32_t& SizeWordOf(void* block)
{
    return *reinterpret_cast<uint32_t*>(static_cast<char*>(block) - 4);
}

void UpdateHighWater()
{
    SKPoolManager::Statistics& stats = s_kState.kStats;
    if (stats.uiTotalBytes <= stats.uiHighWaterMark)
        return;
    stats.uiHighWaterMark = stats.uiTotalBytes;
    if (s_kState.uiReportThreshold != 0 && s_kState.uiReportThreshold < stats.uiTotalBytes &&
        stats.uiTotalBytes - s_kState.uiLastReported > kReportStep)
    {
        s_kState.uiLastReported = stats.uiTotalBytes;
        g_kPoolManager.DumpFile("HighWaterUsage.mem");
    }
}

// ---- pools and chunks ------------------------------------------------------------------

// Index of the first pool whose slot size is not below the given one.
uint32_t LowerBound(uint32_t slotSize)
{
    uint32_t low = 0;
    uint32_t high = s_kState.uiPoolCount;
    while (low < high)
    {
        uint32_t middle = (low + high) / 2;
        if (s_kState.pkPools[middle].uiSlotSize < slotSize)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void RebuildClassIndex()
{
    std::fill(std::begin(s_kState.aucPoolOfClass), std::end(s_kState.aucPoolOfClass), kNoPool);
    for (uint32_t i = 0; i < s_kState.uiPoolCount; ++i)
        s_kState.aucPoolOfClass[(s_kState.pkPools[i].uiSlotSize - kHeaderSize) / 16 - 1] = uint8_t(i);
}

Pool* PoolOfWord(uint32_t sizeWord)
{
    uint8_t index = s_kState.aucPoolOfClass[SizeClass(sizeWord)];
    return index == kNoPool ? nullptr : &s_kState.pkPools[index];
}

// Used when a class has no pool yet: makes one at its sorted place in the table.
Pool* InsertPool(uint32_t slotSize)
{
    uint32_t index = LowerBound(slotSize);

    auto* pools =
        static_cast<Pool*>(std::realloc(s_kState.pkPools, (s_kState.uiPoolCount + 1) * sizeof(Pool)));
    if (!pools)
        return nullptr;
    std::memmove(pools + index + 1, pools + index, (s_kState.uiPoolCount - index) * sizeof(Pool));
    pools[index] = Pool{{slotSize, 0, 0, 0, 0, 0}, 0, nullptr, nullptr, kFirstChunkCount, kLargestChunkCount};
    s_kState.pkPools = pools;
    ++s_kState.uiPoolCount;
    RebuildClassIndex();
    return &pools[index];
}

bool AddChunk(Pool& pool)
{
    if (pool.uiChunkCount == pool.uiChunkCapacity)
    {
        uint32_t capacity = pool.uiChunkCapacity ? pool.uiChunkCapacity * 2 : 4;
        auto* chunks = static_cast<Chunk*>(std::realloc(pool.pkChunks, capacity * sizeof(Chunk)));
        if (!chunks)
            return false;
        pool.pkChunks = chunks;
        pool.uiChunkCapacity = capacity;
    }

    uint32_t objects = pool.uiObjectsInUse ? pool.uiObjectsInUse : pool.usFirstChunkCount;
    objects = std::min<uint32_t>(objects, pool.usLargestChunkCount);
    uint32_t bytes = objects * pool.uiSlotSize;
    auto* memory = static_cast<char*>(std::malloc(bytes));
    if (!memory)
        return false;

    // Thread the slots in address order in front of the free list.
    void* next = pool.pvFreeList;
    for (uint32_t i = objects; i-- > 0;)
    {
        char* slot = memory + i * pool.uiSlotSize;
        *reinterpret_cast<void**>(slot) = next;
        next = slot;
    }
    pool.pvFreeList = next;

    pool.pkChunks[pool.uiChunkCount++] =
        Chunk{static_cast<uint16_t>(objects), static_cast<uint16_t>(pool.uiSlotSize), memory};
    pool.uiTotalObjects += objects;
    pool.uiTotalBytes += bytes;

    SKPoolManager::Statistics& stats = s_kState.kStats;
    stats.uiSlots += objects;
    stats.uiChunkBytes += bytes;
    stats.uiTotalBytes += bytes;
    UpdateHighWater();
    return true;
}

char* TakeSlot(Pool& pool)
{
    if (!pool.pvFreeList && !AddChunk(pool))
        return nullptr;
    auto* slot = static_cast<char*>(pool.pvFreeList);
    pool.pvFreeList = *reinterpret_cast<void**>(slot);
    ++pool.uiObjectsInUse;
    pool.uiBytesInUse += pool.uiSlotSize;
    ++s_kState.kStats.uiPooledObjects;
    s_kState.kStats.uiPooledBytes += pool.uiSlotSize;
    return slot;
}

void ReleasePoolMemory(Pool& pool)
{
    SKPoolManager::Statistics& stats = s_kState.kStats;
    for (uint32_t i = 0; i < pool.uiChunkCount; ++i)
    {
        const Chunk& chunk = pool.pkChunks[i];
        uint32_t bytes = uint32_t(chunk.usObjectCount) * chunk.usSlotSize;
        stats.uiSlots -= chunk.usObjectCount;
        stats.uiChunkBytes -= bytes;
        stats.uiTotalBytes -= bytes;
        std::free(chunk.pcMemory);
    }
    std::free(pool.pkChunks);
}

// ---- allocation ------------------------------------------------------------------------

void* AllocateWord(uint32_t sizeWord)
{
    if (sizeWord <= kLargestPooled)
    {
        Pool* pool = PoolOfWord(sizeWord);
        if (!pool)
            pool = InsertPool(SlotSizeForWord(sizeWord));
        char* slot = pool ? TakeSlot(*pool) : nullptr;
        if (!slot)
            return nullptr;
        void* block = slot + kHeaderSize;
        SizeWordOf(block) = sizeWord;
        return block;
    }

    auto* memory = static_cast<char*>(std::malloc(size_t(sizeWord) + kHeaderSize));
    if (!memory)
        return nullptr;
    void* block = memory + kHeaderSize;
    SizeWordOf(block) = sizeWord;
    SKPoolManager::Statistics& stats = s_kState.kStats;
    ++stats.uiHeapBlocks;
    stats.uiHeapBytes += sizeWord;
    stats.uiTotalBytes += sizeWord;
    UpdateHighWater();
    return block;
}

} // namespace

void* PoolAllocate(size_t size, const char*, int)
{
    if (size > kLargestRequest)
        return nullptr;
    return AllocateWord(RoundUp4(size ? size : 1));
}

void* PoolCallocate(size_t count, size_t size, const char* tag, int line)
{
    if (size != 0 && count > kLargestRequest / size)
        return nullptr;
    void* block = PoolAllocate(count * size, tag, line);
    if (block)
        std::memset(block, 0, count * size);
    return block;
}

void PoolFree(void* block)
{
    if (!block)
        return;
    uint32_t sizeWord = SizeWordOf(block);
    char* slot = static_cast<char*>(block) - kHeaderSize;
    SKPoolManager::Statistics& stats = s_kState.kStats;
    if (sizeWord > kLargestPooled)
    {
        --stats.uiHeapBlocks;
        stats.uiHeapBytes -= sizeWord;
        stats.uiTotalBytes -= sizeWord;
        std::free(slot);
        return;
    }

    Pool* pool = PoolOfWord(sizeWord);
    if (!pool)
        return; // not one of ours
    *reinterpret_cast<void**>(slot) = pool->pvFreeList;
    pool->pvFreeList = slot;
    --pool->uiObjectsInUse;
    pool->uiBytesInUse -= pool->uiSlotSize;
    --stats.uiPooledObjects;
    stats.uiPooledBytes -= pool->uiSlotSize;
    if (pool->uiObjectsInUse == 0 && !s_kState.bKeepEmptyPools)
        g_kPoolManager.Purge();
}

void* PoolReallocate(void* block, size_t size, const char* tag, int line)
{
    if (!block && size == 0)
        return nullptr;
    if (size > kLargestRequest)
        return nullptr;
    uint32_t sizeWord = RoundUp4(size);
    uint32_t oldWord = block ? SizeWordOf(block) : 0;
    if (block && oldWord == sizeWord)
        return block;

    if (oldWord > kLargestPooled && sizeWord > kLargestPooled)
    {
        char* memory = static_cast<char*>(block) - kHeaderSize;
        auto* moved = static_cast<char*>(std::realloc(memory, size_t(sizeWord) + kHeaderSize));
        if (!moved)
            return nullptr;
        void* resized = moved + kHeaderSize;
        SizeWordOf(resized) = sizeWord;
        SKPoolManager::Statistics& stats = s_kState.kStats;
        stats.uiHeapBytes += sizeWord - oldWord;
        stats.uiTotalBytes += sizeWord - oldWord;
        UpdateHighWater();
        return resized;
    }

    // A small shrink keeps the slot (and its old size word) and saves the copy.
    if (block && oldWord <= kLargestPooled && oldWord >= sizeWord && sizeWord >= oldWord / 2 &&
        oldWord - sizeWord < 32)
        return block;

    void* moved = nullptr;
    if (sizeWord > 0)
    {
        moved = PoolAllocate(sizeWord, tag, line);
        if (!moved)
            return nullptr;
        if (block)
            std::memcpy(moved, block, std::min(oldWord, sizeWord));
    }
    PoolFree(block);
    return moved;
}

// ---- interpreter hooks -----------------------------------------------------------------

void* SKMalloc(void*, size_t size)
{
    return PoolAllocate(size, "UNKNOWN C malloc()", 0);
}

void* SKCalloc(void*, size_t count, size_t size)
{
    return PoolCallocate(count, size, "UNKNOWN C calloc()", 0);
}

void* SKRealloc(void*, void* block, size_t size)
{
    // For the interpreter a null result means the old block is still valid.
    return PoolReallocate(block, size ? size : 1, "UNKNOWN C realloc()", 0);
}

void SKFree(void*, void* block)
{
    PoolFree(block);
}

// ---- SKPoolManager ---------------------------------------------------------------------

SKPoolManager::~SKPoolManager()
{
    s_kState.bKeepEmptyPools = false;
    Purge();
}

void SKPoolManager::Purge()
{
    uint32_t count = s_kState.uiPoolCount;
    for (uint32_t i = count; i-- > 0;)
    {
        Pool& pool = s_kState.pkPools[i];
        if (pool.uiObjectsInUse != 0)
            continue;
        ReleasePoolMemory(pool);
        std::memmove(&pool, &pool + 1, (s_kState.uiPoolCount - i - 1) * sizeof(Pool));
        --s_kState.uiPoolCount;
    }
    if (s_kState.uiPoolCount == count)
        return;
    RebuildClassIndex();
    if (s_kState.uiPoolCount == 0)
    {
        std::free(s_kState.pkPools);
        s_kState.pkPools = nullptr;
        return;
    }
    if (auto* pools = static_cast<Pool*>(std::realloc(s_kState.pkPools, s_kState.uiPoolCount * sizeof(Pool))))
        s_kState.pkPools = pools;
}

void SKPoolManager::WalkObjects(SKPMWalkObjectsFunc function, void* userData)
{
    std::vector<const void*> freeSlots;
    for (uint32_t p = 0; p < s_kState.uiPoolCount; ++p)
    {
        const Pool& pool = s_kState.pkPools[p];
        if (pool.uiObjectsInUse == 0)
            continue;
        freeSlots.clear();
        for (void* slot = pool.pvFreeList; slot; slot = *static_cast<void**>(slot))
            freeSlots.push_back(slot);
        std::sort(freeSlots.begin(), freeSlots.end());

        uint32_t passed = 0;
        for (uint32_t c = 0; c < pool.uiChunkCount && passed < pool.uiObjectsInUse; ++c)
        {
            const Chunk& chunk = pool.pkChunks[c];
            for (uint32_t s = 0; s < chunk.usObjectCount && passed < pool.uiObjectsInUse; ++s)
            {
                char* slot = chunk.pcMemory + s * pool.uiSlotSize;
                if (std::binary_search(freeSlots.begin(), freeSlots.end(), slot))
                    continue;
                ++passed;
                function(slot, pool.uiSlotSize, userData);
            }
        }
    }
}

namespace
{

const char* Plural(uint32_t count)
{
    return count == 1 ? "" : "s";
}

template <typename... Args> void Output(const char* format, Args... args)
{
    int length = std::snprintf(nullptr, 0, format, args...);
    if (length < 0)
        return;
    std::string text(size_t(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    OutputDebugStringA(text.c_str());
}

} // namespace

void SKPoolManager::PrintPoolSummary()
{
    const Statistics& stats = s_kState.kStats;
    Output("\n**************************** SKPoolManager summary ****************************\n"
           "SKPoolManager: %u Pool%s of objects still in existence\n",
           s_kState.uiPoolCount, Plural(s_kState.uiPoolCount));
    Output("\t\t%u used object%s\t\t%u used object bytes\t", stats.uiPooledObjects,
           Plural(stats.uiPooledObjects), stats.uiPooledBytes);
    Output("(%u unused object%s, %u bytes in remaining buffers)\n", stats.uiSlots, Plural(stats.uiSlots),
           stats.uiChunkBytes);
    Output("\t\t%u block%s\t\t\t%u block bytes\n", stats.uiHeapBlocks, Plural(stats.uiHeapBlocks),
           stats.uiHeapBytes);
    Output("\t\t%u total bytes leaked\n\n", stats.uiTotalBytes);
    for (uint32_t p = 0; p < s_kState.uiPoolCount; ++p)
    {
        const Pool& pool = s_kState.pkPools[p];
        Output("\tPool of object size %u:\n\t\t%u total objects for %u total bytes.  %u remaining in use for "
               "%u used bytes\n",
               pool.uiSlotSize, pool.uiTotalObjects, pool.uiTotalBytes, pool.uiObjectsInUse,
               pool.uiBytesInUse);
    }
    Output("*******************************************************************************\n");
}

void SKPoolManager::DisplayFile(const char*, int)
{
    OutputDebugStringA("Define SKMEMORY_DEBUG if you want to see mem-info.\n");
}

SKPoolManager::Statistics SKPoolManager::GetStatistics()
{
    return s_kState.kStats;
}

uint32_t SKPoolManager::GetPoolCount()
{
    return s_kState.uiPoolCount;
}

bool SKPoolManager::GetPoolInfo(uint32_t index, PoolInfo& info)
{
    if (index >= s_kState.uiPoolCount)
        return false;
    info = s_kState.pkPools[index];
    return true;
}

uint32_t SKPoolManager::GetSlotSize(size_t size)
{
    if (size > kLargestPooled)
        return 0;
    return SlotSizeForWord(RoundUp4(size ? size : 1));
}

uint32_t SKPoolManager::GetBlockSize(const void* block)
{
    return SizeWordOf(const_cast<void*>(block));
}

void SKPoolManager::SetKeepEmptyPools(bool keep)
{
    s_kState.bKeepEmptyPools = keep;
}
