#include "scene/render/NiD3DVertexBufferCache.h"

#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "scene/graph/NiGeometryData.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiTexCoord.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{
constexpr uint32_t MAX_TEXTURE_SETS = 8;

uint32_t ColorChannel(float fValue)
{
    const float fScaled = std::nearbyint(fValue * 255.0f);
    if (!(fScaled > 0.0f))
        return 0;
    return fScaled >= 255.0f ? 255u : static_cast<uint32_t>(fScaled);
}

uint8_t* Put(uint8_t* pucOut, const void* pvValue, size_t uiBytes)
{
    std::memcpy(pucOut, pvValue, uiBytes);
    return pucOut + uiBytes;
}
} // namespace

NiD3DVertexBufferCache::NiD3DVertexBufferCache(IDirect3D7* pkDirect3D, IDirect3DDevice7* pkDevice,
                                               bool bSystemMemory)
    : m_pkDirect3D(pkDirect3D), m_pkDevice(pkDevice),
      m_dwBufferCaps(D3DVBCAPS_WRITEONLY | (bSystemMemory ? D3DVBCAPS_SYSTEMMEMORY : 0))
{
    if (m_pkDirect3D)
        m_pkDirect3D->AddRef();
    if (m_pkDevice)
        m_pkDevice->AddRef();
}

NiD3DVertexBufferCache::~NiD3DVertexBufferCache()
{
    for (auto& [dwFVF, kEntry] : m_kFormats)
    {
        for (IDirect3DVertexBuffer7* pkBuffer : kEntry.m_apkBuffers)
        {
            if (pkBuffer)
                pkBuffer->Release();
        }
    }
    if (m_pkDevice)
        m_pkDevice->Release();
    if (m_pkDirect3D)
        m_pkDirect3D->Release();
}

uint32_t NiD3DVertexBufferCache::PackColor(const NiColorA& kColor)
{
    return (ColorChannel(kColor.a) << 24) | (ColorChannel(kColor.r) << 16) | (ColorChannel(kColor.g) << 8) |
           ColorChannel(kColor.b);
}

