#pragma once

#include "platform/d3d7/D3DTypes.h"
#include "platform/d3d7/IUnknown.h"

class IDirect3DDevice7;
class IDirect3DVertexBuffer7;
class IDirectDrawSurface7;

// The Direct3D of one DirectDraw object: its device types, z-buffer formats, devices and
// vertex buffers.
class IDirect3D7 : public IUnknown
{
public:
    virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 pfnCallback, LPVOID pvContext) = 0;
    virtual HRESULT EnumZBufferFormats(REFCLSID riidDevice, LPD3DENUMPIXELFORMATSCALLBACK pfnCallback,
                                       LPVOID pvContext) = 0;
    // The device draws into pkRenderTarget (and its attached z-buffer).
    virtual HRESULT CreateDevice(REFCLSID rclsid, IDirectDrawSurface7* pkRenderTarget,
                                 IDirect3DDevice7** ppkDevice) = 0;
    virtual HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* pkDesc, IDirect3DVertexBuffer7** ppkBuffer,
                                       DWORD dwFlags) = 0;
};
