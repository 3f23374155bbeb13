#include "RenderLayerFixture.h"

#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiColorA.h"
#include "scene/render/NiD3DGeometryBufferMap.h"
#include "scene/render/NiD3DVertexBufferCache.h"

#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// A triangle with normals, colours and two texture sets.
NiRefPtr<NiTriShapeData> MakeTriangle()
{
    auto* pkVertex = new NiPoint3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    auto* pkNormal = new NiPoint3[3]{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    auto* pkColor = new NiColorA[3]{{1, 0, 0, 1}, {0, 1, 0, 0.5f}, {2, -1, 0.5f, 1}};
    auto* pkTexture = new NiTexCoord[3]{{0, 0}, {1, 0}, {0, 1}};
    auto* pkTriangles = new uint16_t[3]{0, 1, 2};
    NiRefPtr<NiTriShapeData> spData =
        new NiTriShapeData(3, pkVertex, pkNormal, pkColor, pkTexture, 1, pkTriangles);
    const NiTexCoord akSecond[3] = {{5, 5}, {6, 6}, {7, 7}};
    spData->AppendTextureSet(akSecond);
    return spData;
}

struct DeviceFixture : RecordingWorld
{
    DeviceFixture()
    {
        m_pkDirectDraw = MakeDirectDraw();
        m_pkDirectDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<LPVOID*>(&m_pkDirect3D));
        m_pkTarget = MakeRenderTarget(m_pkDirectDraw, 16, 16);
        m_pkDirect3D->CreateDevice(IID_IDirect3DTnLHalDevice, m_pkTarget, &m_pkDevice);
        m_pkCache = std::make_unique<NiD3DVertexBufferCache>(m_pkDirect3D, m_pkDevice, false);
    }
    ~DeviceFixture()
    {
        m_kMap.ReleaseAll();
        m_pkCache.reset();
        m_pkDevice->Release();
        m_pkTarget->Release();
        m_pkDirect3D->Release();
        m_pkDirectDraw->Release();
    }

    IDirectDraw7* m_pkDirectDraw = nullptr;
    IDirect3D7* m_pkDirect3D = nullptr;
    IDirectDrawSurface7* m_pkTarget = nullptr;
    IDirect3DDevice7* m_pkDevice = nullptr;
    std::unique_ptr<NiD3DVertexBufferCache> m_pkCache;
    NiD3DGeometryBufferMap m_kMap;
};
} // namespace

TEST(NiD3DVertexBuffers, GeometryBufferHoldsTheDataInItsVertexFormat)
{
    DeviceFixture kFixture;
    NiRefPtr<NiTriShapeData> spData = MakeTriangle();
    IDirect3DVertexBuffer7* pkBuffer =
        kFixture.m_kMap.GetBuffer(spData, false, *kFixture.m_pkCache, kFixture.m_pkDevice);
    ASSERT_TRUE(pkBuffer);
    D3DVERTEXBUFFERDESC kDesc;
    kDesc.dwSize = sizeof(kDesc);
    pkBuffer->GetVertexBufferDesc(&kDesc);
    EXPECT_EQ(kDesc.dwFVF, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2));
    EXPECT_EQ(kDesc.dwNumVertices, 3u);
    EXPECT_EQ(kDesc.dwCaps, DWORD(D3DVBCAPS_WRITEONLY));
    ASSERT_EQ(NiD3DVertexBufferCache::VertexSize(kDesc.dwFVF), 44u);

    LPVOID pvData = nullptr;
    DWORD dwSize = 0;
    ASSERT_EQ(pkBuffer->Lock(DDLOCK_WAIT | DDLOCK_READONLY, &pvData, &dwSize), DD_OK);
    float afVertex[11];
    std::memcpy(afVertex, static_cast<uint8_t*>(pvData) + 2 * 44, sizeof(afVertex));
    uint32_t uiColor = 0;
    std::memcpy(&uiColor, &afVertex[6], 4);
    EXPECT_EQ(afVertex[1], 1.0f);
    EXPECT_EQ(afVertex[5], 1.0f);
    // Channels clamp: (2, -1, 0.5, 1) packs as opaque red with half blue.
    EXPECT_EQ(uiColor, 0xFFFF0080u);
    EXPECT_EQ(afVertex[7], 0.0f);
    EXPECT_EQ(afVertex[9], 7.0f);
    pkBuffer->Unlock();
    EXPECT_EQ(NiD3DVertexBufferCache::PackColor(NiColorA(0, 1, 0, 0.5f)), 0x8000FF00u);
}

