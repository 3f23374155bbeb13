#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirect3D7.h"

#include <memory>

namespace d3d7
{
class DirectDrawCore;

class Direct3DObject final : public ComObject<IDirect3D7>
{
public:
    explicit Direct3DObject(std::shared_ptr<DirectDrawCore> pkCore);

    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 pfnCallback, LPVOID pvContext) override;
    HRESULT EnumZBufferFormats(REFCLSID riidDevice, LPD3DENUMPIXELFORMATSCALLBACK pfnCallback,
                               LPVOID pvContext) override;
    HRESULT CreateDevice(REFCLSID rclsid, IDirectDrawSurface7* pkRenderTarget,
                         IDirect3DDevice7** ppkDevice) override;
    HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* pkDesc, IDirect3DVertexBuffer7** ppkBuffer,
                               DWORD dwFlags) override;

private:
    ~Direct3DObject() override = default;
    const struct DeviceConfig* FindDevice(REFCLSID rclsid) const;

    std::shared_ptr<DirectDrawCore> m_pkCore;
};
} // namespace d3d7
