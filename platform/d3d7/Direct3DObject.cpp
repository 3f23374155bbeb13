#include "platform/d3d7/Direct3DObject.h"

#include "platform/d3d7/Device.h"
#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/Surface.h"
#include "platform/d3d7/VertexBuffer.h"

#include <string>

namespace d3d7
{
Direct3DObject::Direct3DObject(std::shared_ptr<DirectDrawCore> pkCore)
    : ComObject(IID_IDirect3D7), m_pkCore(std::move(pkCore))
{
}

const DeviceConfig* Direct3DObject::FindDevice(REFCLSID rclsid) const
{
    for (const DeviceConfig& kDevice : m_pkCore->GetDriver().kDevices)
    {
        if (kDevice.kDesc.deviceGUID == rclsid)
            return &kDevice;
    }
    return nullptr;
}

HRESULT Direct3DObject::EnumDevices(LPD3DENUMDEVICESCALLBACK7 pfnCallback, LPVOID pvContext)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("EnumDevices");
    if (HRESULT hr = kWorld.Injected("EnumDevices"); FAILED(hr))
        return hr;
    if (pfnCallback == nullptr)
        return DDERR_INVALIDPARAMS;
    for (const DeviceConfig& kDevice : m_pkCore->GetDriver().kDevices)
    {
        std::string sDescription = kDevice.sDescription;
        std::string sName = kDevice.sName;
        D3DDEVICEDESC7 kDesc = kDevice.kDesc;
        if (pfnCallback(sDescription.data(), sName.data(), &kDesc, pvContext) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT Direct3DObject::EnumZBufferFormats(REFCLSID riidDevice, LPD3DENUMPIXELFORMATSCALLBACK pfnCallback,
                                           LPVOID pvContext)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("EnumZBufferFormats");
    if (HRESULT hr = kWorld.Injected("EnumZBufferFormats"); FAILED(hr))
        return hr;
    if (pfnCallback == nullptr || FindDevice(riidDevice) == nullptr)
        return DDERR_INVALIDPARAMS;
    for (const DDPIXELFORMAT& kFormat : kWorld.kZBufferFormats)
    {
        DDPIXELFORMAT kCopy = kFormat;
        if (pfnCallback(&kCopy, pvContext) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT Direct3DObject::CreateDevice(REFCLSID rclsid, IDirectDrawSurface7* pkRenderTarget,
                                     IDirect3DDevice7** ppkDevice)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("CreateDevice", {reinterpret_cast<uintptr_t>(pkRenderTarget)});
    if (ppkDevice == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkDevice = nullptr;
    if (HRESULT hr = kWorld.Injected("CreateDevice"); FAILED(hr))
        return hr;
    const DeviceConfig* pkConfig = FindDevice(rclsid);
    auto* pkTarget = static_cast<Surface*>(pkRenderTarget);
    if (pkConfig == nullptr)
        return D3DERR_INVALID_DEVICE;
    if (pkTarget == nullptr || pkTarget->GetKind() != Surface::Kind::RenderTarget ||
        &pkTarget->GetCore() != m_pkCore.get())
        return DDERR_INVALIDPARAMS;
    if (pkTarget->IsLostFlag())
        return DDERR_SURFACELOST;
    auto* pkDevice = new Device(m_pkCore, pkConfig->kDesc, pkTarget);
    if (!pkDevice->IsReady())
    {
        pkDevice->Release();
        return DDERR_GENERIC;
    }
    *ppkDevice = pkDevice;
    return D3D_OK;
}

HRESULT Direct3DObject::CreateVertexBuffer(D3DVERTEXBUFFERDESC* pkDesc, IDirect3DVertexBuffer7** ppkBuffer,
                                           DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("CreateVertexBuffer",
               {pkDesc != nullptr ? pkDesc->dwCaps : 0u, pkDesc != nullptr ? pkDesc->dwFVF : 0u,
                pkDesc != nullptr ? pkDesc->dwNumVertices : 0u, dwFlags});
    if (ppkBuffer == nullptr || pkDesc == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkBuffer = nullptr;
    if (HRESULT hr = kWorld.Injected("CreateVertexBuffer"); FAILED(hr))
        return hr;
    if (!VertexBuffer::ValidDesc(*pkDesc))
        return DDERR_INVALIDPARAMS;
    *ppkBuffer = new VertexBuffer(m_pkCore, *pkDesc);
    return D3D_OK;
}
} // namespace d3d7
