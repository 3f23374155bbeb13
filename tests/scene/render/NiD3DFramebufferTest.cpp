#include "RenderLayerFixture.h"

#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDirectDrawDevice.h"

#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

namespace
{
struct FramebufferFixture : RecordingWorld
{
    FramebufferFixture()
    {
        m_kWindow.SetClientSize(40, 30);
        m_pkDevice = NiDirectDrawDevice::Create(nullptr);
    }
    ~FramebufferFixture()
    {
        if (m_pkDevice)
            m_pkDevice->DecRef();
    }
    NiD3DFramebuffer* MakeWindowed()
    {
        return NiD3DFramebuffer::Create(m_pkDevice, false, 0, 0, 0, &m_kWindow, nullptr, true);
    }

    win32::Window m_kWindow;
    NiDirectDrawDevice* m_pkDevice = nullptr;
};
} // namespace

TEST(NiD3DFramebuffer, WindowedBuffersShareTheDevicesPrimary)
{
    FramebufferFixture kFixture;
    kFixture.World().ClearCalls();
    NiD3DFramebuffer* pkFirst = kFixture.MakeWindowed();
    ASSERT_TRUE(pkFirst);
    EXPECT_EQ(pkFirst->GetWidth(), 40u);
    EXPECT_EQ(pkFirst->GetHeight(), 30u);
    EXPECT_EQ(pkFirst->GetFrontSurface(), kFixture.m_pkDevice->GetPrimarySurface());
    EXPECT_EQ(pkFirst->GetFrontImage(), kFixture.m_pkDevice->GetPrimaryImage());
    EXPECT_NE(pkFirst->GetBackImage(), pkFirst->GetFrontImage());
    EXPECT_EQ(pkFirst->GetPixelLayout().m_ucBitsPerPixel, 32);
    EXPECT_EQ(pkFirst->GetPixelLayout().m_auiMask[NiPixelLayout::ALPHA], 0u);
    EXPECT_NE(pkFirst->GetPixelLayout().m_uiFormatNumber, 0u);
    EXPECT_TRUE(kFixture.Logged("(Creation): Framebuffer object creation succeeded"));
    // The framebuffer holds the device.
    EXPECT_EQ(kFixture.m_pkDevice->GetRefCount(), 2);

    const size_t uiSurfaces = kFixture.World().CountCalls("CreateSurface");
    NiD3DFramebuffer* pkSecond = kFixture.MakeWindowed();
    ASSERT_TRUE(pkSecond);
    EXPECT_EQ(pkSecond->GetFrontImage(), pkFirst->GetFrontImage());
    // Only the second back surface is new.
    EXPECT_EQ(kFixture.World().CountCalls("CreateSurface"), uiSurfaces + 1);
    pkSecond->DecRef();
    pkFirst->DecRef();
    EXPECT_EQ(kFixture.m_pkDevice->GetRefCount(), 1);
}

TEST(NiD3DFramebuffer, CreationFailuresLogTheirErrors)
{
    FramebufferFixture kFixture;
    EXPECT_EQ(NiD3DFramebuffer::Create(kFixture.m_pkDevice, false, 0, 0, 0, nullptr, nullptr, true), nullptr);
    EXPECT_STREQ(D3DGetLastError(), "(Creation): Windowed renderer requires a non-NULL window handle");

    kFixture.World().FailCall("CreateClipper", DDERR_GENERIC);
    EXPECT_EQ(kFixture.MakeWindowed(), nullptr);
    EXPECT_TRUE(kFixture.Logged("WARNING: Creation failed: Clipper Creation failed"));
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: Clipper Creation failed");
    EXPECT_EQ(kFixture.m_pkDevice->GetRefCount(), 1);

    // A 24-bit desktop cannot be rendered into (a new device reads the display mode again).
    kFixture.m_pkDevice->DecRef();
    kFixture.World().kDisplayMode.dwBPP = 24;
    kFixture.m_pkDevice = NiDirectDrawDevice::Create(nullptr);
    EXPECT_EQ(kFixture.MakeWindowed(), nullptr);
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: Windowed mode must be 16 or 32 bits");
}

TEST(NiD3DFramebuffer, FullscreenFallsBackToDoubleBufferingSilently)
{
    for (const bool bTriple : {true, false})
    {
        FramebufferFixture kFixture;
        kFixture.World().bTripleBuffering = bTriple;
        NiD3DFramebuffer* pkBuffer =
            NiD3DFramebuffer::Create(kFixture.m_pkDevice, true,
                                     NiD3DFramebuffer::CREATE_TRIPLE_BUFFER | NiD3DFramebuffer::CREATE_32_BIT,
                                     1024, 768, &kFixture.m_kWindow, nullptr, true);
        ASSERT_TRUE(pkBuffer);
        EXPECT_EQ(kFixture.Logged("(Creation): Using Triple Buffering"), bTriple);
        EXPECT_EQ(pkBuffer->GetKind(), NiD3DFramebuffer::KIND_FULLSCREEN);
        EXPECT_TRUE(pkBuffer->GetBackSurface());
        EXPECT_TRUE(pkBuffer->Swap());
        EXPECT_EQ(kFixture.World().CountCalls("Flip"), 1u);
        pkBuffer->DecRef();
    }
}

