#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/object/NiBlockPool.h"
#include "scene/object/NiRefPtr.h"

#include <cstddef>
#include <cstdint>

class NiCamera;

// One object an accumulator held back: a counted reference to it and the camera's four
// active-plane mask words at the time it was queued. Entries come from a pool of their own,
// since accumulators fill and empty their lists every frame.
class NiAccumulatorEntry
{
public:
    static constexpr uint32_t MASK_WORDS = 4;

    NiAccumulatorEntry(NiAVObject* pkObject, const uint32_t auiPlaneMask[MASK_WORDS]);

    NiAVObject* GetObject() const { return m_spObject; }
    const uint32_t* GetPlaneMask() const { return m_auiPlaneMask; }

    // The queued object's first controller hears that it passed culling, then the object draws.
    void Draw(NiCamera* pkCamera);

    static void* operator new(std::size_t uiSize);
    static void operator delete(void* pvMemory, std::size_t uiSize);

private:
    NiRefPtr<NiAVObject> m_spObject;
    uint32_t m_auiPlaneMask[MASK_WORDS];
};

using NiAccumulatorEntryPool = NiBlockPool<NiAccumulatorEntry, 4>;
