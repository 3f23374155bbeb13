#include "tests/platform/d3d7/LayerFixture.h"

#include <string>

namespace
{
std::shared_ptr<d3d7::World> Recording()
{
    return std::make_shared<d3d7::World>(d3d7::Backend::Recording);
}

DDSURFACEDESC2 TextureDesc(DWORD dwWidth, DWORD dwHeight, DWORD dwCaps, const DDPIXELFORMAT& kFormat)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    kDesc.dwWidth = dwWidth;
    kDesc.dwHeight = dwHeight;
    kDesc.ddsCaps.dwCaps = dwCaps;
    kDesc.ddpfPixelFormat = kFormat;
    return kDesc;
}

const DDPIXELFORMAT k565 = d3d7::RgbFormat(16, 0xf800, 0x07e0, 0x001f);

struct Listed
{
    std::vector<bool> kPrimary;
    std::vector<std::string> kNames;
};
} // namespace

TEST(RecordingBackend, EnumeratesTheConfiguredDriversPrimaryFirst)
{
    auto pkWorld = Recording();
    d3d7::DriverConfig kSecond = pkWorld->kDrivers.front();
    kSecond.bPrimary = false;
    kSecond.kGuid = GUID{7, 7, 7, {7}};
    kSecond.sName = "second";
    pkWorld->kDrivers.insert(pkWorld->kDrivers.begin(), kSecond);
    pkWorld->bHasEnumerateEx = false;
    d3d7::ScopedWorld kScope(pkWorld);

    Listed kListed;
    auto fnStep = [](GUID* pkGuid, char*, char* pcName, LPVOID pvContext, HMONITOR) -> BOOL
    {
        auto* pkOut = static_cast<Listed*>(pvContext);
        pkOut->kPrimary.push_back(pkGuid == nullptr);
        pkOut->kNames.push_back(pcName);
        return DDENUMRET_OK;
    };
    EXPECT_EQ(DirectDrawEnumerateExA(fnStep, &kListed, 7), DD_OK);
    EXPECT_EQ(kListed.kPrimary, (std::vector<bool>{true, false}));
    EXPECT_EQ(kListed.kNames, (std::vector<std::string>{"display", "second"}));

    // The run-time lookup finds only what the world's driver library has.
    HMODULE hModule = GetModuleHandleA("ddraw.dll");
    ASSERT_NE(hModule, nullptr);
    EXPECT_NE(GetProcAddress(hModule, "DirectDrawCreateEx"), nullptr);
    EXPECT_EQ(GetProcAddress(hModule, "DirectDrawEnumerateExA"), nullptr);

    // The secondary driver is made from its GUID; an unknown GUID is refused.
    IDirectDraw7* pkDD = nullptr;
    GUID kGuid = kSecond.kGuid;
    ASSERT_EQ(DirectDrawCreateEx(&kGuid, reinterpret_cast<LPVOID*>(&pkDD), IID_IDirectDraw7, nullptr), DD_OK);
    DDDEVICEIDENTIFIER2 kIdentifier;
    EXPECT_EQ(pkDD->GetDeviceIdentifier(&kIdentifier, 0), DD_OK);
    EXPECT_STREQ(kIdentifier.szDriver, "second");
    EXPECT_EQ(pkDD->Release(), 0u);
    GUID kUnknown{9};
    EXPECT_EQ(DirectDrawCreateEx(&kUnknown, reinterpret_cast<LPVOID*>(&pkDD), IID_IDirectDraw7, nullptr),
              DDERR_INVALIDPARAMS);
}

