#include "platform/d3d7/DirectDrawObject.h"

#include "platform/d3d7/Clipper.h"
#include "platform/d3d7/Direct3DObject.h"
#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/Palette.h"
#include "platform/d3d7/PixelFormat.h"
#include "platform/d3d7/Surface.h"

#include <algorithm>
#include <cstdio>

namespace d3d7
{
DirectDrawObject::DirectDrawObject(std::shared_ptr<DirectDrawCore> pkCore)
    : ComObject(IID_IDirectDraw7), m_pkCore(std::move(pkCore))
{
}

DirectDrawObject::~DirectDrawObject()
{
    if (m_bModeChanged)
        m_pkCore->GetWorld().kDisplayMode = m_kModeBefore;
}

HRESULT DirectDrawObject::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("QueryInterface");
    if (ppvObject == nullptr)
        return E_INVALIDARG;
    if (riid == IID_IDirect3D7)
    {
        *ppvObject = nullptr;
        if (HRESULT hr = kWorld.Injected("QueryInterface"); FAILED(hr))
            return hr;
        // Only drivers with 3D hardware or emulation have a Direct3D.
        const DriverConfig& kDriver = m_pkCore->GetDriver();
        if (((kDriver.kHardwareCaps.dwCaps | kDriver.kEmulationCaps.dwCaps) & DDCAPS_3D) == 0)
            return E_NOINTERFACE;
        *ppvObject = static_cast<IDirect3D7*>(new Direct3DObject(m_pkCore));
        return S_OK;
    }
    return ComObject::QueryInterface(riid, ppvObject);
}

HRESULT DirectDrawObject::GetCaps(DDCAPS* pkHardwareCaps, DDCAPS* pkEmulationCaps)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("GetCaps");
    if (HRESULT hr = kWorld.Injected("GetCaps"); FAILED(hr))
        return hr;
    if (pkHardwareCaps == nullptr && pkEmulationCaps == nullptr)
        return DDERR_INVALIDPARAMS;
    const DriverConfig& kDriver = m_pkCore->GetDriver();
    if (pkHardwareCaps != nullptr)
        *pkHardwareCaps = kDriver.kHardwareCaps;
    if (pkEmulationCaps != nullptr)
        *pkEmulationCaps = kDriver.kEmulationCaps;
    for (DDCAPS* pkCaps : {pkHardwareCaps, pkEmulationCaps})
    {
        if (pkCaps != nullptr)
            pkCaps->dwSize = sizeof(DDCAPS);
    }
    return DD_OK;
}

HRESULT DirectDrawObject::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* pkIdentifier, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("GetDeviceIdentifier", {dwFlags});
    if (HRESULT hr = kWorld.Injected("GetDeviceIdentifier"); FAILED(hr))
        return hr;
    if (pkIdentifier == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkIdentifier = DDDEVICEIDENTIFIER2{};
    const DriverConfig& kDriver = m_pkCore->GetDriver();
    std::snprintf(pkIdentifier->szDriver, sizeof(pkIdentifier->szDriver), "%s", kDriver.sName.c_str());
    std::snprintf(pkIdentifier->szDescription, sizeof(pkIdentifier->szDescription), "%s",
                  kDriver.sIdentifier.c_str());
    return DD_OK;
}

