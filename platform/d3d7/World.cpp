#include "platform/d3d7/World.h"

#include "platform/d3d7/Surface.h"

#include <algorithm>
#include <cstdio>

// Interface and device-type ids: our own constants, compared by value.
const IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDirectDraw7{0x7d3d0001, 0x4657, 0x5744, {0x44, 0x44, 0x52, 0x41, 0x57, 0x00, 0x00, 0x07}};
const IID IID_IDirectDrawSurface7{
    0x7d3d0002, 0x4657, 0x5744, {0x44, 0x44, 0x53, 0x55, 0x52, 0x46, 0x00, 0x07}};
const IID IID_IDirect3D7{0x7d3d0003, 0x4657, 0x5744, {0x44, 0x33, 0x44, 0x00, 0x00, 0x00, 0x00, 0x07}};
const IID IID_IDirect3DDevice7{0x7d3d0004, 0x4657, 0x5744, {0x44, 0x33, 0x44, 0x44, 0x45, 0x56, 0x00, 0x07}};
const IID IID_IDirect3DVertexBuffer7{
    0x7d3d0005, 0x4657, 0x5744, {0x44, 0x33, 0x44, 0x56, 0x42, 0x00, 0x00, 0x07}};
const IID IID_IDirect3DTnLHalDevice{
    0x7d3d0010, 0x4657, 0x5744, {0x54, 0x4e, 0x4c, 0x48, 0x41, 0x4c, 0x00, 0x01}};
const IID IID_IDirect3DHALDevice{
    0x7d3d0011, 0x4657, 0x5744, {0x48, 0x41, 0x4c, 0x00, 0x00, 0x00, 0x00, 0x01}};
const IID IID_IDirect3DRGBDevice{
    0x7d3d0012, 0x4657, 0x5744, {0x52, 0x47, 0x42, 0x00, 0x00, 0x00, 0x00, 0x01}};