TEST(RecordingBackend, AnswersDevicesCapsAndFormatsFromTheWorld)
{
    auto pkWorld = Recording();
    pkWorld->kDrivers[0].kDevices.push_back(
        {"Software", "RGB", d3d7::DefaultDeviceDesc(IID_IDirect3DRGBDevice)});
    pkWorld->kZBufferFormats = {d3d7::ZBufferFormat(16, 0)};
    LayerFixture kLayer(pkWorld);

    std::vector<GUID> kDevices;
    kLayer.pkD3D->EnumDevices(
        [](char*, char*, D3DDEVICEDESC7* pkDesc, LPVOID pvContext) -> HRESULT
        {
            static_cast<std::vector<GUID>*>(pvContext)->push_back(pkDesc->deviceGUID);
            return D3DENUMRET_OK;
        },
        &kDevices);
    EXPECT_EQ(kDevices, (std::vector<GUID>{IID_IDirect3DTnLHalDevice, IID_IDirect3DRGBDevice}));

    std::vector<DWORD> kDepths;
    kLayer.pkD3D->EnumZBufferFormats(
        IID_IDirect3DTnLHalDevice,
        [](DDPIXELFORMAT* pkFormat, LPVOID pvContext) -> HRESULT
        {
            static_cast<std::vector<DWORD>*>(pvContext)->push_back(pkFormat->dwZBufferBitDepth);
            return D3DENUMRET_OK;
        },
        &kDepths);
    EXPECT_EQ(kDepths, (std::vector<DWORD>{16}));

    // The texture format walk stops when the callback cancels.
    int iSeen = 0;
    kLayer.pkDevice->EnumTextureFormats(
        [](DDPIXELFORMAT*, LPVOID pvContext) -> HRESULT
        { return ++*static_cast<int*>(pvContext) == 2 ? D3DENUMRET_CANCEL : D3DENUMRET_OK; },
        &iSeen);
    EXPECT_EQ(iSeen, 2);

    DDCAPS kHardware;
    kHardware.dwSize = sizeof(kHardware);
    EXPECT_EQ(kLayer.pkDD->GetCaps(&kHardware, nullptr), DD_OK);
    EXPECT_NE(kHardware.dwCaps & DDCAPS_3D, 0u);
    D3DDEVICEDESC7 kCaps;
    EXPECT_EQ(kLayer.pkDevice->GetCaps(&kCaps), D3D_OK);
    EXPECT_NE(kCaps.dpcTriCaps.dwShadeCaps & D3DPSHADECAPS_COLORGOURAUDRGB, 0u);
    EXPECT_EQ(kCaps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_WBUFFER, 0u);
}

TEST(RecordingBackend, ClearsAndPresentsTheBackBufferIntoTheWindow)
{
    LayerFixture kLayer(Recording(), 8, 4);
    D3DRECT kLeft{0, 0, 4, 4};
    ASSERT_EQ(kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff0000ff, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(kLayer.pkDevice->Clear(1, &kLeft, D3DCLEAR_TARGET, 0xffff8000, 1.0f, 0), D3D_OK);

    RECT kScreen{0, 0, 8, 4};
    RECT kSource{0, 0, 8, 4};
    DDBLTFX kFX;
    kFX.dwSize = sizeof(kFX);
    kFX.dwDDFX = DDBLTFX_NOTEARING;
    ASSERT_EQ(kLayer.pkPrimary->Blt(&kScreen, kLayer.pkBack, &kSource, DDBLT_WAIT | DDBLT_DDFX, &kFX), DD_OK);
    ASSERT_EQ(kLayer.kWindow.iFrames, 1);
    EXPECT_EQ(kLayer.kWindow.At(1, 1), 0xffff8000u);
    EXPECT_EQ(kLayer.kWindow.At(6, 2), 0xff0000ffu);

    // The back buffer reads back in its own display format, without alpha.
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    ASSERT_EQ(kLayer.pkBack->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    EXPECT_EQ(kDesc.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS, 0u);
    EXPECT_EQ(static_cast<uint32_t*>(kDesc.lpSurface)[7] & 0xffffff, 0x0000ffu);
    EXPECT_EQ(kLayer.pkBack->Unlock(nullptr), DD_OK);
    EXPECT_EQ(kLayer.pkBack->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST(RecordingBackend, LostSurfacesStopTheSceneUntilRestored)
{
    auto pkWorld = Recording();
    pkWorld->uiLoseSurfacesAtScene = 2;
    pkWorld->FailCall("Restore", DDERR_SURFACELOST, 0, 1);
    LayerFixture kLayer(pkWorld);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;

    ASSERT_EQ(pkDevice->BeginScene(), D3D_OK);
    ASSERT_EQ(pkDevice->EndScene(), D3D_OK);
    // Focus went elsewhere: the next scene cannot begin, and every surface says so.
    EXPECT_EQ(pkDevice->BeginScene(), DDERR_SURFACELOST);
    EXPECT_EQ(kLayer.pkBack->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(kLayer.pkPrimary->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(kLayer.pkZ->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DDERR_SURFACELOST);
    EXPECT_EQ(pkDevice->SetRenderTarget(kLayer.pkBack, 0), DDERR_SURFACELOST);

    // The first restore fails (the display is still elsewhere); the next frame retries.
    EXPECT_EQ(kLayer.pkBack->Restore(), DDERR_SURFACELOST);
    EXPECT_EQ(pkDevice->BeginScene(), DDERR_SURFACELOST);

    // Recovery as a renderer does it: restore back buffer, front and z, then the rest.
    EXPECT_EQ(kLayer.pkBack->Restore(), DD_OK);
    EXPECT_EQ(kLayer.pkPrimary->Restore(), DD_OK);
    EXPECT_EQ(kLayer.pkDD->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(kLayer.pkZ->IsLost(), DD_OK);
    EXPECT_EQ(pkDevice->SetRenderTarget(kLayer.pkBack, 0), D3D_OK);
    EXPECT_EQ(pkDevice->BeginScene(), D3D_OK);
    EXPECT_EQ(pkDevice->EndScene(), D3D_OK);
    EXPECT_EQ(pkWorld->CountCalls("Restore"), 3u);
}

TEST(RecordingBackend, TextureMemoryIsABudgetOfTopLevels)
{
    auto pkWorld = Recording();
    pkWorld->dwTextureMemory = 2 * 64 * 64 * 2; // two 64x64 16-bit textures
    LayerFixture kLayer(pkWorld);

    DDSURFACEDESC2 kDesc =
        TextureDesc(64, 64, DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, k565);
    IDirectDrawSurface7* apkTextures[3] = {};
    ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &apkTextures[0], nullptr), DD_OK);
    ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &apkTextures[1], nullptr), DD_OK);
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &apkTextures[2], nullptr), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(apkTextures[2], nullptr);

    DDSCAPS2 kCaps{DDSCAPS_TEXTURE};
    DWORD dwTotal = 0;
    DWORD dwFree = 1;
    EXPECT_EQ(kLayer.pkDD->GetAvailableVidMem(&kCaps, &dwTotal, &dwFree), DD_OK);
    EXPECT_EQ(dwTotal, pkWorld->dwTextureMemory);
    EXPECT_EQ(dwFree, 0u);

    // System-memory textures are not charged; releasing a device texture gives its memory back.
    kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface7* pkSystem = nullptr;
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkSystem, nullptr), DD_OK);
    pkSystem->Release();
    apkTextures[0]->Release();
    kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY;
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &apkTextures[2], nullptr), DD_OK);
    apkTextures[1]->Release();
    apkTextures[2]->Release();

    // Device textures come only in offered formats.
    kDesc.ddpfPixelFormat = d3d7::RgbFormat(24, 0xff0000, 0xff00, 0xff);
    IDirectDrawSurface7* pkRefused = nullptr;
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkRefused, nullptr), DDERR_INVALIDPIXELFORMAT);
}