TEST(NiD3DFramebuffer, ZBufferAttachAndDetach)
{
    FramebufferFixture kFixture;
    NiD3DFramebuffer* pkBuffer = kFixture.MakeWindowed();
    ASSERT_TRUE(pkBuffer);
    EXPECT_FALSE(pkBuffer->AttachZBuffer(true, DDPIXELFORMAT()));
    EXPECT_STREQ(D3DGetLastError(), "Creation failed: 3D Hardware does not support a Z-buffer format");
    ASSERT_TRUE(pkBuffer->AttachZBuffer(true, d3d7::ZBufferFormat(16, 0)));
    EXPECT_EQ(pkBuffer->GetFlags() & NiD3DFramebuffer::FLAG_FOUND_ATTACHED_Z, 0u);
    EXPECT_TRUE(pkBuffer->DetachZBuffer());
    EXPECT_EQ(pkBuffer->GetZBuffer(), nullptr);

    // A z-buffer already on an application's back surface is used and left there.
    IDirectDraw7* pkDirectDraw = kFixture.m_pkDevice->GetDirectDraw();
    IDirectDrawSurface7* pkBack = MakeRenderTarget(pkDirectDraw, 40, 30);
    ASSERT_TRUE(pkBack);
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    kDesc.dwWidth = 40;
    kDesc.dwHeight = 30;
    kDesc.ddpfPixelFormat = d3d7::ZBufferFormat(16, 0);
    kDesc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    IDirectDrawSurface7* pkZ = nullptr;
    ASSERT_EQ(pkDirectDraw->CreateSurface(&kDesc, &pkZ, nullptr), DD_OK);
    ASSERT_EQ(pkBack->AddAttachedSurface(pkZ), DD_OK);
    NiD3DFramebuffer* pkApp = NiD3DFramebuffer::CreateFromSurfaces(
        kFixture.m_pkDevice, false, &kFixture.m_kWindow, kFixture.m_pkDevice->GetPrimarySurface(), pkBack);
    ASSERT_TRUE(pkApp);
    ASSERT_TRUE(pkApp->AttachZBuffer(true, d3d7::ZBufferFormat(16, 0)));
    EXPECT_EQ(pkApp->GetZBuffer(), pkZ);
    EXPECT_TRUE(pkApp->GetFlags() & NiD3DFramebuffer::FLAG_FOUND_ATTACHED_Z);
    EXPECT_FALSE(pkApp->DetachZBuffer());
    kFixture.World().ClearCalls();
    pkApp->DecRef();
    EXPECT_EQ(kFixture.World().CountCalls("DeleteAttachedSurface"), 0u);
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* pkStill = nullptr;
    EXPECT_EQ(pkBack->GetAttachedSurface(&kCaps, &pkStill), DD_OK);
    EXPECT_EQ(pkStill, pkZ);
    pkStill->Release();
    pkZ->Release();
    pkBack->Release();
    pkBuffer->DecRef();
}

// Lost surfaces: nothing is presented until the framebuffer is restored.
TEST(NiD3DFramebuffer, LostSurfacesStopPresentingUntilRestored)
{
    FramebufferFixture kFixture;
    NiD3DFramebuffer* pkBuffer = kFixture.MakeWindowed();
    ASSERT_TRUE(pkBuffer);
    ASSERT_TRUE(pkBuffer->AttachZBuffer(true, d3d7::ZBufferFormat(24, 8)));
    const uint32_t uiRevision = pkBuffer->GetBackImage()->GetRevision();
    ASSERT_TRUE(pkBuffer->Swap());
    EXPECT_EQ(kFixture.World().CountCalls("Blt"), 1u);
    EXPECT_EQ(pkBuffer->GetBackImage()->GetRevision(), uiRevision + 1);

    kFixture.World().LoseAllSurfaces();
    EXPECT_TRUE(pkBuffer->IsLost());
    EXPECT_FALSE(pkBuffer->Swap());
    EXPECT_EQ(kFixture.World().CountCalls("Blt"), 1u);
    EXPECT_EQ(pkBuffer->GetBackImage()->GetRevision(), uiRevision + 1);

    EXPECT_TRUE(pkBuffer->Restore());
    EXPECT_FALSE(pkBuffer->IsLost());
    EXPECT_TRUE(pkBuffer->Swap());
    EXPECT_EQ(pkBuffer->GetFrontImage()->GetRevision(), pkBuffer->GetBackImage()->GetRevision());
    pkBuffer->DecRef();
}
