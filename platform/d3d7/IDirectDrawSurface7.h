#pragma once

#include "platform/d3d7/IUnknown.h"

class IDirectDrawClipper;
class IDirectDrawPalette;

// A surface: the primary (the window's picture), a back buffer or offscreen render target,
// a z-buffer, or a texture level in system or video memory.
class IDirectDrawSurface7 : public IUnknown
{
public:
    // Lock hands out the top-left pixel and the pitch of the whole surface (rects are not
    // supported: pass null); render targets are read back with row 0 at the top.
    virtual HRESULT Lock(RECT* pkRect, DDSURFACEDESC2* pkDesc, DWORD dwFlags, HANDLE hEvent) = 0;
    virtual HRESULT Unlock(RECT* pkRect) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* pkDesc) = 0;
    // WIDTH|HEIGHT|PITCH|LPSURFACE on a system-memory surface: use the caller's memory in
    // place from now on (never copied, never freed).
    virtual HRESULT SetSurfaceDesc(DDSURFACEDESC2* pkDesc, DWORD dwFlags) = 0;

    // BACKBUFFER, ZBUFFER, or TEXTURE|MIPMAP for the next level; DDERR_NOTFOUND when
    // there is none. The result carries a reference.
    virtual HRESULT GetAttachedSurface(DDSCAPS2* pkCaps, IDirectDrawSurface7** ppkSurface) = 0;
    virtual HRESULT AddAttachedSurface(IDirectDrawSurface7* pkSurface) = 0;
    virtual HRESULT DeleteAttachedSurface(DWORD dwFlags, IDirectDrawSurface7* pkSurface) = 0;

    virtual HRESULT Blt(RECT* pkDestRect, IDirectDrawSurface7* pkSource, RECT* pkSourceRect, DWORD dwFlags,
                        DDBLTFX* pkFX) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* pkTargetOverride, DWORD dwFlags) = 0;

    virtual HRESULT IsLost() = 0;
    virtual HRESULT Restore() = 0;

    virtual HRESULT SetClipper(IDirectDrawClipper* pkClipper) = 0;
    virtual HRESULT SetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey) = 0;
    virtual HRESULT GetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey) = 0;
    virtual HRESULT SetPalette(IDirectDrawPalette* pkPalette) = 0;
    virtual HRESULT GetPalette(IDirectDrawPalette** ppkPalette) = 0;
};