TEST(RecordingBackend, MipLevelsAreWalkedUntilNotFound)
{
    LayerFixture kLayer(Recording());
    DDSURFACEDESC2 kDesc =
        TextureDesc(16, 4, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, k565);
    IDirectDrawSurface7* pkTop = nullptr;
    ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkTop, nullptr), DD_OK);

    std::vector<std::pair<DWORD, DWORD>> kSizes;
    IDirectDrawSurface7* pkLevel = pkTop;
    pkLevel->AddRef();
    while (pkLevel != nullptr)
    {
        DDSURFACEDESC2 kLevelDesc;
        kLevelDesc.dwSize = sizeof(kLevelDesc);
        pkLevel->GetSurfaceDesc(&kLevelDesc);
        kSizes.emplace_back(kLevelDesc.dwWidth, kLevelDesc.dwHeight);
        DDSCAPS2 kCaps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
        IDirectDrawSurface7* pkNext = nullptr;
        const HRESULT hr = pkLevel->GetAttachedSurface(&kCaps, &pkNext);
        EXPECT_TRUE(hr == DD_OK || hr == DDERR_NOTFOUND);
        pkLevel->Release();
        pkLevel = pkNext;
    }
    EXPECT_EQ(kSizes, (std::vector<std::pair<DWORD, DWORD>>{{16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}));
    EXPECT_EQ(pkTop->Release(), 0u);

    // More levels than the size allows are refused.
    kDesc.dwFlags |= DDSD_MIPMAPCOUNT;
    kDesc.dwMipMapCount = 6;
    EXPECT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkTop, nullptr), DDERR_INVALIDPARAMS);
}

