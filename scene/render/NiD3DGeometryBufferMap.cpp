#include "scene/render/NiD3DGeometryBufferMap.h"

#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "scene/graph/NiGeometryData.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DVertexBufferCache.h"

NiD3DGeometryBufferMap::~NiD3DGeometryBufferMap()
{
    ReleaseAll();
}

bool NiD3DGeometryBufferMap::OptimizeIfAllowed(Entry& kEntry, const NiGeometryData* pkData, bool bOptimize,
                                               IDirect3DDevice7* pkDevice)
{
    // Data never changed since it was made or loaded is not expected to change.
    kEntry.m_bOptimized = bOptimize && pkData->GetRevision() == 0 && kEntry.m_pkBuffer &&
                          SUCCEEDED(kEntry.m_pkBuffer->Optimize(pkDevice, 0));
    return kEntry.m_bOptimized;
}

IDirect3DVertexBuffer7* NiD3DGeometryBufferMap::GetBuffer(NiGeometryData* pkData, bool bOptimize,
                                                          NiD3DVertexBufferCache& kCache,
                                                          IDirect3DDevice7* pkDevice)
{
    if (!pkData)
        return nullptr;
    auto kFound = m_kEntries.find(pkData->GetDataId());
    if (kFound != m_kEntries.end() && kFound->second.m_pkData != pkData)
    {
        // The id belongs to new data now; the entry's data is gone (never touch it).
        if (kFound->second.m_pkBuffer)
            kFound->second.m_pkBuffer->Release();
        m_kEntries.erase(kFound);
        kFound = m_kEntries.end();
    }
    if (kFound == m_kEntries.end())
    {
        Entry kEntry;
        kEntry.m_pkBuffer = kCache.BuildGeometryBuffer(pkData, nullptr);
        kEntry.m_uiRevision = pkData->GetRevision();
        kEntry.m_pkData = pkData;
        OptimizeIfAllowed(kEntry, pkData, bOptimize, pkDevice);
        return m_kEntries.emplace(pkData->GetDataId(), kEntry).first->second.m_pkBuffer;
    }

    Entry& kEntry = kFound->second;
    if (kEntry.m_uiRevision == pkData->GetRevision())
    {
        if (!bOptimize && kEntry.m_bOptimized)
        {
            kEntry.m_pkBuffer->Release();
            kEntry.m_pkBuffer = kCache.BuildGeometryBuffer(pkData, nullptr);
            kEntry.m_bOptimized = false;
        }
        return kEntry.m_pkBuffer;
    }

    IDirect3DVertexBuffer7* pkBuffer = kCache.BuildGeometryBuffer(pkData, kEntry.m_pkBuffer);
    if (pkBuffer != kEntry.m_pkBuffer)
    {
        if (kEntry.m_pkBuffer)
            kEntry.m_pkBuffer->Release();
        kEntry.m_pkBuffer = pkBuffer;
        OptimizeIfAllowed(kEntry, pkData, bOptimize, pkDevice);
    }
    if (pkBuffer)
        kEntry.m_uiRevision = pkData->GetRevision();
    return pkBuffer;
}

void NiD3DGeometryBufferMap::Purge(const NiGeometryData* pkData)
{
    if (!pkData)
        return;
    auto kFound = m_kEntries.find(pkData->GetDataId());
    if (kFound == m_kEntries.end() || kFound->second.m_pkData != pkData)
        return;
    if (kFound->second.m_pkBuffer)
        kFound->second.m_pkBuffer->Release();
    m_kEntries.erase(kFound);
}

void NiD3DGeometryBufferMap::ReleaseAll()
{
    for (auto& [uiId, kEntry] : m_kEntries)
    {
        if (kEntry.m_pkBuffer && kEntry.m_pkBuffer->Release() > 0)
            D3DLogWarning("(Shutdown): Vertex buffer has extra reference");
    }
    m_kEntries.clear();
}

bool NiD3DGeometryBufferMap::IsOptimized(const NiGeometryData* pkData) const
{
    const auto kFound = pkData ? m_kEntries.find(pkData->GetDataId()) : m_kEntries.end();
    return kFound != m_kEntries.end() && kFound->second.m_bOptimized;
}
