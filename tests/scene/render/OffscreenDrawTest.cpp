#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiRefPtr.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DGeometryBufferMap.h"
#include "scene/render/NiD3DVertexBufferCache.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDirectDrawDevice.h"

#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
std::vector<uint8_t> RgbAt(const NiRawImageData& kImage, uint32_t x, uint32_t y)
{
    const uint8_t* pucPixel = kImage.GetPixels() + y * kImage.GetRowStride() + x * kImage.GetPixelStride();
    return {pucPixel[0], pucPixel[1], pucPixel[2]};
}
} // namespace

// On the OpenGL back end: an offscreen framebuffer with a z-buffer is cleared, a vertex-coloured
// triangle from a geometry buffer is drawn into its lower-left half, and the back-buffer image
// reads back both.
TEST(OffscreenDraw, ClearedAndDrawnFramebufferReadsBack)
{
    win32::DebugOutputCapture kQuiet;
    d3d7::ScopedWorld kScope(std::make_shared<d3d7::World>(d3d7::Backend::OpenGL));
    NiD3DDriverList::Forget();
    NiDirectDrawDevice* pkDevice = NiDirectDrawDevice::Create(nullptr);
    ASSERT_TRUE(pkDevice);
    NiD3DFramebuffer* pkBuffer = NiD3DFramebuffer::CreateOffscreen(pkDevice, 32, 32);
    pkDevice->DecRef();
    ASSERT_TRUE(pkBuffer);
    ASSERT_TRUE(pkBuffer->AttachZBuffer(true, d3d7::ZBufferFormat(24, 0)));

    IDirect3D7* pkDirect3D = nullptr;
    ASSERT_EQ(
        pkDevice->GetDirectDraw()->QueryInterface(IID_IDirect3D7, reinterpret_cast<LPVOID*>(&pkDirect3D)),
        S_OK);
    IDirect3DDevice7* pkD3DDevice = nullptr;
    ASSERT_EQ(pkDirect3D->CreateDevice(IID_IDirect3DTnLHalDevice, pkBuffer->GetBackSurface(), &pkD3DDevice),
              D3D_OK);
    {
        NiD3DVertexBufferCache kCache(pkDirect3D, pkD3DDevice, false);
        NiD3DGeometryBufferMap kMap;
        auto* pkVertex = new NiPoint3[3]{{-1, -1, 0.5f}, {1, -1, 0.5f}, {-1, 1, 0.5f}};
        auto* pkColor = new NiColorA[3]{{1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}};
        NiRefPtr<NiTriShapeData> spData =
            new NiTriShapeData(3, pkVertex, nullptr, pkColor, nullptr, 1, new uint16_t[3]{0, 1, 2});

        D3DMATRIX kIdentity;
        kIdentity._11 = kIdentity._22 = kIdentity._33 = kIdentity._44 = 1.0f;
        for (auto eState : {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION})
            pkD3DDevice->SetTransform(eState, &kIdentity);
        D3DVIEWPORT7 kViewport{0, 0, 32, 32, 0.0f, 1.0f};
        pkD3DDevice->SetViewport(&kViewport);
        pkD3DDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
        pkD3DDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        D3DRECT kRect{0, 0, 32, 32};
        ASSERT_EQ(pkD3DDevice->Clear(1, &kRect, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000000FF, 1.0f, 0),
                  D3D_OK);
        ASSERT_EQ(pkD3DDevice->BeginScene(), D3D_OK);
        IDirect3DVertexBuffer7* pkVB = kMap.GetBuffer(spData, true, kCache, pkD3DDevice);
        ASSERT_TRUE(pkVB);
        EXPECT_EQ(
            pkD3DDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, 3, spData->GetTriList(), 3, 0),
            D3D_OK);
        ASSERT_EQ(pkD3DDevice->EndScene(), D3D_OK);
        kMap.ReleaseAll();
    }
    EXPECT_TRUE(pkBuffer->Swap());

    NiRawImageData kPixels;
    ASSERT_TRUE(pkBuffer->GetBackImage()->CopyToRawImage(kPixels));
    ASSERT_EQ(kPixels.GetFormat(), NiRawImageData::FORMAT_RGB);
    EXPECT_EQ(RgbAt(kPixels, 4, 27), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(RgbAt(kPixels, 27, 4), (std::vector<uint8_t>{0, 0, 255}));

    pkD3DDevice->Release();
    pkDirect3D->Release();
    pkBuffer->DecRef();
    NiD3DDriverList::Forget();
}