TEST(RecordingBackend, KeyedBlitLeavesKeyPixelsOut)
{
    LayerFixture kLayer(Recording(), 4, 1);
    DDSURFACEDESC2 kDesc = TextureDesc(2, 1, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, k565);
    IDirectDrawSurface7* pkImage = nullptr;
    ASSERT_EQ(kLayer.pkDD->CreateSurface(&kDesc, &pkImage, nullptr), DD_OK);
    DDSURFACEDESC2 kLock;
    kLock.dwSize = sizeof(kLock);
    ASSERT_EQ(pkImage->Lock(nullptr, &kLock, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<uint16_t*>(kLock.lpSurface)[0] = 0x0000; // the key
    static_cast<uint16_t*>(kLock.lpSurface)[1] = 0xf800; // red
    pkImage->Unlock(nullptr);
    DDCOLORKEY kKey{0, 0};
    ASSERT_EQ(pkImage->SetColorKey(DDCKEY_SRCBLT, &kKey), DD_OK);

    kLayer.pkDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff00ff00, 1.0f, 0);
    RECT kDest{1, 0, 3, 1};
    DDBLTFX kFX;
    kFX.dwSize = sizeof(kFX);
    ASSERT_EQ(kLayer.pkBack->Blt(&kDest, pkImage, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, &kFX), DD_OK);
    RECT kOutside{3, 0, 5, 1};
    EXPECT_EQ(kLayer.pkBack->Blt(&kOutside, pkImage, nullptr, DDBLT_WAIT, &kFX), DDERR_INVALIDRECT);

    ASSERT_EQ(kLayer.pkPrimary->Blt(nullptr, kLayer.pkBack, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(kLayer.kWindow.kPixels,
              (std::vector<uint32_t>{0xff00ff00, 0xff00ff00, 0xffff0000, 0xff00ff00}));
    pkImage->Release();
}

TEST(RecordingBackend, DrawsAreCheckedAgainstTheSceneAndTheBuffer)
{
    LayerFixture kLayer(Recording());
    IDirect3DVertexBuffer7* pkVB = kLayer.MakeBuffer(std::vector<float>(12, 0.0f), {1, 2, 3, 4});
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    WORD awGood[] = {0, 1, 2, 2, 3, 0};
    WORD awBad[] = {0, 1, 4};

    EXPECT_EQ(pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, 3, 0), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(pkDevice->BeginScene(), D3D_OK);
    struct Case
    {
        DWORD dwStart;
        DWORD dwCount;
        WORD* pwIndices;
        DWORD dwIndices;
        HRESULT hr;
    };
    for (const Case& kCase :
         {Case{0, 4, awGood, 6, D3D_OK}, Case{0, 4, awBad, 3, D3DERR_INVALIDCALL},
          Case{1, 3, awGood, 6, D3DERR_INVALIDCALL}, Case{2, 3, awGood, 3, D3DERR_INVALIDCALL},
          Case{0, 4, nullptr, 3, D3DERR_INVALIDCALL}})
        EXPECT_EQ(pkDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, kCase.dwStart, kCase.dwCount,
                                                   kCase.pwIndices, kCase.dwIndices, 0),
                  kCase.hr)
            << kCase.dwStart << " " << kCase.dwCount;
    EXPECT_EQ(pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, pkVB, 1, 3, 0), D3D_OK);
    EXPECT_EQ(pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, pkVB, 2, 3, 0), D3DERR_INVALIDCALL);

    // An optimised buffer still draws but can no longer be locked.
    EXPECT_EQ(pkVB->Optimize(pkDevice, 0), D3D_OK);
    LPVOID pvData = nullptr;
    EXPECT_EQ(pkVB->Lock(DDLOCK_WAIT, &pvData, nullptr), D3DERR_VERTEXBUFFEROPTIMIZED);
    D3DVERTEXBUFFERDESC kDesc;
    pkVB->GetVertexBufferDesc(&kDesc);
    EXPECT_NE(kDesc.dwCaps & D3DVBCAPS_OPTIMIZED, 0u);
    EXPECT_EQ(pkDevice->DrawPrimitiveVB(D3DPT_TRIANGLELIST, pkVB, 0, 3, 0), D3D_OK);
    EXPECT_EQ(pkDevice->EndScene(), D3D_OK);
    EXPECT_EQ(pkVB->Release(), 0u);
}

