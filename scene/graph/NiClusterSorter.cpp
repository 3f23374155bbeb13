#include "scene/graph/NiClusterSorter.h"

#include "scene/graph/NiAccumulatorEntry.h"
#include "scene/graph/NiCamera.h"

#include <algorithm>
#include <new>

namespace
{
float Axis(const NiPoint3& kPoint, int32_t iAxis)
{
    return iAxis == 0 ? kPoint.x : iAxis == 1 ? kPoint.y : kPoint.z;
}

int32_t PairOrderOf(const void* pvA, const void* pvB, const NiPoint3& kEye)
{
    return NiClusterSorter::PairOrder(*static_cast<const NiClusterSorter::BoxRecord*>(pvA),
                                      *static_cast<const NiClusterSorter::BoxRecord*>(pvB), kEye);
}
} // namespace

void* NiClusterSorter::BoxRecord::operator new(std::size_t uiSize)
{
    if (void* pvMemory = BoxRecordPool::Allocate(uiSize))
        return pvMemory;
    throw std::bad_alloc();
}

void NiClusterSorter::BoxRecord::operator delete(void* pvMemory, std::size_t uiSize)
{
    BoxRecordPool::Free(pvMemory, uiSize);
}

NiClusterSorter::NiClusterSorter() = default;

NiClusterSorter::~NiClusterSorter()
{
    ReleaseRecords();
}

void NiClusterSorter::SetCamera(NiCamera* pkCamera)
{
    m_spCamera = pkCamera;
}

void NiClusterSorter::SortClusters(const EntryList& kEntries)
{
    m_iRecordCount = kEntries.GetCount();
    if (m_iRecordCount == 0 || !m_spCamera)
    {
        m_iRecordCount = 0;
        return;
    }
    if (m_kRecords.size() < size_t(m_iRecordCount))
    {
        m_kRecords.resize(m_iRecordCount);
        m_kGroupLengths.resize(m_iRecordCount);
    }
    int32_t i = 0;
    for (NiAccumulatorEntry* pkEntry : kEntries)
    {
        BoxRecord* pkRecord = new BoxRecord;
        pkRecord->m_pkEntry = pkEntry;
        m_spCamera->GetEntryScreenBox(*pkEntry, pkRecord->m_kMin, pkRecord->m_kMax);
        m_kRecords[i] = pkRecord;
        m_kGroupLengths[i] = 0;
        ++i;
    }
    m_kGroupLengths[0] = m_iRecordCount;
    SplitGroups(2);
    SplitGroups(1);
    SplitGroups(0);
    for (int32_t iStart = 0; iStart < m_iRecordCount; iStart += m_kGroupLengths[iStart])
        OrderGroup(iStart, m_kGroupLengths[iStart]);
}

void NiClusterSorter::SplitGroups(int32_t iAxis)
{
    for (int32_t iStart = 0; iStart < m_iRecordCount;)
    {
        const int32_t iEnd = iStart + m_kGroupLengths[iStart];
        std::sort(m_kRecords.begin() + iStart, m_kRecords.begin() + iEnd,
                  [iAxis](const BoxRecord* pkA, const BoxRecord* pkB)
                  { return Axis(pkA->m_kMin, iAxis) < Axis(pkB->m_kMin, iAxis); });
        for (int32_t iCluster = iStart; iCluster < iEnd;)
        {
            float fReach = Axis(m_kRecords[iCluster]->m_kMax, iAxis);
            int32_t iNext = iCluster + 1;
            while (iNext < iEnd && !(Axis(m_kRecords[iNext]->m_kMin, iAxis) > fReach))
            {
                fReach = std::max(fReach, Axis(m_kRecords[iNext]->m_kMax, iAxis));
                ++iNext;
            }
            m_kGroupLengths[iCluster] = iNext - iCluster;
            iCluster = iNext;
        }
        iStart = iEnd;
    }
}

void NiClusterSorter::OrderGroup(int32_t iStart, int32_t iLength)
{
    const NiPoint3& kEye = m_spCamera->GetWorldLocation();
    if (iLength == 2)
    {
        if (PairOrder(*m_kRecords[iStart], *m_kRecords[iStart + 1], kEye) == 1)
            std::swap(m_kRecords[iStart], m_kRecords[iStart + 1]);
        return;
    }
    if (iLength > 2)
    {
        m_kScratch.assign(m_kRecords.begin() + iStart, m_kRecords.begin() + iStart + iLength);
        m_kPrecedenceSorter.Sort(m_kScratch.data(), iLength, &PairOrderOf, kEye);
        for (int32_t i = 0; i < iLength; ++i)
            m_kRecords[iStart + i] = static_cast<BoxRecord*>(const_cast<void*>(m_kScratch[i]));
    }
}

void NiClusterSorter::ResetCursor()
{
    m_iCursor = m_iRecordCount;
}

NiAccumulatorEntry* NiClusterSorter::NextEntry()
{
    if (m_iCursor <= 0)
        return nullptr;
    return m_kRecords[--m_iCursor]->m_pkEntry;
}

void NiClusterSorter::ReleaseRecords()
{
    for (int32_t i = 0; i < m_iRecordCount; ++i)
    {
        delete m_kRecords[i];
        m_kRecords[i] = nullptr;
    }
    m_iRecordCount = 0;
    m_iCursor = 0;
}

int32_t NiClusterSorter::PairOrder(const BoxRecord& kA, const BoxRecord& kB, const NiPoint3& kEye)
{
    if (kA.m_kMax.x < kB.m_kMin.x || kB.m_kMax.x < kA.m_kMin.x || kA.m_kMax.y < kB.m_kMin.y ||
        kB.m_kMax.y < kA.m_kMin.y)
        return 0;
    if (kA.m_kMax.z < kB.m_kMin.z)
        return -1;
    if (kB.m_kMax.z < kA.m_kMin.z)
        return 1;
    // Depths overlap: split the line between the bound centres in proportion to the radii and
    // see on whose side the eye lies.
    const NiBoundingSphere& kBoundA = kA.m_pkEntry->GetObject()->GetWorldBound();
    const NiBoundingSphere& kBoundB = kB.m_pkEntry->GetObject()->GetWorldBound();
    const float fRadii = kBoundA.m_fRadius + kBoundB.m_fRadius;
    const float fShare = fRadii == 0.0f ? 1.0f : kBoundB.m_fRadius / fRadii;
    const NiPoint3 kApart = kBoundA.m_kCenter - kBoundB.m_kCenter;
    const NiPoint3 kSplit = kBoundB.m_kCenter + kApart * fShare;
    return kApart.DotProduct(kEye - kSplit) > 0.0f ? -1 : 1;
}
