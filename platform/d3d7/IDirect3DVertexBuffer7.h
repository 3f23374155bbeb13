#pragma once

#include "platform/d3d7/D3DTypes.h"
#include "platform/d3d7/IUnknown.h"

class IDirect3DDevice7;

// Vertices in the layout the FVF bits describe, interleaved in bit order: position,
// normal, diffuse, specular, then two floats per texture coordinate set.
class IDirect3DVertexBuffer7 : public IUnknown
{
public:
    // Fails once the buffer is optimised.
    virtual HRESULT Lock(DWORD dwFlags, LPVOID* ppvData, DWORD* pdwSize) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT Optimize(IDirect3DDevice7* pkDevice, DWORD dwFlags) = 0;
    virtual HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* pkDesc) = 0;
};
