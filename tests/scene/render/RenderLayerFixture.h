#pragma once

#include "platform/d3d7/DirectDraw.h"
#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/graph/NiPixelLayout.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiDDPixelFormat.h"

#include <memory>
#include <string>
#include <vector>

// A recording world made current for a test, the driver list forgotten before and after (it
// belongs to the machine the world pretends to be), and the debugger output captured.
struct RecordingWorld
{
    RecordingWorld() : m_spWorld(std::make_shared<d3d7::World>(d3d7::Backend::Recording)), m_kScope(m_spWorld)
    {
        NiD3DDriverList::Forget();
    }
    ~RecordingWorld() { NiD3DDriverList::Forget(); }

    d3d7::World& World() { return *m_spWorld; }
    // The debugger lines so far that contain the text.
    bool Logged(const std::string& kText) const
    {
        return m_kCapture.GetText().find(kText) != std::string::npos;
    }

    std::shared_ptr<d3d7::World> m_spWorld;
    d3d7::ScopedWorld m_kScope;
    win32::DebugOutputCapture m_kCapture;
};

// A DirectDraw object of the current world's primary driver (one reference, released by the
// holder).
inline IDirectDraw7* MakeDirectDraw()
{
    IDirectDraw7* pkDirectDraw = nullptr;
    DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&pkDirectDraw), IID_IDirectDraw7, nullptr);
    return pkDirectDraw;
}

// A render target of the size in video memory (one reference, released by the holder); null when
// it cannot be made.
inline IDirectDrawSurface7* MakeRenderTarget(IDirectDraw7* pkDirectDraw, DWORD dwWidth, DWORD dwHeight)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    kDesc.dwWidth = dwWidth;
    kDesc.dwHeight = dwHeight;
    kDesc.ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
    IDirectDrawSurface7* pkTarget = nullptr;
    if (FAILED(pkDirectDraw->CreateSurface(&kDesc, &pkTarget, nullptr)))
        return nullptr;
    return pkTarget;
}

// The layouts of the world's texture formats in the image classes' table order (TEX_RGB555,
// TEX_RGB565, TEX_RGB888, TEX_RGBA5551, TEX_RGBA4444, TEX_RGBA8888, TEX_PAL8), with format
// numbers; absent formats stay null in the table.
struct TextureFormatTable
{
    explicit TextureFormatTable(const d3d7::World& kWorld, std::vector<bool> kPresent = {})
    {
        for (size_t i = 0; i < kWorld.kTextureFormats.size() && i < 6; ++i)
        {
            m_akLayouts[i] = NiDDPixelFormat::ToLayout(kWorld.kTextureFormats[i]);
            NiPixelLayout::GetFormatId(m_akLayouts[i]);
            if (kPresent.empty() || kPresent[i])
                m_apkTable[i] = &m_akLayouts[i];
        }
    }
    NiPixelLayout m_akLayouts[7];
    const NiPixelLayout* m_apkTable[7] = {};
};
