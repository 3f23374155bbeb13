#include "RenderLayerFixture.h"

#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "scene/graph/NiLinesData.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/object/NiColor.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DRender.h"

#include "scene/object/NiRefPtr.h"
#include "scene/render/NiDDImage.h"
#include "scene/render/NiDirectDrawDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace
{
struct RendererFixture : RecordingWorld
{
    RendererFixture() { m_kWindow.SetClientSize(64, 48); }
    NiD3DRender* Make(uint32_t uiFlags = NiD3DRender::CREATE_ZBUFFER)
    {
        return NiD3DRender::Create(0, 0, 0, uiFlags, &m_kWindow, nullptr, nullptr);
    }
    // The device calls logged since the last clear, by name.
    size_t Count(const char* pcMethod) const { return m_spWorld->CountCalls(pcMethod); }
    const d3d7::Call* Last(const char* pcMethod) const
    {
        const auto& kCalls = m_spWorld->Calls();
        for (auto kIt = kCalls.rbegin(); kIt != kCalls.rend(); ++kIt)
        {
            if (kIt->sMethod == pcMethod)
                return &*kIt;
        }
        return nullptr;
    }

    win32::Window m_kWindow;
};

std::vector<std::string> RendererLines(const std::string& kText)
{
    std::vector<std::string> kLines;
    size_t uiStart = 0;
    for (size_t uiEnd; (uiEnd = kText.find('\n', uiStart)) != std::string::npos; uiStart = uiEnd + 1)
        kLines.push_back(kText.substr(uiStart, uiEnd - uiStart));
    return kLines;
}
} // namespace

TEST(NiD3DRender, CreationSucceedsWithEveryStepLoggedAndShutsDownInOrder)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make(NiD3DRender::CREATE_ZBUFFER);
    ASSERT_TRUE(spRenderer);
    EXPECT_EQ(spRenderer->GetRendererFlags(),
              uint32_t(NiD3DRender::FLAG_CREATED | NiD3DRender::FLAG_INITIALISED |
                       NiD3DRender::FLAG_HARDWARE | NiD3DRender::FLAG_ALPHA_BLENDING |
                       NiD3DRender::FLAG_TRUE_COLOR));
    EXPECT_EQ(spRenderer->GetScreenWidth(), 64u);
    EXPECT_EQ(spRenderer->GetScreenHeight(), 48u);
    EXPECT_EQ(spRenderer->GetColorDepth(), 32u);
    // Flag 1 tries the shallow format first.
    EXPECT_EQ(spRenderer->GetZBufferFormat().dwZBufferBitDepth, 16u);
    EXPECT_STREQ(spRenderer->GetDriverDescription(), "TnL HAL on Recording");
    EXPECT_EQ(NiImage::GetImageFactory(), &NiDDImage::Create);
    for (const char* pcLine :
         {"(Creation): Attempting to create Direct3D renderer", "(Creation): Attempting to create z-buffer",
          "(Creation): Z-buffer creation successful",
          "(Creation): Z-buffer format does NOT include a Stencil buffer",
          "(Creation): Direct3D device has all required capabilities",
          "(Creation): Renderer creation successful"})
        EXPECT_TRUE(kFixture.Logged(pcLine)) << pcLine;

    win32::DebugOutputCapture kShutdown;
    spRenderer = nullptr;
    const std::vector<std::string> EXPECTED = {
        "NI D3D Renderer: (Shutdown): Shutting down D3D Renderer",
        "NI D3D Renderer: (Shutdown): Destroying cached geometry data",
        "NI D3D Renderer: (Shutdown): Finished destroying cached geometry data",
        "NI D3D Renderer: (Shutdown): Destroying texture manager",
        "NI D3D Renderer: (Shutdown): Finished destroying texture manager",
        "NI D3D Renderer: (Shutdown): Releasing D3D device",
        "NI D3D Renderer: (Shutdown): Released D3D device",
        "NI D3D Renderer: (Shutdown): Destroying framebuffers",
        "NI D3D Renderer: (Shutdown): Releasing DirectDraw encapsulation object",
        "NI D3D Renderer: (Shutdown): DirectDraw encapsulation object released",
        "NI D3D Renderer: (Shutdown): Finished destroying framebuffers",
        "NI D3D Renderer: (Shutdown): Finished shutting down D3D Renderer",
    };
    std::vector<std::string> kLines;
    for (const std::string& kLine : RendererLines(kShutdown.GetText()))
    {
        if (kLine.rfind("NI D3D Renderer: (Shutdown)", 0) == 0)
            kLines.push_back(kLine);
    }
    EXPECT_EQ(kLines, EXPECTED);
}

