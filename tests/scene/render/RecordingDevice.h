#pragma once

#include "platform/d3d7/DirectDraw.h"
#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/d3d7/World.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// A Direct3D device drawing into a square render target of a world the test configures first;
// the recording back end unless the test asks for OpenGL. Releases everything it made.
class RecordingDevice
{
public:
    using Configure = std::function<void(d3d7::World&)>;

    explicit RecordingDevice(const Configure& kConfigure = {},
                             d3d7::Backend eBackend = d3d7::Backend::Recording, uint32_t uiSize = 64)
        : m_spWorld(std::make_shared<d3d7::World>(eBackend)), m_kScope(m_spWorld)
    {
        m_spWorld->bRecordCalls = true;
        if (kConfigure)
            kConfigure(*m_spWorld);
        void* pvDirectDraw = nullptr;
        if (FAILED(DirectDrawCreateEx(nullptr, &pvDirectDraw, IID_IDirectDraw7, nullptr)))
            return;
        m_pkDirectDraw = static_cast<IDirectDraw7*>(pvDirectDraw);
        void* pvDirect3D = nullptr;
        m_pkDirectDraw->QueryInterface(IID_IDirect3D7, &pvDirect3D);
        m_pkDirect3D = static_cast<IDirect3D7*>(pvDirect3D);

        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        kDesc.dwWidth = kDesc.dwHeight = uiSize;
        kDesc.ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
        m_pkDirectDraw->CreateSurface(&kDesc, &m_pkTarget, nullptr);
        if (m_pkDirect3D && m_pkTarget)
            m_pkDirect3D->CreateDevice(IID_IDirect3DTnLHalDevice, m_pkTarget, &m_pkDevice);
        if (m_pkDevice)
            m_pkDevice->GetCaps(&m_kDesc);
        m_spWorld->ClearCalls();
    }

    ~RecordingDevice()
    {
        for (IUnknown* pkObject :
             {static_cast<IUnknown*>(m_pkDevice), static_cast<IUnknown*>(m_pkTarget),
              static_cast<IUnknown*>(m_pkDirect3D), static_cast<IUnknown*>(m_pkDirectDraw)})
        {
            if (pkObject)
                pkObject->Release();
        }
    }

    RecordingDevice(const RecordingDevice&) = delete;
    RecordingDevice& operator=(const RecordingDevice&) = delete;

    d3d7::World& World() { return *m_spWorld; }
    IDirectDraw7* DirectDraw() const { return m_pkDirectDraw; }
    IDirect3D7* Direct3D() const { return m_pkDirect3D; }
    IDirect3DDevice7* Device() const { return m_pkDevice; }
    IDirectDrawSurface7* Target() const { return m_pkTarget; }
    const D3DDEVICEDESC7& Desc() const { return m_kDesc; }

    // The arguments of every logged call of a method, in order.
    std::vector<std::vector<uint64_t>> Args(std::string_view sMethod) const
    {
        std::vector<std::vector<uint64_t>> kArgs;
        for (const d3d7::Call& kCall : m_spWorld->Calls())
        {
            if (kCall.sMethod == sMethod)
                kArgs.push_back(kCall.kArgs);
        }
        return kArgs;
    }
    size_t Count(std::string_view sMethod) const { return m_spWorld->CountCalls(sMethod); }
    void ClearCalls() { m_spWorld->ClearCalls(); }

    // The device's current value of a render state or a texture-stage state.
    uint32_t RenderState(D3DRENDERSTATETYPE eState) const
    {
        DWORD dwValue = 0;
        m_pkDevice->GetRenderState(eState, &dwValue);
        return dwValue;
    }
    uint32_t StageState(uint32_t uiStage, D3DTEXTURESTAGESTATETYPE eType) const
    {
        DWORD dwValue = 0;
        m_pkDevice->GetTextureStageState(uiStage, eType, &dwValue);
        return dwValue;
    }

private:
    std::shared_ptr<d3d7::World> m_spWorld;
    d3d7::ScopedWorld m_kScope;
    IDirectDraw7* m_pkDirectDraw = nullptr;
    IDirect3D7* m_pkDirect3D = nullptr;
    IDirectDrawSurface7* m_pkTarget = nullptr;
    IDirect3DDevice7* m_pkDevice = nullptr;
    D3DDEVICEDESC7 m_kDesc;
};
