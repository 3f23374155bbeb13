#include "scene/render/NiD3DRender.h"

#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "scene/graph/NiLinesData.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/graph/NiTriStripData.h"
#include "scene/graph/NiTriStripsData.h"
#include "scene/graph/NiTrianglesData.h"
#include "scene/object/NiColorA.h"
#include "scene/render/NiD3DGeometryBufferMap.h"
#include "scene/render/NiD3DLightCache.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTexturePipeline.h"
#include "scene/render/NiD3DVertexBufferCache.h"

#include <algorithm>
#include <cstring>

// The renderer's draws: the object state a draw sets, the geometry buffers, one draw per kind of
// geometry data, screen polygons; clipping planes and purged geometry data.
//
// Contents: draws / clipping and geometry data.

//--- Draws ---------------------------------------------------------------------------------------

void NiD3DRender::ApplyObjectState(bool bHasNormals, uint32_t uiTextureSets)
{
    NiPropertyTable* pkTable = GetCurrentPropertyTable();
    NiEffectLists* pkLists = GetCurrentEffectLists();
    if (m_spRenderStates)
        m_spRenderStates->ApplyProperties(pkTable);
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->BuildPasses(pkTable, pkLists, bHasNormals, uiTextureSets);
    if (m_pkLights)
    {
        NiTextureProperty* pkTexture = pkTable ? pkTable->GetTexture() : nullptr;
        m_pkLights->SetObjectLighting(pkLists, pkTexture && pkTexture->GetImageObject(),
                                      pkTable ? pkTable->GetTextureMode() : nullptr,
                                      pkTable ? pkTable->GetVertexColor() : nullptr);
    }
}

void NiD3DRender::DrawPrimitive(D3DPRIMITIVETYPE eType, uint32_t uiVertices, uint16_t* pusIndices,
                                uint32_t uiIndices, NiGeometryData* pkData, IDirect3DVertexBuffer7* pkBuffer,
                                uint32_t uiTextureSets, bool bHasNormals)
{
    if (!uiVertices)
        return;
    if (!pkBuffer && pkData)
    {
        uiTextureSets = pkData->GetTextures() ? pkData->GetTextureSets() : 0;
        bHasNormals = pkData->GetNormals() != nullptr;
    }
    uiTextureSets = std::min(uiTextureSets, 8u);
    ApplyObjectState(bHasNormals, uiTextureSets);
    if (!pkBuffer)
        pkBuffer = GetGeometryBuffer(pkData, true);
    if (!pkBuffer)
        return;
    bool bMore = true;
    while (bMore)
    {
        bMore = m_pkTexturePipeline ? m_pkTexturePipeline->SetupNextPass() : false;
        if (pusIndices)
            m_pkDevice->DrawIndexedPrimitiveVB(eType, pkBuffer, 0, uiVertices, pusIndices, uiIndices, 0);
        else
            m_pkDevice->DrawPrimitiveVB(eType, pkBuffer, 0, uiVertices, 0);
    }
}

IDirect3DVertexBuffer7* NiD3DRender::GetGeometryBuffer(NiGeometryData* pkData, bool bOptimize)
{
    if (!m_pkVertexBuffers || !pkData)
        return nullptr;
    return m_pkGeometryBuffers->GetBuffer(pkData, bOptimize, *m_pkVertexBuffers, m_pkDevice);
}

uint32_t NiD3DRender::GetGeometryBufferCount() const
{
    return m_pkGeometryBuffers->GetCount();
}

void NiD3DRender::DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !pkData->GetTriList())
        return;
    // Never more indices than the list holds.
    const uint32_t uiIndices =
        std::min<uint32_t>(3u * pkData->GetActiveTriangleCount(), pkData->GetTriListLength());
    if (!uiIndices)
        return;
    DrawPrimitive(D3DPT_TRIANGLELIST, pkData->GetVertexCount(), pkData->GetTriList(), uiIndices, pkData,
                  nullptr, 0, false);
}

void NiD3DRender::DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData)
        return;
    const uint32_t uiVertices = std::min<uint32_t>(3u * pkData->GetTriangleCount(), pkData->GetVertexCount());
    DrawPrimitive(D3DPT_TRIANGLELIST, uiVertices, nullptr, 0, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData)
        return;
    DrawPrimitive(D3DPT_TRIANGLESTRIP, pkData->GetVertexCount(), nullptr, 0, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !pkData->GetStripLists() || !pkData->GetStripCount())
        return;
    const uint32_t uiSets = pkData->GetTextures() ? std::min<uint32_t>(pkData->GetTextureSets(), 8) : 0;
    ApplyObjectState(pkData->GetNormals() != nullptr, uiSets);
    IDirect3DVertexBuffer7* pkBuffer = GetGeometryBuffer(pkData, true);
    if (!pkBuffer)
        return;
    const uint16_t* pusLengths = pkData->GetStripLengths();
    const uint32_t uiListLength = pkData->GetStripListLength();
    bool bMore = true;
    while (bMore)
    {
        bMore = m_pkTexturePipeline ? m_pkTexturePipeline->SetupNextPass() : false;
        uint32_t uiStart = 0;
        for (uint32_t i = 0; i < pkData->GetStripCount(); ++i)
        {
            // A strip that runs past the list is not drawn.
            if (uiStart + pusLengths[i] > uiListLength)
                break;
            m_pkDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLESTRIP, pkBuffer, 0, pkData->GetVertexCount(),
                                               const_cast<uint16_t*>(pkData->GetStripLists()) + uiStart,
                                               pusLengths[i], 0);
            uiStart += pusLengths[i];
        }
    }
}

