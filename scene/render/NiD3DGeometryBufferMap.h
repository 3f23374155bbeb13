#pragma once

#include <cstdint>
#include <unordered_map>

class IDirect3DDevice7;
class IDirect3DVertexBuffer7;
class NiD3DVertexBufferCache;
class NiGeometryData;

// The renderer's persistent vertex buffers: one per geometry data object, keyed by the data's
// id, refilled when the data's revision changes and optimised when the data never changed.
// Ids are unique among live data, and dying data purges its entry through the renderer; each
// entry also remembers its data object and is rebuilt should another object ask under its id.
class NiD3DGeometryBufferMap
{
public:
    NiD3DGeometryBufferMap() = default;
    ~NiD3DGeometryBufferMap();

    NiD3DGeometryBufferMap(const NiD3DGeometryBufferMap&) = delete;
    NiD3DGeometryBufferMap& operator=(const NiD3DGeometryBufferMap&) = delete;

    // The data's buffer (not counted for the caller), built or refilled through the cache as
    // needed; null when the data has no vertices or a device call fails.
    IDirect3DVertexBuffer7* GetBuffer(NiGeometryData* pkData, bool bOptimize, NiD3DVertexBufferCache& kCache,
                                      IDirect3DDevice7* pkDevice);
    // Drops the data's buffer; nothing when it has none.
    void Purge(const NiGeometryData* pkData);
    // Releases every buffer and empties the map, warning for each buffer that someone else
    // still holds.
    void ReleaseAll();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_kEntries.size()); }
    // Whether the data's buffer was optimised (tests and statistics).
    bool IsOptimized(const NiGeometryData* pkData) const;

private:
    struct Entry
    {
        IDirect3DVertexBuffer7* m_pkBuffer = nullptr; // one reference
        uint32_t m_uiRevision = 0;
        bool m_bOptimized = false;
        const NiGeometryData* m_pkData = nullptr;
    };

    static bool OptimizeIfAllowed(Entry& kEntry, const NiGeometryData* pkData, bool bOptimize,
                                  IDirect3DDevice7* pkDevice);

    std::unordered_map<uint32_t, Entry> m_kEntries;
};