HRESULT DirectDrawObject::EnumDisplayModes(DWORD dwFlags, DDSURFACEDESC2*, LPVOID pvContext,
                                           LPDDENUMMODESCALLBACK2 pfnCallback)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("EnumDisplayModes", {dwFlags});
    if (HRESULT hr = kWorld.Injected("EnumDisplayModes"); FAILED(hr))
        return hr;
    if (pfnCallback == nullptr)
        return DDERR_INVALIDPARAMS;
    for (const DisplayMode& kMode : m_pkCore->GetDriver().kModes)
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(DDSURFACEDESC2);
        kDesc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_PITCH;
        kDesc.dwWidth = kMode.dwWidth;
        kDesc.dwHeight = kMode.dwHeight;
        kDesc.ddpfPixelFormat = PixelFormat::DisplayFormat(kMode.dwBPP);
        kDesc.ddpfPixelFormat.dwRGBBitCount = kMode.dwBPP;
        kDesc.lPitch = static_cast<LONG>(kMode.dwWidth * kMode.dwBPP / 8);
        if (pfnCallback(&kDesc, pvContext) == DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND hWnd, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetCooperativeLevel", {reinterpret_cast<uintptr_t>(hWnd), dwFlags});
    if (HRESULT hr = kWorld.Injected("SetCooperativeLevel"); FAILED(hr))
        return hr;
    const bool bFullscreen = (dwFlags & DDSCL_FULLSCREEN) != 0;
    // Fullscreen must be exclusive and own a window; normal excludes both.
    if (bFullscreen != ((dwFlags & DDSCL_EXCLUSIVE) != 0) || (bFullscreen && hWnd == nullptr) ||
        (bFullscreen && (dwFlags & DDSCL_NORMAL) != 0) || (!bFullscreen && (dwFlags & DDSCL_NORMAL) == 0))
        return DDERR_INVALIDPARAMS;
    m_pkCore->dwCooperativeLevel = dwFlags;
    m_pkCore->hCooperativeWindow = hWnd;
    return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP, DWORD dwRefreshRate,
                                         DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetDisplayMode", {dwWidth, dwHeight, dwBPP, dwRefreshRate, dwFlags});
    if (HRESULT hr = kWorld.Injected("SetDisplayMode"); FAILED(hr))
        return hr;
    if ((m_pkCore->dwCooperativeLevel & DDSCL_EXCLUSIVE) == 0)
        return DDERR_NOEXCLUSIVEMODE;
    const std::vector<DisplayMode>& kModes = m_pkCore->GetDriver().kModes;
    const bool bListed =
        std::any_of(kModes.begin(), kModes.end(),
                    [&](const DisplayMode& kMode) {
                        return kMode.dwWidth == dwWidth && kMode.dwHeight == dwHeight && kMode.dwBPP == dwBPP;
                    });
    if (!bListed)
        return DDERR_INVALIDMODE;
    // No real mode change: the window shows the frame at the mode's size.
    if (!m_bModeChanged)
        m_kModeBefore = kWorld.kDisplayMode;
    m_bModeChanged = true;
    kWorld.kDisplayMode = {dwWidth, dwHeight, dwBPP};
    return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode()
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("RestoreDisplayMode");
    if (HRESULT hr = kWorld.Injected("RestoreDisplayMode"); FAILED(hr))
        return hr;
    if (m_bModeChanged)
        kWorld.kDisplayMode = m_kModeBefore;
    m_bModeChanged = false;
    return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(DDSURFACEDESC2* pkDesc)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("GetDisplayMode");
    if (HRESULT hr = kWorld.Injected("GetDisplayMode"); FAILED(hr))
        return hr;
    if (pkDesc == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD dwSize = pkDesc->dwSize;
    *pkDesc = DDSURFACEDESC2{};
    pkDesc->dwSize = dwSize;
    pkDesc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_PITCH;
    pkDesc->dwWidth = kWorld.kDisplayMode.dwWidth;
    pkDesc->dwHeight = kWorld.kDisplayMode.dwHeight;
    pkDesc->ddpfPixelFormat = PixelFormat::DisplayFormat(kWorld.kDisplayMode.dwBPP);
    pkDesc->ddpfPixelFormat.dwRGBBitCount = kWorld.kDisplayMode.dwBPP;
    pkDesc->lPitch = static_cast<LONG>(kWorld.kDisplayMode.dwWidth * kWorld.kDisplayMode.dwBPP / 8);
    return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC2* pkDesc, IDirectDrawSurface7** ppkSurface, IUnknown*)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("CreateSurface",
               {pkDesc != nullptr ? pkDesc->dwFlags : 0u, pkDesc != nullptr ? pkDesc->ddsCaps.dwCaps : 0u,
                pkDesc != nullptr ? pkDesc->dwWidth : 0u, pkDesc != nullptr ? pkDesc->dwHeight : 0u});
    if (pkDesc == nullptr || ppkSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkSurface = nullptr;
    if (HRESULT hr = kWorld.Injected("CreateSurface"); FAILED(hr))
        return hr;
    Surface* pkSurface = nullptr;
    const HRESULT hr = Surface::Create(m_pkCore, *pkDesc, &pkSurface);
    if (SUCCEEDED(hr))
        *ppkSurface = pkSurface;
    return hr;
}

HRESULT DirectDrawObject::CreateClipper(DWORD dwFlags, IDirectDrawClipper** ppkClipper, IUnknown*)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("CreateClipper", {dwFlags});
    if (ppkClipper == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkClipper = nullptr;
    if (HRESULT hr = kWorld.Injected("CreateClipper"); FAILED(hr))
        return hr;
    *ppkClipper = new Clipper(m_pkCore);
    return DD_OK;
}

HRESULT DirectDrawObject::CreatePalette(DWORD dwFlags, PALETTEENTRY* pkEntries,
                                        IDirectDrawPalette** ppkPalette, IUnknown*)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("CreatePalette", {dwFlags});
    if (ppkPalette == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkPalette = nullptr;
    if (HRESULT hr = kWorld.Injected("CreatePalette"); FAILED(hr))
        return hr;
    if ((dwFlags & DDPCAPS_8BIT) == 0)
        return DDERR_UNSUPPORTED;
    *ppkPalette = new Palette(m_pkCore, pkEntries);
    return DD_OK;
}

HRESULT DirectDrawObject::GetAvailableVidMem(DDSCAPS2* pkCaps, DWORD* pdwTotal, DWORD* pdwFree)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("GetAvailableVidMem", {pkCaps != nullptr ? pkCaps->dwCaps : 0u});
    if (HRESULT hr = kWorld.Injected("GetAvailableVidMem"); FAILED(hr))
        return hr;
    if (pkCaps == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD dwTotal = kWorld.dwTextureMemory;
    const DWORD dwFree = dwTotal - std::min(dwTotal, m_pkCore->dwTextureMemoryUsed);
    if (pdwTotal != nullptr)
        *pdwTotal = dwTotal;
    if (pdwFree != nullptr)
        *pdwFree = dwFree;
    return DD_OK;
}

HRESULT DirectDrawObject::RestoreAllSurfaces()
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("RestoreAllSurfaces");
    if (HRESULT hr = kWorld.Injected("RestoreAllSurfaces"); FAILED(hr))
        return hr;
    kWorld.RestoreSurfacesOf(*m_pkCore);
    return DD_OK;
}
} // namespace d3d7
