#pragma once

#include "platform/d3d7/IUnknown.h"

class IDirectDrawClipper;
class IDirectDrawPalette;
class IDirectDrawSurface7;

// One display driver. QueryInterface(IID_IDirect3D7) reaches its Direct3D.
class IDirectDraw7 : public IUnknown
{
public:
    virtual HRESULT GetCaps(DDCAPS* pkHardwareCaps, DDCAPS* pkEmulationCaps) = 0;
    virtual HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* pkIdentifier, DWORD dwFlags) = 0;
    virtual HRESULT EnumDisplayModes(DWORD dwFlags, DDSURFACEDESC2* pkFilter, LPVOID pvContext,
                                     LPDDENUMMODESCALLBACK2 pfnCallback) = 0;
    virtual HRESULT SetCooperativeLevel(HWND hWnd, DWORD dwFlags) = 0;
    virtual HRESULT SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP, DWORD dwRefreshRate,
                                   DWORD dwFlags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT GetDisplayMode(DDSURFACEDESC2* pkDesc) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* pkDesc, IDirectDrawSurface7** ppkSurface,
                                  IUnknown* pkOuter) = 0;
    virtual HRESULT CreateClipper(DWORD dwFlags, IDirectDrawClipper** ppkClipper, IUnknown* pkOuter) = 0;
    virtual HRESULT CreatePalette(DWORD dwFlags, PALETTEENTRY* pkEntries, IDirectDrawPalette** ppkPalette,
                                  IUnknown* pkOuter) = 0;
    virtual HRESULT GetAvailableVidMem(DDSCAPS2* pkCaps, DWORD* pdwTotal, DWORD* pdwFree) = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
};