// Unchanged data gets an optimised buffer; a change gets a plain buffer, which later changes
// refill in place.
TEST(NiD3DVertexBuffers, RevisionsDecideRebuildRefillAndOptimisation)
{
    DeviceFixture kFixture;
    NiRefPtr<NiTriShapeData> spData = MakeTriangle();
    NiD3DVertexBufferCache& kCache = *kFixture.m_pkCache;
    IDirect3DVertexBuffer7* pkFirst = kFixture.m_kMap.GetBuffer(spData, true, kCache, kFixture.m_pkDevice);
    ASSERT_TRUE(pkFirst);
    EXPECT_TRUE(kFixture.m_kMap.IsOptimized(spData));
    EXPECT_EQ(kFixture.m_kMap.GetBuffer(spData, true, kCache, kFixture.m_pkDevice), pkFirst);

    spData->IncrementRevision();
    IDirect3DVertexBuffer7* pkSecond = kFixture.m_kMap.GetBuffer(spData, true, kCache, kFixture.m_pkDevice);
    ASSERT_TRUE(pkSecond);
    EXPECT_FALSE(kFixture.m_kMap.IsOptimized(spData));

    spData->IncrementRevision();
    kFixture.World().ClearCalls();
    EXPECT_EQ(kFixture.m_kMap.GetBuffer(spData, true, kCache, kFixture.m_pkDevice), pkSecond);
    EXPECT_EQ(kFixture.World().CountCalls("VertexBuffer::Lock"), 1u);
    EXPECT_EQ(kFixture.World().CountCalls("CreateVertexBuffer"), 0u);

    kFixture.m_kMap.Purge(spData);
    EXPECT_EQ(kFixture.m_kMap.GetCount(), 0u);
    NiRefPtr<NiTriShapeData> spOther = MakeTriangle();
    kFixture.m_kMap.Purge(spOther); // no entry: nothing happens
    EXPECT_EQ(kFixture.m_kMap.GetCount(), 0u);
}

// The id counter coming round never gives new data the id of live data, so two live objects never
// share a buffer; data that dies takes its buffer with it.
TEST(NiD3DVertexBuffers, AnIdThatComesRoundNeverSharesABuffer)
{
    DeviceFixture kFixture;
    NiRefPtr<NiTriShapeData> spFirst = MakeTriangle();
    IDirect3DVertexBuffer7* pkFirst =
        kFixture.m_kMap.GetBuffer(spFirst, true, *kFixture.m_pkCache, kFixture.m_pkDevice);
    // The counter comes round, then points at the live data's id.
    NiGeometryData::SetNextDataId(UINT32_MAX);
    NiRefPtr<NiTriShapeData> spLast = MakeTriangle();
    NiGeometryData::SetNextDataId(spFirst->GetDataId());
    NiRefPtr<NiTriShapeData> spSecond = MakeTriangle();
    EXPECT_NE(spSecond->GetDataId(), spFirst->GetDataId());
    IDirect3DVertexBuffer7* pkSecond =
        kFixture.m_kMap.GetBuffer(spSecond, true, *kFixture.m_pkCache, kFixture.m_pkDevice);
    ASSERT_TRUE(pkFirst && pkSecond);
    EXPECT_NE(pkFirst, pkSecond);
    EXPECT_EQ(kFixture.m_kMap.GetCount(), 2u);
}