TEST(RecordingBackend, KeepsStateAsGivenAndLogsEveryCall)
{
    auto pkWorld = Recording();
    pkWorld->FailCall("SetLight", DDERR_GENERIC, 1, 1);
    LayerFixture kLayer(pkWorld);
    IDirect3DDevice7* pkDevice = kLayer.pkDevice;
    pkWorld->ClearCalls();

    EXPECT_EQ(pkDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW), D3D_OK);
    EXPECT_EQ(pkDevice->SetTextureStageState(1, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP), D3D_OK);
    D3DLIGHT7 kLight;
    kLight.dltType = D3DLIGHT_SPOT;
    kLight.dvTheta = kLight.dvPhi = 1.0f;
    EXPECT_EQ(pkDevice->SetLight(0x12345678, &kLight), D3D_OK);
    EXPECT_EQ(pkDevice->SetLight(0x12345678, &kLight), DDERR_GENERIC); // the injected failure
    EXPECT_EQ(pkDevice->SetLight(0x12345678, &kLight), D3D_OK);
    kLight.dvPhi = 4.0f; // wider than a half turn
    EXPECT_EQ(pkDevice->SetLight(1, &kLight), DDERR_INVALIDPARAMS);
    EXPECT_EQ(pkDevice->LightEnable(0x12345678, TRUE), D3D_OK);

    DWORD dwValue = 0;
    pkDevice->GetRenderState(D3DRENDERSTATE_CULLMODE, &dwValue);
    EXPECT_EQ(dwValue, static_cast<DWORD>(D3DCULL_CW));
    pkDevice->GetTextureStageState(1, D3DTSS_ADDRESSV, &dwValue);
    EXPECT_EQ(dwValue, static_cast<DWORD>(D3DTADDRESS_CLAMP));
    BOOL bEnabled = FALSE;
    EXPECT_EQ(pkDevice->GetLightEnable(0x12345678, &bEnabled), D3D_OK);
    EXPECT_TRUE(bEnabled);

    ASSERT_EQ(pkWorld->Calls().size(), 7u);
    EXPECT_EQ(pkWorld->Calls()[0].Text(), "SetRenderState(22, 2)");
    EXPECT_EQ(pkWorld->CountCalls("SetLight"), 4u);

    // A viewport must fit its target.
    D3DVIEWPORT7 kPort{16, 16, 17, 16, 0.0f, 1.0f};
    EXPECT_EQ(pkDevice->SetViewport(&kPort), DDERR_INVALIDPARAMS);
    kPort.dwWidth = 16;
    EXPECT_EQ(pkDevice->SetViewport(&kPort), D3D_OK);
}

TEST(RecordingBackend, FlipChainsAndDisplayModes)
{
    auto pkWorld = Recording();
    pkWorld->bTripleBuffering = false;
    LayerFixture kLayer(pkWorld);
    IDirectDraw7* pkDD = kLayer.pkDD;

    EXPECT_EQ(pkDD->SetDisplayMode(800, 600, 16, 0, 0), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(pkDD->SetCooperativeLevel(&kLayer.kWindow, 0x413), DD_OK);
    EXPECT_EQ(pkDD->SetDisplayMode(800, 601, 16, 0, 0), DDERR_INVALIDMODE);
    ASSERT_EQ(pkDD->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    DDSURFACEDESC2 kMode;
    kMode.dwSize = sizeof(kMode);
    pkDD->GetDisplayMode(&kMode);
    EXPECT_EQ(kMode.ddpfPixelFormat.dwRGBBitCount, 16u);

    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    kDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    kDesc.dwBackBufferCount = 2;
    IDirectDrawSurface7* pkFront = nullptr;
    EXPECT_EQ(pkDD->CreateSurface(&kDesc, &pkFront, nullptr), DDERR_OUTOFVIDEOMEMORY);
    kDesc.dwBackBufferCount = 1;
    ASSERT_EQ(pkDD->CreateSurface(&kDesc, &pkFront, nullptr), DD_OK);
    DDSCAPS2 kCaps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface7* pkBack = nullptr;
    ASSERT_EQ(pkFront->GetAttachedSurface(&kCaps, &pkBack), DD_OK);
    DDSURFACEDESC2 kBackDesc;
    kBackDesc.dwSize = sizeof(kBackDesc);
    pkBack->GetSurfaceDesc(&kBackDesc);
    EXPECT_EQ(kBackDesc.dwWidth, 640u);
    EXPECT_EQ(kBackDesc.ddpfPixelFormat.dwRGBBitCount, 16u);
    kCaps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* pkNone = nullptr;
    EXPECT_EQ(pkBack->GetAttachedSurface(&kCaps, &pkNone), DDERR_NOTFOUND);

    // Flipping shows the back buffer in the window of the cooperative level.
    EXPECT_EQ(pkFront->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(kLayer.kWindow.iFrameWidth, 640);
    pkBack->Release();
    pkFront->Release();
    EXPECT_EQ(pkDD->RestoreDisplayMode(), DD_OK);
    EXPECT_EQ(pkWorld->kDisplayMode.dwBPP, 32u);
}
