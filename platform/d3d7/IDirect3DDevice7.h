#pragma once

#include "platform/d3d7/D3DTypes.h"
#include "platform/d3d7/IUnknown.h"

class IDirect3DVertexBuffer7;
class IDirectDrawSurface7;

// A device: render, texture-stage and light state plus the draw calls. State is kept as
// the values given and takes effect at the next draw or clear; the Get calls read it back.
class IDirect3DDevice7 : public IUnknown
{
public:
    virtual HRESULT GetCaps(D3DDEVICEDESC7* pkDesc) = 0;
    virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK pfnCallback, LPVOID pvContext) = 0;

    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Clears regardless of the colour, depth and stencil write states.
    virtual HRESULT Clear(DWORD dwCount, D3DRECT* pkRects, DWORD dwFlags, D3DCOLOR dwColor, D3DVALUE dvZ,
                          DWORD dwStencil) = 0;

    virtual HRESULT SetViewport(D3DVIEWPORT7* pkViewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT7* pkViewport) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix) = 0;
    virtual HRESULT SetRenderTarget(IDirectDrawSurface7* pkSurface, DWORD dwFlags) = 0;
    virtual HRESULT GetRenderTarget(IDirectDrawSurface7** ppkSurface) = 0;

    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE eState, DWORD dwValue) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE eState, DWORD* pdwValue) = 0;
    virtual HRESULT SetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD dwValue) = 0;
    virtual HRESULT GetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD* pdwValue) = 0;
    virtual HRESULT SetTexture(DWORD dwStage, IDirectDrawSurface7* pkTexture) = 0;
    virtual HRESULT GetTexture(DWORD dwStage, IDirectDrawSurface7** ppkTexture) = 0;

    // Light indices are any 32-bit values; any number may be enabled.
    virtual HRESULT SetLight(DWORD dwIndex, D3DLIGHT7* pkLight) = 0;
    virtual HRESULT GetLight(DWORD dwIndex, D3DLIGHT7* pkLight) = 0;
    virtual HRESULT LightEnable(DWORD dwIndex, BOOL bEnable) = 0;
    virtual HRESULT GetLightEnable(DWORD dwIndex, BOOL* pbEnable) = 0;
    virtual HRESULT SetMaterial(D3DMATERIAL7* pkMaterial) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL7* pkMaterial) = 0;

    // Draw calls outside BeginScene/EndScene fail with D3DERR_SCENE_NOT_IN_SCENE; vertex
    // ranges and indices beyond the buffer fail with D3DERR_INVALIDCALL and draw nothing.
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE eType, DWORD dwFVF, LPVOID pvVertices, DWORD dwVertexCount,
                                  DWORD dwFlags) = 0;
    virtual HRESULT DrawPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer,
                                    DWORD dwStartVertex, DWORD dwNumVertices, DWORD dwFlags) = 0;
    // Indices are in the caller's memory and relative to the buffer's first vertex.
    virtual HRESULT DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer,
                                           DWORD dwStartVertex, DWORD dwNumVertices, WORD* pwIndices,
                                           DWORD dwIndexCount, DWORD dwFlags) = 0;

    virtual HRESULT ValidateDevice(DWORD* pdwPasses) = 0;
};