namespace d3d7
{
namespace
{
std::shared_ptr<World>& CurrentWorld()
{
    static std::shared_ptr<World> s_pkWorld;
    return s_pkWorld;
}

DDCAPS DefaultDirectDrawCaps()
{
    DDCAPS kCaps;
    kCaps.dwSize = sizeof(DDCAPS);
    kCaps.dwCaps = DDCAPS_3D;
    kCaps.dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
    return kCaps;
}
} // namespace

std::string Call::Text() const
{
    std::string sText = sMethod + "(";
    for (size_t i = 0; i < kArgs.size(); ++i)
    {
        char acArg[32];
        std::snprintf(acArg, sizeof(acArg), "%s%llu", i == 0 ? "" : ", ",
                      static_cast<unsigned long long>(kArgs[i]));
        sText += acArg;
    }
    return sText + ")";
}

DDPIXELFORMAT RgbFormat(DWORD dwBits, DWORD dwR, DWORD dwG, DWORD dwB, DWORD dwA)
{
    DDPIXELFORMAT kFormat;
    kFormat.dwSize = sizeof(DDPIXELFORMAT);
    kFormat.dwFlags = DDPF_RGB | (dwA != 0 ? DDPF_ALPHAPIXELS : 0);
    kFormat.dwRGBBitCount = dwBits;
    kFormat.dwRBitMask = dwR;
    kFormat.dwGBitMask = dwG;
    kFormat.dwBBitMask = dwB;
    kFormat.dwRGBAlphaBitMask = dwA;
    return kFormat;
}

DDPIXELFORMAT ZBufferFormat(DWORD dwDepthBits, DWORD dwStencilBits)
{
    DDPIXELFORMAT kFormat;
    kFormat.dwSize = sizeof(DDPIXELFORMAT);
    kFormat.dwFlags = DDPF_ZBUFFER | (dwStencilBits != 0 ? DDPF_STENCILBUFFER : 0);
    // Depth formats of 24 bits occupy 32 with padding or stencil.
    const DWORD dwTotal = dwDepthBits == 16 ? 16 : 32;
    kFormat.dwZBufferBitDepth = dwTotal;
    kFormat.dwStencilBitDepth = dwStencilBits;
    kFormat.dwZBitMask =
        dwDepthBits == 32 ? 0xffffffffu : ((1u << dwDepthBits) - 1u) << (dwTotal - dwDepthBits);
    kFormat.dwStencilBitMask = dwStencilBits == 0 ? 0 : (1u << dwStencilBits) - 1u;
    return kFormat;
}

D3DDEVICEDESC7 DefaultDeviceDesc(REFCLSID rclsidDevice)
{
    D3DDEVICEDESC7 kDesc;
    const bool bHardware = rclsidDevice != IID_IDirect3DRGBDevice;
    kDesc.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX;
    if (bHardware)
        kDesc.dwDevCaps |= D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_TEXTUREVIDEOMEMORY;
    if (rclsidDevice == IID_IDirect3DTnLHalDevice)
        kDesc.dwDevCaps |= D3DDEVCAPS_HWTRANSFORMANDLIGHT;

    D3DPRIMCAPS& kTri = kDesc.dpcTriCaps;
    kTri.dwSize = sizeof(D3DPRIMCAPS);
    kTri.dwRasterCaps = D3DPRASTERCAPS_DITHER | D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX |
                        D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_WFOG;
    kTri.dwZCmpCaps = D3DPCMPCAPS_ALL;
    kTri.dwAlphaCmpCaps = D3DPCMPCAPS_ALL;
    kTri.dwSrcBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                          D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA |
                          D3DPBLENDCAPS_DESTALPHA | D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR |
                          D3DPBLENDCAPS_INVDESTCOLOR | D3DPBLENDCAPS_SRCALPHASAT;
    // Saturated source alpha has no meaning as a destination factor.
    kTri.dwDestBlendCaps = kTri.dwSrcBlendCaps & ~D3DPBLENDCAPS_SRCALPHASAT;
    kTri.dwShadeCaps = D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB;
    kTri.dwTextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_ALPHA |
                         D3DPTEXTURECAPS_PROJECTED;
    kTri.dwTextureFilterCaps =
        D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR | D3DPTFILTERCAPS_MIPNEAREST |
        D3DPTFILTERCAPS_MIPLINEAR | D3DPTFILTERCAPS_LINEARMIPNEAREST | D3DPTFILTERCAPS_LINEARMIPLINEAR |
        D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
        D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    kTri.dwTextureBlendCaps = D3DPTBLENDCAPS_DECAL | D3DPTBLENDCAPS_MODULATE | D3DPTBLENDCAPS_DECALALPHA |
                              D3DPTBLENDCAPS_MODULATEALPHA | D3DPTBLENDCAPS_ADD;
    kTri.dwTextureAddressCaps =
        D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_INDEPENDENTUV;
    kDesc.dpcLineCaps = kTri;

    kDesc.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    kDesc.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    kDesc.dwMinTextureWidth = 1;
    kDesc.dwMinTextureHeight = 1;
    kDesc.dwMaxTextureWidth = 2048;
    kDesc.dwMaxTextureHeight = 2048;
    kDesc.dwMaxTextureRepeat = 2048;
    kDesc.dwMaxTextureAspectRatio = 2048;
    kDesc.dwStencilCaps = D3DSTENCILCAPS_ALL;
    kDesc.dwFVFCaps = 8;
    kDesc.dwTextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                            D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_ADD |
                            D3DTEXOPCAPS_BLENDTEXTUREALPHA;
    // Every blend stage can hold its own texture, so no stage ever runs without one.
    kDesc.wMaxTextureBlendStages = 8;
    kDesc.wMaxSimultaneousTextures = 8;
    kDesc.dwMaxActiveLights = 8;
    kDesc.dvMaxVertexW = 1.0e10f;
    kDesc.deviceGUID = rclsidDevice;
    return kDesc;
}

World::World(Backend eBackend) : bRecordCalls(eBackend == Backend::Recording), m_eBackend(eBackend)
{
    DriverConfig kDriver;
    kDriver.bPrimary = true;
    kDriver.sDescription = eBackend == Backend::OpenGL ? "OpenGL display driver" : "Recording display driver";
    kDriver.sName = "display";
    kDriver.sIdentifier = eBackend == Backend::OpenGL ? "OpenGL (Mesa)" : "Recording";
    kDriver.kHardwareCaps = DefaultDirectDrawCaps();
    kDriver.kEmulationCaps = DefaultDirectDrawCaps();
    kDriver.kDevices.push_back(
        {"Hardware transform and lighting device", "TnL HAL", DefaultDeviceDesc(IID_IDirect3DTnLHalDevice)});
    kDriver.kModes = {{640, 480, 16},  {640, 480, 32},  {800, 600, 16},   {800, 600, 32},
                      {1024, 768, 16}, {1024, 768, 32}, {1280, 1024, 16}, {1280, 1024, 32}};
    kDrivers.push_back(std::move(kDriver));

    kZBufferFormats = {ZBufferFormat(16, 0), ZBufferFormat(24, 0), ZBufferFormat(24, 8)};
    kTextureFormats = {RgbFormat(16, 0x7c00, 0x03e0, 0x001f),
                       RgbFormat(16, 0xf800, 0x07e0, 0x001f),
                       RgbFormat(32, 0xff0000, 0x00ff00, 0x0000ff),
                       RgbFormat(16, 0x7c00, 0x03e0, 0x001f, 0x8000),
                       RgbFormat(16, 0x0f00, 0x00f0, 0x000f, 0xf000),
                       RgbFormat(32, 0xff0000, 0x00ff00, 0x0000ff, 0xff000000)};
}

World::~World() = default;

void World::FailCall(std::string_view sMethod, HRESULT hr, uint32_t uiSkip, uint32_t uiTimes)
{
    m_kFailures.push_back({std::string(sMethod), hr, uiSkip, uiTimes});
}

void World::ClearFailures()
{
    m_kFailures.clear();
}

HRESULT World::Injected(std::string_view sMethod)
{
    for (Failure& kFailure : m_kFailures)
    {
        if (kFailure.sMethod != sMethod || kFailure.uiTimes == 0)
            continue;
        if (kFailure.uiSkip > 0)
        {
            --kFailure.uiSkip;
            continue;
        }
        --kFailure.uiTimes;
        return kFailure.hr;
    }
    return S_OK;
}

void World::LoseAllSurfaces()
{
    for (Surface* pkSurface : m_kSurfaces)
        pkSurface->SetLost(true);
}

void World::SetSurfaceLost(IDirectDrawSurface7* pkSurface, bool bLost)
{
    if (pkSurface != nullptr)
        static_cast<Surface*>(pkSurface)->SetLost(bLost);
}

void World::RestoreSurfacesOf(const DirectDrawCore& kCore)
{
    for (Surface* pkSurface : m_kSurfaces)
    {
        if (&pkSurface->GetCore() == &kCore)
            pkSurface->RestoreContents();
    }
}

bool World::NextSceneLosesSurfaces()
{
    ++m_uiScenes;
    return uiLoseSurfacesAtScene != 0 && m_uiScenes == uiLoseSurfacesAtScene;
}

void World::AddSurface(Surface* pkSurface)
{
    m_kSurfaces.push_back(pkSurface);
}

void World::RemoveSurface(Surface* pkSurface)
{
    std::erase(m_kSurfaces, pkSurface);
}

size_t World::CountCalls(std::string_view sMethod) const
{
    return static_cast<size_t>(std::count_if(m_kCalls.begin(), m_kCalls.end(),
                                             [&](const Call& kCall) { return kCall.sMethod == sMethod; }));
}

void World::Log(std::string_view sMethod, std::initializer_list<uint64_t> kArgs)
{
    if (!bRecordCalls)
        return;
    m_kCalls.push_back({std::string(sMethod), std::vector<uint64_t>(kArgs)});
}

std::shared_ptr<World> SetWorld(std::shared_ptr<World> pkWorld)
{
    if (!pkWorld)
        pkWorld = std::make_shared<World>(Backend::OpenGL);
    std::shared_ptr<World> pkPrevious = std::move(CurrentWorld());
    CurrentWorld() = std::move(pkWorld);
    return pkPrevious;
}

std::shared_ptr<World> GetWorld()
{
    if (!CurrentWorld())
        CurrentWorld() = std::make_shared<World>(Backend::OpenGL);
    return CurrentWorld();
}
} // namespace d3d7
