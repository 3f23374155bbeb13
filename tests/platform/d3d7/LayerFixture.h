#pragma once

#include "platform/d3d7/DirectDraw.h"
#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawClipper.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "platform/d3d7/ScopedWorld.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// A window that keeps the last frame presented into it.
class FrameWindow : public win32::Window
{
public:
    void ReceiveFrame(const uint32_t* puiPixels, int32_t iWidth, int32_t iHeight) override
    {
        kPixels.assign(puiPixels, puiPixels + static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight));
        iFrameWidth = iWidth;
        iFrameHeight = iHeight;
        ++iFrames;
    }
    uint32_t At(int32_t iX, int32_t iY) const { return kPixels[static_cast<size_t>(iY * iFrameWidth + iX)]; }

    std::vector<uint32_t> kPixels;
    int32_t iFrameWidth = 0;
    int32_t iFrameHeight = 0;
    int32_t iFrames = 0;
};

// What a windowed renderer sets up: DirectDraw, Direct3D, a primary with a clipper on the
// window, an offscreen back buffer with a z-buffer (the world's last format), and a device.
struct LayerFixture
{
    explicit LayerFixture(std::shared_ptr<d3d7::World> pkWorld, DWORD dwWidth = 32, DWORD dwHeight = 32)
        : kScope(pkWorld), pkWorld(std::move(pkWorld))
    {
        kWindow.SetClientSize(static_cast<int32_t>(dwWidth), static_cast<int32_t>(dwHeight));
        EXPECT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&pkDD), IID_IDirectDraw7, nullptr),
                  DD_OK);
        EXPECT_EQ(pkDD->QueryInterface(IID_IDirect3D7, reinterpret_cast<LPVOID*>(&pkD3D)), S_OK);
        EXPECT_EQ(pkDD->SetCooperativeLevel(&kWindow, DDSCL_NORMAL), DD_OK);

        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS;
        kDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        EXPECT_EQ(pkDD->CreateSurface(&kDesc, &pkPrimary, nullptr), DD_OK);
        EXPECT_EQ(pkDD->CreateClipper(0, &pkClipper, nullptr), DD_OK);
        pkClipper->SetHWnd(0, &kWindow);
        pkPrimary->SetClipper(pkClipper);

        kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        kDesc.dwWidth = dwWidth;
        kDesc.dwHeight = dwHeight;
        kDesc.ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
        EXPECT_EQ(pkDD->CreateSurface(&kDesc, &pkBack, nullptr), DD_OK);

        kDesc.dwFlags |= DDSD_PIXELFORMAT;
        kDesc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
        kDesc.ddpfPixelFormat = this->pkWorld->kZBufferFormats.back();
        EXPECT_EQ(pkDD->CreateSurface(&kDesc, &pkZ, nullptr), DD_OK);
        EXPECT_EQ(pkBack->AddAttachedSurface(pkZ), DD_OK);
        EXPECT_EQ(pkD3D->CreateDevice(IID_IDirect3DTnLHalDevice, pkBack, &pkDevice), D3D_OK);
    }

    ~LayerFixture()
    {
        for (IUnknown* pkObject :
             std::initializer_list<IUnknown*>{pkDevice, pkZ, pkBack, pkClipper, pkPrimary, pkD3D, pkDD})
        {
            if (pkObject != nullptr)
                pkObject->Release();
        }
    }

    // A vertex buffer of untransformed, unlit, coloured vertices.
    IDirect3DVertexBuffer7* MakeBuffer(const std::vector<float>& kXYZ, const std::vector<uint32_t>& kColors)
    {
        D3DVERTEXBUFFERDESC kDesc{sizeof(D3DVERTEXBUFFERDESC), D3DVBCAPS_WRITEONLY,
                                  D3DFVF_XYZ | D3DFVF_DIFFUSE, static_cast<DWORD>(kColors.size())};
        IDirect3DVertexBuffer7* pkVB = nullptr;
        EXPECT_EQ(pkD3D->CreateVertexBuffer(&kDesc, &pkVB, 0), D3D_OK);
        LPVOID pvData = nullptr;
        EXPECT_EQ(pkVB->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, &pvData, nullptr),
                  D3D_OK);
        auto* pucData = static_cast<uint8_t*>(pvData);
        for (size_t i = 0; i < kColors.size(); ++i)
        {
            std::memcpy(pucData + i * 16, &kXYZ[i * 3], 12);
            std::memcpy(pucData + i * 16 + 12, &kColors[i], 4);
        }
        EXPECT_EQ(pkVB->Unlock(), D3D_OK);
        return pkVB;
    }

    d3d7::ScopedWorld kScope;
    std::shared_ptr<d3d7::World> pkWorld;
    FrameWindow kWindow;
    IDirectDraw7* pkDD = nullptr;
    IDirect3D7* pkD3D = nullptr;
    IDirectDrawSurface7* pkPrimary = nullptr;
    IDirectDrawClipper* pkClipper = nullptr;
    IDirectDrawSurface7* pkBack = nullptr;
    IDirectDrawSurface7* pkZ = nullptr;
    IDirect3DDevice7* pkDevice = nullptr;
};
