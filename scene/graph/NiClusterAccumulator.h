#pragma once

#include "scene/graph/NiAccumulator.h"
#include "scene/graph/NiClusterSorter.h"

// An accumulator that holds back every object offered during the culled draw and, when the
// accumulation ends, draws them back to front (NiClusterSorter).
class NiClusterAccumulator : public NiAccumulator
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiClusterAccumulator();
    ~NiClusterAccumulator() override;

    bool BeginAccumulation(NiCamera* pkCamera) override;
    // Draws what was held back, far to near, then empties the list.
    void EndAccumulation() override;
    // Keeps the object with the camera's current plane mask; only during an accumulation.
    bool QueueObject(NiAVObject* pkObject) override;

    int32_t GetQueuedCount() const { return m_kEntries.GetCount(); }
    const NiClusterSorter& GetSorter() const { return m_kSorter; }

    NiObject* MakeClone() override;

protected:
    void ReleaseEntries();

    NiClusterSorter::EntryList m_kEntries{2};
    NiClusterSorter m_kSorter;
};