void NiD3DRender::DrawParticles(NiParticlesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !m_pkVertexBuffers || !pkData->GetVertices())
        return;
    const uint32_t uiActive = std::min<uint32_t>(pkData->GetActiveCount(), pkData->GetVertexCount());
    if (!uiActive)
        return;
    const NiPoint3* pkNormals = pkData->GetNormals();
    const NiColorA* pkColors = pkData->GetColors();
    const float* pfSizes = pkData->GetSizes();
    ApplyObjectState(pkNormals != nullptr, 1);
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->SetupNextPass();

    const float fRadius = pkData->GetRadius();
    const NiPoint3 kA = (m_kModelUp + m_kModelRight) * fRadius;
    const NiPoint3 kB = (m_kModelUp - m_kModelRight) * fRadius;
    const DWORD dwFVF = pkNormals ? 0x152 : 0x142;
    const NiPoint3* pkCentres = pkData->GetVertices();
    static constexpr float CORNER_UV[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    // Batches of at most as many quads as 16-bit indices can address.
    for (uint32_t uiFirst = 0; uiFirst < uiActive; uiFirst += NiD3DVertexBufferCache::MAX_QUADS)
    {
        const uint32_t uiQuads = std::min(uiActive - uiFirst, NiD3DVertexBufferCache::MAX_QUADS);
        const uint16_t* pusIndices = m_pkVertexBuffers->GetQuadIndices(uiQuads);
        IDirect3DVertexBuffer7* pkBuffer = m_pkVertexBuffers->GetBuffer(dwFVF, 4 * uiQuads);
        LPVOID pvData = nullptr;
        DWORD dwSize = 0;
        if (!pusIndices || !pkBuffer ||
            FAILED(pkBuffer->Lock(DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, &pvData, &dwSize)) || !pvData)
        {
            return;
        }
        auto* pucOut = static_cast<uint8_t*>(pvData);
        for (uint32_t i = uiFirst; i < uiFirst + uiQuads; ++i)
        {
            const float fSize = pfSizes ? pfSizes[i] : 1.0f;
            const NiPoint3& kCentre = pkCentres[i];
            const NiPoint3 akCorners[4] = {kCentre - kA * fSize, kCentre - kB * fSize, kCentre + kA * fSize,
                                           kCentre + kB * fSize};
            const uint32_t uiColor = pkColors ? NiD3DVertexBufferCache::PackColor(pkColors[i]) : 0xFFFFFFFFu;
            for (int c = 0; c < 4; ++c)
            {
                const float afPosition[3] = {akCorners[c].x, akCorners[c].y, akCorners[c].z};
                std::memcpy(pucOut, afPosition, 12);
                pucOut += 12;
                if (pkNormals)
                {
                    const float afNormal[3] = {pkNormals[i].x, pkNormals[i].y, pkNormals[i].z};
                    std::memcpy(pucOut, afNormal, 12);
                    pucOut += 12;
                }
                std::memcpy(pucOut, &uiColor, 4);
                std::memcpy(pucOut + 4, CORNER_UV[c], 8);
                pucOut += 12;
            }
        }
        pkBuffer->Unlock();
        m_pkDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, pkBuffer, 0, 4 * uiQuads,
                                           const_cast<uint16_t*>(pusIndices), 6 * uiQuads, 0);
    }
}

void NiD3DRender::DrawLines(NiLinesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !m_pkVertexBuffers)
        return;
    const uint32_t uiVertices = pkData->GetVertexCount();
    const uint8_t* pucFlags = pkData->GetFlags();
    if (!uiVertices || !pucFlags)
        return;
    uint16_t* pusIndices = m_pkVertexBuffers->GetLineIndices(2 * uiVertices);
    if (!pusIndices)
        return;
    uint32_t uiIndices = 0;
    for (uint32_t i = 0; i + 1 < uiVertices; ++i)
    {
        if (!pucFlags[i])
            continue;
        pusIndices[uiIndices++] = static_cast<uint16_t>(i);
        pusIndices[uiIndices++] = static_cast<uint16_t>(i + 1);
    }
    if (pucFlags[uiVertices - 1])
    {
        pusIndices[uiIndices++] = static_cast<uint16_t>(uiVertices - 1);
        pusIndices[uiIndices++] = 0;
    }
    DrawPrimitive(D3DPT_LINELIST, uiVertices, pusIndices, uiIndices, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex,
                                    const NiTexCoord* pkTexture, const NiColorA* pkColor)
{
    if (!m_bInScene || !m_pkVertexBuffers)
        return;
    IDirect3DVertexBuffer7* pkBuffer = m_pkVertexBuffers->BuildScreenPolygonBuffer(
        usVertices, pkVertex, pkTexture, pkColor, m_fNear, m_fDepthRange);
    if (!pkBuffer)
        return;
    DrawPrimitive(D3DPT_TRIANGLEFAN, usVertices, nullptr, 0, nullptr, pkBuffer, pkTexture ? 1 : 0, false);
}

//--- Clipping and geometry data ------------------------------------------------------------------

bool NiD3DRender::SetClipPlanes(const NiPlane* const*, uint32_t uiCount, uint32_t, uint32_t)
{
    // The device clips to the view frustum itself.
    return uiCount != 0;
}

void NiD3DRender::PurgeGeometryData(NiGeometryData* pkData)
{
    m_pkGeometryBuffers->Purge(pkData);
}
