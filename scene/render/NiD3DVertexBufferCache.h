#pragma once

#include "platform/d3d7/D3DTypes.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class IDirect3D7;
class IDirect3DDevice7;
class IDirect3DVertexBuffer7;
class NiColorA;
class NiGeometryData;
class NiPoint3;
class NiTexCoord;

// Vertex buffers for what is built each frame (particle quads, screen polygons): two dynamic
// buffers per vertex format, handed out in turn, each growing to the largest count asked of it;
// the scratch index lists of line sets and quads; and the filling of a geometry data object's
// buffer, which the renderer's geometry buffer map keeps.
class NiD3DVertexBufferCache
{
public:
    static constexpr DWORD LOCK_FILL = DDLOCK_WAIT | DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS;
    // Quads whose corners 16-bit indices can still address.
    static constexpr uint32_t MAX_QUADS = 16384;

    // Buffers go to system memory when the device does not transform in hardware.
    NiD3DVertexBufferCache(IDirect3D7* pkDirect3D, IDirect3DDevice7* pkDevice, bool bSystemMemory);
    ~NiD3DVertexBufferCache();

    NiD3DVertexBufferCache(const NiD3DVertexBufferCache&) = delete;
    NiD3DVertexBufferCache& operator=(const NiD3DVertexBufferCache&) = delete;

    DWORD GetBufferCaps() const { return m_dwBufferCaps; }

    // The next dynamic buffer of the format with room for the count (not counted for the
    // caller); null when it cannot be made.
    IDirect3DVertexBuffer7* GetBuffer(DWORD dwFVF, uint32_t uiVertices);
    // The data's vertices (position, normal, colour, up to 8 texture sets) in a buffer: the
    // previous one refilled when it is not optimised and has the same format and count, else a
    // new one (counted for the caller). Null for data without vertices or when a call fails.
    IDirect3DVertexBuffer7* BuildGeometryBuffer(NiGeometryData* pkData, IDirect3DVertexBuffer7* pkPrevious);
    // A dynamic buffer with positions (x w, y w, w), w = near + z x range, then colours and
    // texture coordinates when given.
    IDirect3DVertexBuffer7* BuildScreenPolygonBuffer(uint16_t usVertices, const NiPoint3* pkVertex,
                                                     const NiTexCoord* pkTexture, const NiColorA* pkColor,
                                                     float fNear, float fRange);

    // At least uiCount entries; null when the array cannot be made.
    uint16_t* GetLineIndices(uint32_t uiCount);
    // Six indices per quad (4k, 4k+1, 4k+2, 4k, 4k+2, 4k+3), for at most MAX_QUADS quads; null
    // beyond that.
    const uint16_t* GetQuadIndices(uint32_t uiQuads);

    // A colour as an A8R8G8B8 word: each channel times 255, to the nearest integer, clamped.
    static uint32_t PackColor(const NiColorA& kColor);
    // Bytes per vertex of a format (position, normal, diffuse, specular, texture pairs).
    static uint32_t VertexSize(DWORD dwFVF);

private:
    struct FormatEntry
    {
        IDirect3DVertexBuffer7* m_apkBuffers[2] = {};
        D3DVERTEXBUFFERDESC m_akDescs[2] = {};
        uint32_t m_uiNext = 0;
    };

    IDirect3D7* m_pkDirect3D;
    IDirect3DDevice7* m_pkDevice;
    DWORD m_dwBufferCaps;
    std::unordered_map<DWORD, FormatEntry> m_kFormats;
    std::vector<uint16_t> m_kLineIndices;
    std::vector<uint16_t> m_kQuadIndices;
};
