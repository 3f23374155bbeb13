#include "scene/graph/NiClusterAccumulator.h"

#include "scene/graph/NiAccumulatorEntry.h"
#include "scene/graph/NiCamera.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiClusterAccumulator, NiAccumulator);
NiImplementCreateObject(NiClusterAccumulator);

NiClusterAccumulator::NiClusterAccumulator() = default;

NiClusterAccumulator::~NiClusterAccumulator()
{
    m_kSorter.ReleaseRecords();
    ReleaseEntries();
}

bool NiClusterAccumulator::BeginAccumulation(NiCamera* pkCamera)
{
    if (!NiAccumulator::BeginAccumulation(pkCamera))
        return false;
    m_kSorter.SetCamera(pkCamera);
    return true;
}

void NiClusterAccumulator::EndAccumulation()
{
    if (!m_pkCamera)
        return;
    m_kSorter.SortClusters(m_kEntries);
    m_kSorter.ResetCursor();
    while (NiAccumulatorEntry* pkEntry = m_kSorter.NextEntry())
        m_pkCamera->DrawAccumulatorEntry(pkEntry);
    m_kSorter.ReleaseRecords();
    ReleaseEntries();
    m_kSorter.SetCamera(nullptr);
    NiAccumulator::EndAccumulation();
}

bool NiClusterAccumulator::QueueObject(NiAVObject* pkObject)
{
    if (!m_pkCamera || !pkObject)
        return false;
    m_kEntries.AddTail(m_pkCamera->CreateAccumulatorEntry(pkObject));
    return true;
}

void NiClusterAccumulator::ReleaseEntries()
{
    while (!m_kEntries.IsEmpty())
        delete m_kEntries.RemoveHead();
}

NiObject* NiClusterAccumulator::MakeClone()
{
    return new NiClusterAccumulator;
}