TEST(NiD3DRender, CreationFailuresGiveNullAndTheirErrors)
{
    {
        RendererFixture kFixture;
        kFixture.World().kDrivers.clear();
        EXPECT_EQ(kFixture.Make(), nullptr);
        EXPECT_STREQ(D3DGetLastError(),
                     "Creation failed: Could not find any Direct3D-compatible 3D hardware or software");
        // The attempt and its failure are on the debugger output, and nothing was made.
        EXPECT_TRUE(kFixture.Logged("(Creation): Attempting to create Direct3D renderer\n"));
        EXPECT_TRUE(kFixture.Logged(
            "Creation failed: Could not find any Direct3D-compatible 3D hardware or software\n"));
        EXPECT_FALSE(kFixture.Logged("(Creation): Attempting to initialize DirectDraw device"));
        EXPECT_EQ(NiDirectDrawDevice::GetLivingCount(), 0u);
    }
    {
        RendererFixture kFixture;
        auto& kDesc = kFixture.World().kDrivers[0].kDevices[0].kDesc;
        kDesc.dpcTriCaps.dwShadeCaps &= ~D3DPSHADECAPS_COLORGOURAUDRGB;
        EXPECT_EQ(kFixture.Make(), nullptr);
        EXPECT_STREQ(D3DGetLastError(), "Creation failed: D3D device cannot support required capabilities");
        EXPECT_TRUE(kFixture.Logged("(Creation): Checking Direct3D device for required capabilities\n"));
        EXPECT_FALSE(kFixture.Logged("(Creation): Renderer creation successful"));
        EXPECT_EQ(NiDirectDrawDevice::GetLivingCount(), 0u);
    }
    {
        // Every z format refused: no device.
        RendererFixture kFixture;
        kFixture.World().kZBufferFormats.clear();
        EXPECT_EQ(kFixture.Make(), nullptr);
        EXPECT_STREQ(D3DGetLastError(), "Creation failed: Cannot create D3D device");
        EXPECT_TRUE(kFixture.Logged("(Creation): Attempting to create z-buffer\n"));
        // Without a z-buffer wanted the device is made all the same.
        NiRefPtr<NiD3DRender> spRenderer = kFixture.Make(0);
        EXPECT_TRUE(spRenderer);
    }
}

TEST(NiD3DRender, ZCandidatesAreTriedInTheOrderTheFlagsAsk)
{
    const struct
    {
        uint32_t m_uiFlags;
        uint32_t m_uiDepth;
        uint32_t m_uiStencil;
    } CASES[] = {
        {NiD3DRender::CREATE_ZBUFFER, 16, 0},
        {NiD3DRender::CREATE_ZBUFFER | NiD3DRender::CREATE_DEEP_ZBUFFER, 32, 0},
        {NiD3DRender::CREATE_ZBUFFER | NiD3DRender::CREATE_STENCIL, 32, 8},
    };
    for (const auto& kCase : CASES)
    {
        RendererFixture kFixture;
        NiRefPtr<NiD3DRender> spRenderer = kFixture.Make(kCase.m_uiFlags);
        ASSERT_TRUE(spRenderer);
        EXPECT_EQ(spRenderer->GetZBufferFormat().dwZBufferBitDepth, kCase.m_uiDepth);
        EXPECT_EQ(spRenderer->GetZBufferFormat().dwStencilBitDepth, kCase.m_uiStencil);
        EXPECT_EQ((spRenderer->GetRendererFlags() & NiD3DRender::FLAG_STENCIL_BUFFER) != 0,
                  kCase.m_uiStencil != 0);
    }
}

