#pragma once

#include "scene/graph/NiPrecedenceSorter.h"
#include "scene/object/NiBlockPool.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiPooledList.h"
#include "scene/object/NiRefPtr.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class NiAccumulatorEntry;
class NiCamera;

// Orders held-back objects back to front. Each entry gets the screen-space box of its world
// bound; the boxes are split into clusters that overlap in depth, then in y, then in x, so that
// only objects whose boxes overlap in all three are compared pairwise; each cluster is ordered
// by the pairwise depth test with a topological sort. Entries then come out far to near.
class NiClusterSorter
{
public:
    using EntryList = NiPooledList<NiAccumulatorEntry*>;

    // One entry with its box: x and y from -1 to 1, z from 0 at the near plane to 1 at far.
    struct BoxRecord
    {
        NiAccumulatorEntry* m_pkEntry = nullptr;
        NiPoint3 m_kMin = NiPoint3::ZERO;
        NiPoint3 m_kMax = NiPoint3::ZERO;

        static void* operator new(std::size_t uiSize);
        static void operator delete(void* pvMemory, std::size_t uiSize);
    };
    using BoxRecordPool = NiBlockPool<BoxRecord, 4>;

    NiClusterSorter();
    virtual ~NiClusterSorter();
    NiClusterSorter(const NiClusterSorter&) = delete;
    NiClusterSorter& operator=(const NiClusterSorter&) = delete;

    virtual void SortClusters(const EntryList& kEntries);
    virtual void ResetCursor();
    // The next entry from the last record to the first (far to near), or null at the end.
    virtual NiAccumulatorEntry* NextEntry();
    virtual void ReleaseRecords();

    void SetCamera(NiCamera* pkCamera);
    NiCamera* GetCamera() const { return m_spCamera; }
    int32_t GetRecordCount() const { return m_iRecordCount; }
    const NiPrecedenceSorter& GetPrecedenceSorter() const { return m_kPrecedenceSorter; }

    // -1 when a stands before b (a is nearer), 1 when b does, 0 when their boxes do not overlap
    // on screen.
    static int32_t PairOrder(const BoxRecord& kA, const BoxRecord& kB, const NiPoint3& kEye);

private:
    // Splits every group into the runs of its records (sorted by the minimum on the axis) that
    // overlap on that axis.
    void SplitGroups(int32_t iAxis);
    void OrderGroup(int32_t iStart, int32_t iLength);

    NiRefPtr<NiCamera> m_spCamera;
    int32_t m_iRecordCount = 0;
    std::vector<BoxRecord*> m_kRecords;
    // At a group's first record: the group's length.
    std::vector<int32_t> m_kGroupLengths;
    int32_t m_iCursor = 0;
    std::vector<const void*> m_kScratch;
    NiPrecedenceSorter m_kPrecedenceSorter{16};
};
