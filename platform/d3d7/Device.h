#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/DeviceState.h"
#include "platform/d3d7/IDirect3DDevice7.h"

#include <memory>

namespace d3d7
{
class DirectDrawCore;
class GLRenderer;
class Surface;
class VertexBuffer;

class Device final : public ComObject<IDirect3DDevice7>
{
public:
    Device(std::shared_ptr<DirectDrawCore> pkCore, const D3DDEVICEDESC7& kCaps, Surface* pkTarget);
    // False when the GL back end could not set itself up.
    bool IsReady() const;

    HRESULT GetCaps(D3DDEVICEDESC7* pkDesc) override;
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK pfnCallback, LPVOID pvContext) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD dwCount, D3DRECT* pkRects, DWORD dwFlags, D3DCOLOR dwColor, D3DVALUE dvZ,
                  DWORD dwStencil) override;
    HRESULT SetViewport(D3DVIEWPORT7* pkViewport) override;
    HRESULT GetViewport(D3DVIEWPORT7* pkViewport) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix) override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* pkSurface, DWORD dwFlags) override;
    HRESULT GetRenderTarget(IDirectDrawSurface7** ppkSurface) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE eState, DWORD dwValue) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE eState, DWORD* pdwValue) override;
    HRESULT SetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD dwValue) override;
    HRESULT GetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD* pdwValue) override;
    HRESULT SetTexture(DWORD dwStage, IDirectDrawSurface7* pkTexture) override;
    HRESULT GetTexture(DWORD dwStage, IDirectDrawSurface7** ppkTexture) override;
    HRESULT SetLight(DWORD dwIndex, D3DLIGHT7* pkLight) override;
    HRESULT GetLight(DWORD dwIndex, D3DLIGHT7* pkLight) override;
    HRESULT LightEnable(DWORD dwIndex, BOOL bEnable) override;
    HRESULT GetLightEnable(DWORD dwIndex, BOOL* pbEnable) override;
    HRESULT SetMaterial(D3DMATERIAL7* pkMaterial) override;
    HRESULT GetMaterial(D3DMATERIAL7* pkMaterial) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE eType, DWORD dwFVF, LPVOID pvVertices, DWORD dwVertexCount,
                          DWORD dwFlags) override;
    HRESULT DrawPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer, DWORD dwStartVertex,
                            DWORD dwNumVertices, DWORD dwFlags) override;
    HRESULT DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer,
                                   DWORD dwStartVertex, DWORD dwNumVertices, WORD* pwIndices,
                                   DWORD dwIndexCount, DWORD dwFlags) override;
    HRESULT ValidateDevice(DWORD* pdwPasses) override;

    const DeviceState& GetState() const { return m_kState; }
    Surface* GetTarget() const { return m_kTarget.Get(); }

private:
    ~Device() override;
    HRESULT CheckDraw(D3DPRIMITIVETYPE eType) const;
    D3DMATRIX* Matrix(D3DTRANSFORMSTATETYPE eState);

    std::shared_ptr<DirectDrawCore> m_pkCore;
    D3DDEVICEDESC7 m_kCaps;
    ComRef<Surface> m_kTarget;
    DeviceState m_kState;
    bool m_bInScene = false;
    std::unique_ptr<GLRenderer> m_pkGL;
};
} // namespace d3d7