TEST(NiD3DRender, ClearCameraAndBackground)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    EXPECT_TRUE(spRenderer->SetBackgroundColor(NiColor(1.0f, 0.5f, 0.0f)));
    EXPECT_EQ(spRenderer->GetBackgroundColor(), 0xFF7F00u);

    kFixture.World().ClearCalls();
    EXPECT_TRUE(spRenderer->ClearViewport(nullptr, NiRender::CLEAR_ALL));
    const d3d7::Call* pkClear = kFixture.Last("Clear");
    ASSERT_TRUE(pkClear);
    // No stencil in a 16-bit z-buffer: colour and depth only.
    EXPECT_EQ(pkClear->kArgs[1], uint64_t(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));

    NiFrustum kFrustum(-1, 1, 1, -1, 1, 101);
    ASSERT_TRUE(spRenderer->SetCameraFrame(NiPoint3(1, 2, 3), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0),
                                           NiPoint3(1, 0, 0), kFrustum, NiRect<float>(0, 0.5f, 1, 0)));
    const D3DMATRIX& kProjection = spRenderer->GetProjectionMatrix();
    EXPECT_FLOAT_EQ(kProjection._33, 101.0f / 100.0f);
    EXPECT_FLOAT_EQ(kProjection._43, -101.0f / 100.0f);
    EXPECT_EQ(kProjection._34, 1.0f);
    EXPECT_EQ(spRenderer->GetViewMatrix()._41, -1.0f);
    EXPECT_EQ(spRenderer->GetViewMatrix()._43, -3.0f);
    EXPECT_EQ(spRenderer->GetViewport().dwWidth, 32u);
    EXPECT_EQ(spRenderer->GetViewport().dwHeight, 48u);

    // Projection modes only inside a scene, and the camera's matrices come back after.
    EXPECT_FALSE(spRenderer->SetProjectionMode(1));
    ASSERT_TRUE(spRenderer->OpenScene(nullptr));
    EXPECT_TRUE(spRenderer->SetProjectionMode(1));
    spRenderer->RestoreProjection();
    IDirect3DDevice7* pkDevice = spRenderer->GetD3DDevice();
    D3DMATRIX kNow;
    pkDevice->GetTransform(D3DTRANSFORMSTATE_PROJECTION, &kNow);
    EXPECT_EQ(kNow._33, kProjection._33);
    spRenderer->CloseScene();
    EXPECT_FALSE(spRenderer->IsInScene());

    spRenderer->SetFogDepth(-3.0f);
    EXPECT_FLOAT_EQ(spRenderer->GetFogDepth(), 0.00001f);
    EXPECT_FALSE(spRenderer->SetClipPlanes(nullptr, 0, 0, 0));
    EXPECT_TRUE(spRenderer->SetClipPlanes(nullptr, 4, 4, 15));
}

TEST(NiD3DRender, CameraViewportsAreClampedToTheTarget)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    struct Case
    {
        NiRect<float> m_kPort; // left, right, top, bottom
        DWORD m_dwX, m_dwY, m_dwWidth, m_dwHeight;
    };
    const Case akCases[] = {
        {{0.25f, 0.75f, 1, 0.5f}, 16, 0, 32, 24},
        {{1, 0, 0, 1}, 64, 48, 0, 0},               // inverted
        {{-0.5f, 1.5f, 1.5f, -0.5f}, 0, 0, 64, 48}, // beyond every side
        {{0.5f, 1.5f, 0.5f, -1}, 32, 24, 32, 24},   // beyond the right and bottom
    };
    const NiFrustum kFrustum(-1, 1, 1, -1, 1, 101);
    for (const Case& kCase : akCases)
    {
        spRenderer->SetCameraFrame(NiPoint3(0, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0), NiPoint3(1, 0, 0),
                                   kFrustum, kCase.m_kPort);
        const D3DVIEWPORT7& kPort = spRenderer->GetViewport();
        EXPECT_EQ(kPort.dwX, kCase.m_dwX) << kCase.m_kPort.m_left;
        EXPECT_EQ(kPort.dwY, kCase.m_dwY) << kCase.m_kPort.m_top;
        EXPECT_EQ(kPort.dwWidth, kCase.m_dwWidth) << kCase.m_kPort.m_right;
        EXPECT_EQ(kPort.dwHeight, kCase.m_dwHeight) << kCase.m_kPort.m_bottom;
    }
}