uint32_t NiD3DVertexBufferCache::VertexSize(DWORD dwFVF)
{
    uint32_t uiSize = (dwFVF & D3DFVF_XYZRHW) ? 16 : (dwFVF & D3DFVF_XYZ) ? 12 : 0;
    uiSize += (dwFVF & D3DFVF_NORMAL) ? 12 : 0;
    uiSize += (dwFVF & D3DFVF_DIFFUSE) ? 4 : 0;
    uiSize += (dwFVF & D3DFVF_SPECULAR) ? 4 : 0;
    return uiSize + 8 * ((dwFVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
}

IDirect3DVertexBuffer7* NiD3DVertexBufferCache::GetBuffer(DWORD dwFVF, uint32_t uiVertices)
{
    FormatEntry& kEntry = m_kFormats[dwFVF];
    const uint32_t uiSlot = kEntry.m_uiNext;
    D3DVERTEXBUFFERDESC& kDesc = kEntry.m_akDescs[uiSlot];
    if (kDesc.dwNumVertices < uiVertices)
    {
        if (kEntry.m_apkBuffers[uiSlot])
            kEntry.m_apkBuffers[uiSlot]->Release();
        kEntry.m_apkBuffers[uiSlot] = nullptr;
        kDesc.dwNumVertices = uiVertices;
    }
    kDesc.dwSize = sizeof(D3DVERTEXBUFFERDESC);
    kDesc.dwCaps = m_dwBufferCaps;
    kDesc.dwFVF = dwFVF;
    if (!kEntry.m_apkBuffers[uiSlot] &&
        (FAILED(m_pkDirect3D->CreateVertexBuffer(&kDesc, &kEntry.m_apkBuffers[uiSlot], 0)) ||
         !kEntry.m_apkBuffers[uiSlot]))
    {
        kEntry.m_apkBuffers[uiSlot] = nullptr;
        kDesc.dwNumVertices = 0;
        return nullptr;
    }
    kEntry.m_uiNext = 1 - uiSlot;
    return kEntry.m_apkBuffers[uiSlot];
}

IDirect3DVertexBuffer7* NiD3DVertexBufferCache::BuildGeometryBuffer(NiGeometryData* pkData,
                                                                    IDirect3DVertexBuffer7* pkPrevious)
{
    const uint32_t uiVertices = pkData ? pkData->GetVertexCount() : 0;
    if (!uiVertices || !pkData->GetVertices())
        return nullptr;
    const uint32_t uiSets =
        pkData->GetTextures() ? std::min<uint32_t>(pkData->GetTextureSets(), MAX_TEXTURE_SETS) : 0;
    const NiPoint3* pkNormals = pkData->GetNormals();
    const NiColorA* pkColors = pkData->GetColors();
    const DWORD dwFVF = D3DFVF_XYZ | (pkNormals ? D3DFVF_NORMAL : 0) | (pkColors ? D3DFVF_DIFFUSE : 0) |
                        (uiSets << D3DFVF_TEXCOUNT_SHIFT);

    IDirect3DVertexBuffer7* pkBuffer = nullptr;
    if (pkPrevious)
    {
        D3DVERTEXBUFFERDESC kDesc;
        kDesc.dwSize = sizeof(kDesc);
        if (SUCCEEDED(pkPrevious->GetVertexBufferDesc(&kDesc)) && !(kDesc.dwCaps & D3DVBCAPS_OPTIMIZED) &&
            kDesc.dwFVF == dwFVF && kDesc.dwNumVertices == uiVertices)
        {
            pkBuffer = pkPrevious;
        }
    }
    if (!pkBuffer)
    {
        D3DVERTEXBUFFERDESC kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwCaps = m_dwBufferCaps;
        kDesc.dwFVF = dwFVF;
        kDesc.dwNumVertices = uiVertices;
        if (FAILED(m_pkDirect3D->CreateVertexBuffer(&kDesc, &pkBuffer, 0)) || !pkBuffer)
            return nullptr;
    }
    const auto Drop = [&]()
    {
        if (pkBuffer != pkPrevious)
            pkBuffer->Release();
        return static_cast<IDirect3DVertexBuffer7*>(nullptr);
    };

    LPVOID pvData = nullptr;
    DWORD dwSize = 0;
    if (FAILED(pkBuffer->Lock(LOCK_FILL, &pvData, &dwSize)) || !pvData)
        return Drop();
    auto* pucOut = static_cast<uint8_t*>(pvData);
    const NiPoint3* pkVertices = pkData->GetVertices();
    for (uint32_t i = 0; i < uiVertices; ++i)
    {
        const float afPosition[3] = {pkVertices[i].x, pkVertices[i].y, pkVertices[i].z};
        pucOut = Put(pucOut, afPosition, sizeof(afPosition));
        if (pkNormals)
        {
            const float afNormal[3] = {pkNormals[i].x, pkNormals[i].y, pkNormals[i].z};
            pucOut = Put(pucOut, afNormal, sizeof(afNormal));
        }
        if (pkColors)
        {
            const uint32_t uiColor = PackColor(pkColors[i]);
            pucOut = Put(pucOut, &uiColor, 4);
        }
        for (uint32_t uiSet = 0; uiSet < uiSets; ++uiSet)
        {
            const NiTexCoord& kCoord = pkData->GetTextureSet(static_cast<uint16_t>(uiSet))[i];
            const float afCoord[2] = {kCoord.x, kCoord.y};
            pucOut = Put(pucOut, afCoord, sizeof(afCoord));
        }
    }
    if (FAILED(pkBuffer->Unlock()))
        return Drop();
    return pkBuffer;
}

IDirect3DVertexBuffer7* NiD3DVertexBufferCache::BuildScreenPolygonBuffer(uint16_t usVertices,
                                                                         const NiPoint3* pkVertex,
                                                                         const NiTexCoord* pkTexture,
                                                                         const NiColorA* pkColor, float fNear,
                                                                         float fRange)
{
    if (!usVertices || !pkVertex)
        return nullptr;
    const DWORD dwFVF = D3DFVF_XYZ | (pkColor ? D3DFVF_DIFFUSE : 0) | (pkTexture ? D3DFVF_TEX1 : 0);
    IDirect3DVertexBuffer7* pkBuffer = GetBuffer(dwFVF, usVertices);
    LPVOID pvData = nullptr;
    DWORD dwSize = 0;
    if (!pkBuffer || FAILED(pkBuffer->Lock(LOCK_FILL, &pvData, &dwSize)) || !pvData)
        return nullptr;
    auto* pucOut = static_cast<uint8_t*>(pvData);
    for (uint32_t i = 0; i < usVertices; ++i)
    {
        const float fW = fRange * pkVertex[i].z + fNear;
        const float afPosition[3] = {pkVertex[i].x * fW, pkVertex[i].y * fW, fW};
        pucOut = Put(pucOut, afPosition, sizeof(afPosition));
        if (pkColor)
        {
            const uint32_t uiColor = PackColor(pkColor[i]);
            pucOut = Put(pucOut, &uiColor, 4);
        }
        if (pkTexture)
        {
            const float afCoord[2] = {pkTexture[i].x, pkTexture[i].y};
            pucOut = Put(pucOut, afCoord, sizeof(afCoord));
        }
    }
    return SUCCEEDED(pkBuffer->Unlock()) ? pkBuffer : nullptr;
}

uint16_t* NiD3DVertexBufferCache::GetLineIndices(uint32_t uiCount)
{
    if (m_kLineIndices.size() <= uiCount)
    {
        try
        {
            m_kLineIndices.assign(uiCount, 0);
        }
        catch (const std::bad_alloc&)
        {
            m_kLineIndices.clear();
        }
    }
    return m_kLineIndices.empty() ? nullptr : m_kLineIndices.data();
}

const uint16_t* NiD3DVertexBufferCache::GetQuadIndices(uint32_t uiQuads)
{
    if (uiQuads > MAX_QUADS)
        return nullptr;
    if (m_kQuadIndices.size() <= size_t(6) * uiQuads)
    {
        m_kQuadIndices.resize(size_t(6) * uiQuads);
        for (uint32_t k = 0; k < uiQuads; ++k)
        {
            const uint16_t usBase = static_cast<uint16_t>(4 * k);
            const uint16_t akQuad[6] = {usBase, uint16_t(usBase + 1), uint16_t(usBase + 2),
                                        usBase, uint16_t(usBase + 2), uint16_t(usBase + 3)};
            std::copy(akQuad, akQuad + 6, m_kQuadIndices.begin() + 6 * k);
        }
    }
    return m_kQuadIndices.empty() ? nullptr : m_kQuadIndices.data();
}
