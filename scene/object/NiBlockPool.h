#pragma once

#include "scene/object/NiPtrList.h"

#include <cstddef>
#include <cstdint>
#include <new>

// The fixed-size pool behind a class's own operator new and delete (the
// accumulator entries, the cluster sorter's box records): objects of T's size
// come from blocks of BLOCKSIZE slots, and a freed object goes to the front of
// a free list where its storage holds the link to the next free slot. Memory is
// never handed back while the program runs, so a list filled and emptied every
// frame stops touching the heap once the pool has grown; every block is freed
// at exit.
//
// Requests of another size (a derived class) go to the general heap, both ways.
template <class T, uint32_t BLOCKSIZE = 4> class NiBlockPool
{
    static_assert(BLOCKSIZE > 0);

public:
    // Null when memory runs out.
    static void* Allocate(std::size_t uiSize)
    {
        if (uiSize != sizeof(T))
            return ::operator new(uiSize, std::nothrow);
        State& kState = GetState();
        if (!kState.m_pFreeSlots && !kState.AddBlock())
            return nullptr;
        Slot* pSlot = kState.m_pFreeSlots;
        kState.m_pFreeSlots = pSlot->m_pNextFree;
        --kState.m_uiFreeCount;
        return pSlot->m_aucStorage;
    }

    static void Free(void* pMemory, std::size_t uiSize)
    {
        if (!pMemory)
            return;
        if (uiSize != sizeof(T))
        {
            ::operator delete(pMemory);
            return;
        }
        State& kState = GetState();
        Slot* pSlot = static_cast<Slot*>(pMemory);
        pSlot->m_pNextFree = kState.m_pFreeSlots;
        kState.m_pFreeSlots = pSlot;
        ++kState.m_uiFreeCount;
    }

    static uint32_t GetBlockCount() { return GetState().m_uiBlockCount; }
    static uint32_t GetFreeCount() { return GetState().m_uiFreeCount; }

private:
    union Slot
    {
        Slot* m_pNextFree;
        alignas(T) std::byte m_aucStorage[sizeof(T)];
    };

    struct Block
    {
        Slot m_akSlots[BLOCKSIZE];
    };

    struct State
    {
        State() = default;
        State(const State&) = delete;
        State& operator=(const State&) = delete;

        ~State()
        {
            for (Block* pBlock : m_kBlocks)
                delete pBlock;
        }

        // A new block's first slot is handed out at once; the others are
        // chained in order as the free list.
        bool AddBlock()
        {
            Block* pBlock = new (std::nothrow) Block;
            if (!pBlock)
                return false;
            m_kBlocks.AddHead(pBlock);
            ++m_uiBlockCount;
            for (uint32_t i = 0; i < BLOCKSIZE; ++i)
                pBlock->m_akSlots[i].m_pNextFree = i + 1 < BLOCKSIZE ? &pBlock->m_akSlots[i + 1] : nullptr;
            m_pFreeSlots = &pBlock->m_akSlots[0];
            m_uiFreeCount += BLOCKSIZE;
            return true;
        }

        NiPtrList<Block> m_kBlocks;
        Slot* m_pFreeSlots = nullptr;
        uint32_t m_uiBlockCount = 0;
        uint32_t m_uiFreeCount = 0;
    };

    static State& GetState()
    {
        static State s_kState;
        return s_kState;
    }
};