TEST(NiD3DVertexBuffers, DynamicBuffersAlternateAndGrow)
{
    DeviceFixture kFixture;
    NiD3DVertexBufferCache& kCache = *kFixture.m_pkCache;
    constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    IDirect3DVertexBuffer7* pkA = kCache.GetBuffer(FVF, 200);
    IDirect3DVertexBuffer7* pkB = kCache.GetBuffer(FVF, 200);
    ASSERT_TRUE(pkA && pkB);
    EXPECT_NE(pkA, pkB);
    kFixture.World().ClearCalls();
    EXPECT_EQ(kCache.GetBuffer(FVF, 100), pkA);
    EXPECT_EQ(kCache.GetBuffer(FVF, 150), pkB);
    EXPECT_EQ(kFixture.World().CountCalls("CreateVertexBuffer"), 0u);
    // A larger request replaces that slot's buffer.
    kCache.GetBuffer(FVF, 300);
    EXPECT_EQ(kFixture.World().CountCalls("CreateVertexBuffer"), 1u);

    // Screen polygons: positions scaled by w = near + z x range.
    const NiPoint3 akVertex[3] = {{0.5f, 0.25f, 0.5f}, {1, 0, 0}, {0, 1, 1}};
    IDirect3DVertexBuffer7* pkPolygon =
        kCache.BuildScreenPolygonBuffer(3, akVertex, nullptr, nullptr, 1.0f, 10.0f);
    ASSERT_TRUE(pkPolygon);
    LPVOID pvData = nullptr;
    DWORD dwSize = 0;
    ASSERT_EQ(pkPolygon->Lock(DDLOCK_WAIT | DDLOCK_READONLY, &pvData, &dwSize), DD_OK);
    float afFirst[3];
    std::memcpy(afFirst, pvData, sizeof(afFirst));
    EXPECT_EQ(afFirst[0], 3.0f);
    EXPECT_EQ(afFirst[1], 1.5f);
    EXPECT_EQ(afFirst[2], 6.0f);
    pkPolygon->Unlock();
}

TEST(NiD3DVertexBuffers, IndexListsGrowOnlyAndQuadsStayAddressable)
{
    DeviceFixture kFixture;
    NiD3DVertexBufferCache& kCache = *kFixture.m_pkCache;
    uint16_t* pusLines = kCache.GetLineIndices(10);
    ASSERT_TRUE(pusLines);
    EXPECT_EQ(kCache.GetLineIndices(5), pusLines);
    const uint16_t* pusQuads = kCache.GetQuadIndices(2);
    ASSERT_TRUE(pusQuads);
    EXPECT_EQ(std::vector<uint16_t>(pusQuads, pusQuads + 12),
              (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    const uint16_t* pusMany = kCache.GetQuadIndices(NiD3DVertexBufferCache::MAX_QUADS);
    ASSERT_TRUE(pusMany);
    EXPECT_EQ(pusMany[6 * 16383 + 5], 65535);
    EXPECT_EQ(kCache.GetQuadIndices(NiD3DVertexBufferCache::MAX_QUADS + 1), nullptr);
}

TEST(NiD3DVertexBuffers, ReleasingAllWarnsAboutBuffersHeldElsewhere)
{
    DeviceFixture kFixture;
    NiRefPtr<NiTriShapeData> spData = MakeTriangle();
    IDirect3DVertexBuffer7* pkBuffer =
        kFixture.m_kMap.GetBuffer(spData, true, *kFixture.m_pkCache, kFixture.m_pkDevice);
    pkBuffer->AddRef();
    kFixture.m_kMap.ReleaseAll();
    EXPECT_TRUE(kFixture.Logged("NI D3D Renderer WARNING: (Shutdown): Vertex buffer has extra reference\n"));
    EXPECT_EQ(pkBuffer->Release(), 0u);
}
