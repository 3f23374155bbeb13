#pragma once

// Pooled memory: blocks of up to 128 bytes come from pools of equal-sized slots, larger ones
// from the heap. Every block is 16-byte aligned and preceded by a 32-bit size word holding
// the request raised to a multiple of 4 (a request of 0 counts as 1). The embedded
// interpreter allocates through the SK* hooks below; the renderer uses PoolCallocate and
// PoolFree.
//
// Sections: allocation functions; interpreter hooks; SKPoolManager (script-facing
// operations and read-only statistics).

#include <cstddef>
#include <cstdint>

// Allocation. A failed allocation (heap exhausted, or a request too large for the 32-bit
// size word) gives null; a failed reallocation leaves the old block valid. The tag and line
// describe the caller and are not kept.
void* PoolAllocate(size_t size, const char* tag, int line);
void* PoolCallocate(size_t count, size_t size, const char* tag, int line);
// A size of 0 frees the block and gives null.
void* PoolReallocate(void* block, size_t size, const char* tag, int line);
void PoolFree(void* block);

// The interpreter's allocator table takes functions of exactly these shapes (a context
// pointer first); the script host installs them for its memory and object domains. The
// interpreter treats a null result as failure, so a size of 0 counts as 1 here, also when
// reallocating.
void* SKMalloc(void* context, size_t size);
void* SKCalloc(void* context, size_t count, size_t size);
void* SKRealloc(void* context, void* block, size_t size);
void SKFree(void* context, void* block);

// Called for every pooled block in use: the slot (whose last four header bytes hold the
// size word), the slot size and the caller's data.
using SKPMWalkObjectsFunc = void (*)(void* slot, uint32_t slotSize, void* userData);

class SKPoolManager
{
public:
    // Global figures, all in bytes or counts since start-up.
    struct Statistics
    {
        uint32_t uiPooledObjects; // pooled blocks in use
        uint32_t uiPooledBytes;   // their slot bytes
        uint32_t uiSlots;         // slots in all chunks
        uint32_t uiChunkBytes;    // bytes of all chunks
        uint32_t uiHeapBlocks;    // blocks over 128 bytes
        uint32_t uiHeapBytes;     // their sizes
        uint32_t uiTotalBytes;    // chunk bytes + heap bytes
        uint32_t uiHighWaterMark; // largest total so far
    };

    // One pool, as the summary prints it.
    struct PoolInfo
    {
        uint32_t uiSlotSize;
        uint32_t uiObjectsInUse;
        uint32_t uiBytesInUse;
        uint32_t uiTotalObjects;
        uint32_t uiTotalBytes;
        uint32_t uiChunkCount;
    };

    constexpr SKPoolManager() = default;
    // At exit every later free that empties a pool gives its memory back at once.
    ~SKPoolManager();

    SKPoolManager(const SKPoolManager&) = delete;
    SKPoolManager& operator=(const SKPoolManager&) = delete;

    // Frees the chunks of every pool that has no block in use and drops those pools.
    void Purge();
    // Writes the usage summary to the debugger output.
    void PrintPoolSummary();
    // Calls the function for every pooled block in use, pools by ascending slot size,
    // chunks in creation order, slots in address order.
    void WalkObjects(SKPMWalkObjectsFunc function, void* userData);

    // Kept for scripts; memory dumps are not built into this engine.
    void PrintFull() {}
    void PrintSummary() {}
    void DumpFile(const char*) {}
    void DumpBlocks(const char*) {}
    void DumpObjects(const char*) {}
    void DisplayFile(const char* fileName, int option = 0);

    static Statistics GetStatistics();
    static uint32_t GetPoolCount();
    // False when the index is past the last pool.
    static bool GetPoolInfo(uint32_t index, PoolInfo& info);
    // The slot size that serves a request (its pool's key); 0 for a heap-sized request.
    static uint32_t GetSlotSize(size_t size);
    // The size word in front of a block.
    static uint32_t GetBlockSize(const void* block);
    // While set (the default), pools stay when their last block is freed.
    static void SetKeepEmptyPools(bool keep);
};

extern SKPoolManager g_kPoolManager;