TEST(NiD3DRender, ClearsTheViewportPartInsideTheTarget)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    IDirectDrawSurface7* pkBack = spRenderer->GetFramebuffer(0)->GetBackSurface();
    // The cleared pixels of the back buffer's first row and first column.
    auto Cleared = [pkBack](uint32_t& uiRow, uint32_t& uiColumn)
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        ASSERT_EQ(pkBack->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
        auto Pixel = [&](uint32_t uiX, uint32_t uiY)
        {
            uint32_t uiPixel = 0;
            std::memcpy(&uiPixel, static_cast<const uint8_t*>(kDesc.lpSurface) + uiY * kDesc.lPitch + uiX * 4,
                        4);
            return uiPixel & 0xFFFFFF;
        };
        uiRow = uiColumn = 0;
        for (uint32_t x = 0; x < kDesc.dwWidth; ++x)
            uiRow += Pixel(x, kDesc.dwHeight - 1) != 0;
        for (uint32_t y = 0; y < kDesc.dwHeight; ++y)
            uiColumn += Pixel(kDesc.dwWidth - 1, y) != 0;
        pkBack->Unlock(nullptr);
    };
    const float fNaN = std::numeric_limits<float>::quiet_NaN();
    const float fHuge = std::numeric_limits<float>::max();
    struct Case
    {
        NiRect<float> m_kPort; // left, right, top, bottom
        uint32_t m_uiRow, m_uiColumn;
    };
    const Case akCases[] = {
        {{0.5f, 1, 1, 0}, 32, 48},
        {{0.5f, fHuge, fNaN, -fHuge}, 32, 48}, // beyond the target, or no number: to its edges
        {{fNaN, fNaN, fNaN, fNaN}, 0, 0},
        {{-fHuge, fHuge, fHuge, -fHuge}, 64, 48},
    };
    for (const Case& kCase : akCases)
    {
        spRenderer->SetBackgroundColor(NiColor(0, 0, 0));
        ASSERT_TRUE(spRenderer->ClearViewport(nullptr, NiRender::CLEAR_BACKBUFFER));
        spRenderer->SetBackgroundColor(NiColor(1, 0, 0));
        EXPECT_TRUE(spRenderer->ClearViewport(&kCase.m_kPort, NiRender::CLEAR_BACKBUFFER));
        uint32_t uiRow = 0, uiColumn = 0;
        Cleared(uiRow, uiColumn);
        EXPECT_EQ(uiRow, kCase.m_uiRow) << kCase.m_kPort.m_left << " " << kCase.m_kPort.m_right;
        EXPECT_EQ(uiColumn, kCase.m_uiColumn) << kCase.m_kPort.m_top << " " << kCase.m_kPort.m_bottom;
    }
}

TEST(NiD3DRender, RenderTargetsTakeTheFirstFreeSlot)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    EXPECT_EQ(spRenderer->AddRenderTarget(16, 16), 1u);
    EXPECT_EQ(spRenderer->AddRenderTarget(16, 16), 2u);
    EXPECT_TRUE(spRenderer->GetFramebuffer(1)->GetZBuffer());
    spRenderer->RemoveRenderTarget(1);
    spRenderer->RemoveRenderTarget(0);
    spRenderer->RemoveRenderTarget(99);
    EXPECT_TRUE(spRenderer->GetFramebuffer(0));
    EXPECT_EQ(spRenderer->AddRenderTarget(8, 8), 1u);
    ASSERT_TRUE(spRenderer->SelectRenderTarget(1));
    EXPECT_EQ(spRenderer->GetScreenWidth(), 8u);
    EXPECT_FALSE(spRenderer->SelectRenderTarget(7));
    EXPECT_TRUE(spRenderer->SelectRenderTarget(0));
    EXPECT_EQ(spRenderer->GetScreenWidth(), 64u);
}

// A world whose surfaces are lost: the frame is skipped until the surfaces come back, the
// geometry buffers are dropped, the render target is set again and every texture re-uploads.
TEST(NiD3DRender, LostSurfacesAreRecoveredAtTheNextScene)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    auto* pkVertex = new NiPoint3[2]{{0, 0, 0}, {1, 1, 1}};
    NiRefPtr<NiLinesData> spLines = new NiLinesData(2, pkVertex, nullptr, nullptr, new uint8_t[2]{1, 1});
    ASSERT_TRUE(spRenderer->OpenScene(nullptr));
    spRenderer->DrawLines(spLines, NiBoundingSphere());
    const d3d7::Call* pkDraw = kFixture.Last("DrawIndexedPrimitiveVB");
    ASSERT_TRUE(pkDraw);
    // Pairs (0, 1) and the closing (1, 0).
    EXPECT_EQ(pkDraw->kArgs[4], 4u);
    spRenderer->CloseScene();
    EXPECT_EQ(spRenderer->GetGeometryBufferCount(), 1u);

    kFixture.World().LoseAllSurfaces();
    EXPECT_FALSE(spRenderer->PresentFrame());
    kFixture.World().FailCall("Restore", DDERR_SURFACELOST, 0, 1);
    EXPECT_FALSE(spRenderer->OpenScene(nullptr));
    EXPECT_FALSE(spRenderer->IsInScene());
    kFixture.World().ClearCalls();
    ASSERT_TRUE(spRenderer->OpenScene(nullptr));
    EXPECT_TRUE(
        kFixture.Logged("NI D3D Renderer: (Runtime): Recovered from Alt-Tab or minimization of application"));
    EXPECT_EQ(kFixture.Count("SetRenderTarget"), 1u);
    EXPECT_EQ(spRenderer->GetGeometryBufferCount(), 0u);
    spRenderer->CloseScene();
    EXPECT_TRUE(spRenderer->PresentFrame());
}

