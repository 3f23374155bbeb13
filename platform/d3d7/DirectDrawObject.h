#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/World.h"

#include <memory>

namespace d3d7
{
class DirectDrawCore;

// The IDirectDraw7 of one driver of the world.
class DirectDrawObject final : public ComObject<IDirectDraw7>
{
public:
    explicit DirectDrawObject(std::shared_ptr<DirectDrawCore> pkCore);

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObject) override;
    HRESULT GetCaps(DDCAPS* pkHardwareCaps, DDCAPS* pkEmulationCaps) override;
    HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* pkIdentifier, DWORD dwFlags) override;
    HRESULT EnumDisplayModes(DWORD dwFlags, DDSURFACEDESC2* pkFilter, LPVOID pvContext,
                             LPDDENUMMODESCALLBACK2 pfnCallback) override;
    HRESULT SetCooperativeLevel(HWND hWnd, DWORD dwFlags) override;
    HRESULT SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP, DWORD dwRefreshRate,
                           DWORD dwFlags) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT GetDisplayMode(DDSURFACEDESC2* pkDesc) override;
    HRESULT CreateSurface(DDSURFACEDESC2* pkDesc, IDirectDrawSurface7** ppkSurface,
                          IUnknown* pkOuter) override;
    HRESULT CreateClipper(DWORD dwFlags, IDirectDrawClipper** ppkClipper, IUnknown* pkOuter) override;
    HRESULT CreatePalette(DWORD dwFlags, PALETTEENTRY* pkEntries, IDirectDrawPalette** ppkPalette,
                          IUnknown* pkOuter) override;
    HRESULT GetAvailableVidMem(DDSCAPS2* pkCaps, DWORD* pdwTotal, DWORD* pdwFree) override;
    HRESULT RestoreAllSurfaces() override;

private:
    ~DirectDrawObject() override;

    std::shared_ptr<DirectDrawCore> m_pkCore;
    DisplayMode m_kModeBefore; // the desktop before SetDisplayMode
    bool m_bModeChanged = false;
};
} // namespace d3d7