// Particles become camera-facing quads in a dynamic buffer: the corners follow P -/+ s A and
// P -/+ s B in the model's own axes (a model scale does not enter them a second time: the world
// matrix already scales them), white without colours, six indices a quad.
TEST(NiD3DRender, ParticlesAreDrawnAsQuadsFacingTheCamera)
{
    RendererFixture kFixture;
    NiRefPtr<NiD3DRender> spRenderer = kFixture.Make();
    ASSERT_TRUE(spRenderer);
    auto* pkCentres = new NiPoint3[2]{{5, 0, 0}, {5, 1, 0}};
    NiRefPtr<NiParticlesData> spParticles = new NiParticlesData(2, pkCentres, nullptr, nullptr);
    spParticles->SetRadius(0.5f);
    spParticles->ReplaceSizes(new float[2]{1.0f, 2.0f});

    // The default frame looks along +x with up +y and right +z.
    ASSERT_TRUE(spRenderer->OpenScene(nullptr));
    spRenderer->SetObjectTransform(NiPoint3(0, 0, 0), NiRotationMatrix::IDENTITY, 2.0f);
    spParticles->SetActiveCount(0);
    kFixture.World().ClearCalls();
    spRenderer->DrawParticles(spParticles, NiBoundingSphere());
    EXPECT_EQ(kFixture.Count("DrawIndexedPrimitiveVB"), 0u);

    spParticles->SetActiveCount(2);
    spRenderer->DrawParticles(spParticles, NiBoundingSphere());
    const d3d7::Call* pkDraw = kFixture.Last("DrawIndexedPrimitiveVB");
    ASSERT_TRUE(pkDraw);
    EXPECT_EQ(pkDraw->kArgs[0], uint64_t(D3DPT_TRIANGLELIST));
    EXPECT_EQ(pkDraw->kArgs[3], 8u);
    EXPECT_EQ(pkDraw->kArgs[4], 12u);
    const d3d7::Call* pkLock = kFixture.Last("VertexBuffer::Lock");
    ASSERT_TRUE(pkLock);
    EXPECT_EQ(pkLock->kArgs[0], uint64_t(DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS));

    auto* pkBuffer = reinterpret_cast<IDirect3DVertexBuffer7*>(pkDraw->kArgs[1]);
    LPVOID pvData = nullptr;
    DWORD dwSize = 0;
    ASSERT_EQ(pkBuffer->Lock(DDLOCK_READONLY, &pvData, &dwSize), D3D_OK);
    struct Vertex
    {
        float afPosition[3];
        uint32_t uiColor;
        float afUV[2];
    };
    const auto* pkVertices = static_cast<const Vertex*>(pvData);
    // A = 0.5 (up + right), B = 0.5 (up - right); the second particle twice the size.
    const float aafExpected[8][5] = {{5, -0.5f, -0.5f, 0, 0}, {5, -0.5f, 0.5f, 1, 0}, {5, 0.5f, 0.5f, 1, 1},
                                     {5, 0.5f, -0.5f, 0, 1},  {5, 0, -1, 0, 0},       {5, 0, 1, 1, 0},
                                     {5, 2, 1, 1, 1},         {5, 2, -1, 0, 1}};
    for (int i = 0; i < 8; ++i)
    {
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(pkVertices[i].afPosition[c], aafExpected[i][c]) << "vertex " << i;
        EXPECT_EQ(pkVertices[i].afUV[0], aafExpected[i][3]);
        EXPECT_EQ(pkVertices[i].afUV[1], aafExpected[i][4]);
        EXPECT_EQ(pkVertices[i].uiColor, 0xFFFFFFFFu);
    }
    pkBuffer->Unlock();
    spRenderer->CloseScene();
}
