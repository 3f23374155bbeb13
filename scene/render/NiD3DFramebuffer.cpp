#include "scene/render/NiD3DFramebuffer.h"

#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawClipper.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDDPixelFormat.h"
#include "scene/render/NiDirectDrawDevice.h"

#include <algorithm>

// Contents: creation by kind / surfaces / layout and images / z-buffer / present and restore /
// destruction.

namespace
{
bool Error(const char* pcText)
{
    D3DLogError(pcText);
    return false;
}

void ReleaseSurface(IDirectDrawSurface7*& pkSurface)
{
    if (pkSurface)
        pkSurface->Release();
    pkSurface = nullptr;
}

bool ReadDesc(IDirectDrawSurface7* pkSurface, DDSURFACEDESC2& kDesc)
{
    kDesc = DDSURFACEDESC2();
    kDesc.dwSize = sizeof(kDesc);
    return SUCCEEDED(pkSurface->GetSurfaceDesc(&kDesc));
}
} // namespace

NiD3DFramebuffer::NiD3DFramebuffer(NiDirectDrawDevice* pkDevice, Kind eKind)
    : m_pkDevice(pkDevice), m_eKind(eKind)
{
    m_pkDevice->IncRef();
    m_kLayout.m_bPalettized = 1;
    m_kBltFx.dwSize = sizeof(DDBLTFX);
    m_kBltFx.dwDDFX = DDBLTFX_NOTEARING;
}

NiDDBufferImage* NiD3DFramebuffer::GetFrontImage() const
{
    return m_spFrontImage;
}

NiDDBufferImage* NiD3DFramebuffer::GetBackImage() const
{
    return m_spBackImage;
}

//--- Creation by kind ----------------------------------------------------------------------------

NiD3DFramebuffer* NiD3DFramebuffer::Create(NiDirectDrawDevice* pkDevice, bool bFullscreen,
                                           uint32_t uiCreationFlags, uint32_t uiWidth, uint32_t uiHeight,
                                           HWND hWindow, HWND hTopWindow, bool bHardware)
{
    D3DLogMessage("(Creation): Creating framebuffer object");
    if (!pkDevice)
        return nullptr;
    auto* pkBuffer = new NiD3DFramebuffer(pkDevice, bFullscreen ? KIND_FULLSCREEN : KIND_WINDOWED);
    if (!hTopWindow)
        hTopWindow = hWindow;
    bool bSurfaces;
    if (bFullscreen)
    {
        pkBuffer->m_uiWidth = uiWidth;
        pkBuffer->m_uiHeight = uiHeight;
        bSurfaces = pkBuffer->CreateFullscreenSurfaces(uiCreationFlags, hTopWindow);
    }
    else
    {
        bSurfaces = pkBuffer->CreateWindowedSurfaces(hWindow, hTopWindow, bHardware);
    }
    return Finish(pkBuffer, bSurfaces && pkBuffer->ComputeLayout());
}

NiD3DFramebuffer* NiD3DFramebuffer::CreateOffscreen(NiDirectDrawDevice* pkDevice, uint32_t uiWidth,
                                                    uint32_t uiHeight)
{
    D3DLogMessage("(Creation): Creating framebuffer object");
    if (!pkDevice)
        return nullptr;
    auto* pkBuffer = new NiD3DFramebuffer(pkDevice, KIND_OFFSCREEN_TEXTURE);
    D3DLogMessage("(Creation): Creating offscreen (texture) rendering buffer");
    pkBuffer->m_uiWidth = uiWidth;
    pkBuffer->m_uiHeight = uiHeight;
    bool bSurfaces = pkBuffer->CreateBackSurface(pkDevice->IsHardware(), true);
    if (bSurfaces)
    {
        pkBuffer->m_pkFront = pkBuffer->m_pkBack;
        pkBuffer->m_pkFront->AddRef();
    }
    return Finish(pkBuffer, bSurfaces && pkBuffer->ComputeLayout());
}

NiD3DFramebuffer* NiD3DFramebuffer::CreateFromSurfaces(NiDirectDrawDevice* pkDevice, bool bFullscreen,
                                                       HWND hWindow, IDirectDrawSurface7* pkFront,
                                                       IDirectDrawSurface7* pkBack)
{
    D3DLogMessage("(Creation): Creating framebuffer object");
    if (!pkDevice)
        return nullptr;
    auto* pkBuffer = new NiD3DFramebuffer(pkDevice, bFullscreen ? KIND_FULLSCREEN : KIND_WINDOWED);
    IDirectDraw7* pkDirectDraw = pkDevice->GetDirectDraw();
    DDSURFACEDESC2 kDesc;
    const auto Done = [&](bool bOk)
    {
        // The images were made here; the generic image step must not make them again.
        if (!bOk || !pkBuffer->ComputeLayout())
        {
            pkBuffer->DecRef();
            return static_cast<NiD3DFramebuffer*>(nullptr);
        }
        D3DLogMessage("(Creation): Framebuffer object creation succeeded");
        return pkBuffer;
    };

    if (bFullscreen)
    {
        if (!pkFront)
            return Done(Error("Creation failed: App-supplied front buffer is NULL"));
        if (!pkBack)
            return Done(Error("Creation failed: App-supplied back buffer is NULL"));
        // The back surface belongs to the front surface's flip chain.
        pkFront->AddRef();
        pkBuffer->m_pkFront = pkFront;
        pkBuffer->m_spFrontImage = NiDDBufferImage::Create(pkFront, pkDirectDraw);
        pkDevice->SetPrimarySurface(pkFront, pkBuffer->m_spFrontImage);
        if (!ReadDesc(pkFront, kDesc))
            return Done(Error("Creation failed: Cannot get dimensions from app-supplied back buffer"));
        pkBuffer->m_uiWidth = kDesc.dwWidth;
        pkBuffer->m_uiHeight = kDesc.dwHeight;
        pkBuffer->m_pkBack = pkBack;
        pkBuffer->m_bBackCounted = false;
        pkBuffer->m_spBackImage = NiDDBufferImage::Create(pkBack, pkDirectDraw);
        return Done(true);
    }

    const uint32_t uiBits = pkDevice->GetDisplayBitsPerPixel();
    if (uiBits != 16 && uiBits != 32)
        return Done(Error("Creation failed: Windowed mode must be 16 or 32 bits"));
    pkBuffer->m_hWindow = hWindow;
    RECT kClient;
    if (GetClientRect(hWindow, &kClient))
    {
        pkBuffer->m_uiWidth = static_cast<uint32_t>(kClient.right - kClient.left);
        pkBuffer->m_uiHeight = static_cast<uint32_t>(kClient.bottom - kClient.top);
    }
    if (!pkFront)
        return Done(Error("Creation failed: Supplied front buffer is invalid"));
    pkFront->AddRef();
    pkBuffer->m_pkFront = pkFront;
    pkBuffer->m_spFrontImage = NiDDBufferImage::Create(pkFront, pkDirectDraw);
    if (ReadDesc(pkFront, kDesc) && (kDesc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE))
        pkDevice->SetPrimarySurface(pkFront, pkBuffer->m_spFrontImage);
    if (!pkBack)
        return Done(Error("Creation failed: App-supplied back buffer is NULL"));
    pkBuffer->m_spBackImage = NiDDBufferImage::Create(pkBack, pkDirectDraw);
    pkBack->AddRef();
    pkBuffer->m_pkBack = pkBack;
    if (!ReadDesc(pkBack, kDesc))
        return Done(Error("Creation failed: Cannot get dimensions from app-supplied back buffer"));
    pkBuffer->m_uiWidth = kDesc.dwWidth;
    pkBuffer->m_uiHeight = kDesc.dwHeight;
    return Done(pkBuffer->AttachClipper());
}

NiD3DFramebuffer* NiD3DFramebuffer::Finish(NiD3DFramebuffer* pkBuffer, bool bSurfaces)
{
    if (!bSurfaces || !pkBuffer->CreateImages())
    {
        pkBuffer->DecRef();
        return nullptr;
    }
    D3DLogMessage("(Creation): Framebuffer object creation succeeded");
    return pkBuffer;
}

//--- Surfaces ------------------------------------------------------------------------------------

bool NiD3DFramebuffer::CreateFullscreenSurfaces(uint32_t uiCreationFlags, HWND hTopWindow)
{
    D3DLogMessage("(Creation): Creating fullscreen flipping buffers");
    const uint32_t uiBits = (uiCreationFlags & CREATE_32_BIT) ? 32 : 16;
    if (!m_pkDevice->SetCooperativeLevelAndMode(hTopWindow, true, m_uiWidth, m_uiHeight, uiBits))
        return false;

    IDirectDraw7* pkDirectDraw = m_pkDevice->GetDirectDraw();
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    kDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    HRESULT hr = E_FAIL;
    if (uiCreationFlags & CREATE_TRIPLE_BUFFER)
    {
        kDesc.dwBackBufferCount = 2;
        hr = pkDirectDraw->CreateSurface(&kDesc, &m_pkFront, nullptr);
    }
    if (FAILED(hr))
    {
        kDesc.dwBackBufferCount = 1;
        m_pkFront = nullptr;
        hr = pkDirectDraw->CreateSurface(&kDesc, &m_pkFront, nullptr);
    }
    if (FAILED(hr) || !m_pkFront)
    {
        m_pkFront = nullptr;
        return Error("Creation failed: Error creating fullscreen frontbuffer");
    }
    m_pkDevice->SetPrimarySurface(m_pkFront, nullptr);
    if (kDesc.dwBackBufferCount > 1)
        D3DLogMessage("(Creation): Using Triple Buffering");

    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(m_pkFront->GetAttachedSurface(&kCaps, &m_pkBack)) || !m_pkBack)
    {
        m_pkBack = nullptr;
        return Error("Creation failed: Error creating fullscreen backbuffer");
    }
    return true;
}

bool NiD3DFramebuffer::CreateWindowedSurfaces(HWND hWindow, HWND hTopWindow, bool bHardware)
{
    D3DLogMessage("(Creation): Creating windowed rendering buffers");
    if (!hWindow)
        return Error("(Creation): Windowed renderer requires a non-NULL window handle");
    if (!m_pkDevice->SetCooperativeLevelAndMode(hTopWindow, false, 0, 0, 0))
        return false;
    const uint32_t uiBits = m_pkDevice->GetDisplayBitsPerPixel();
    if (uiBits != 16 && uiBits != 32)
        return Error("Creation failed: Windowed mode must be 16 or 32 bits");
    m_hWindow = hWindow;
    RECT kClient;
    GetClientRect(hWindow, &kClient);
    m_uiWidth = static_cast<uint32_t>(std::max(kClient.right - kClient.left, 0));
    m_uiHeight = static_cast<uint32_t>(std::max(kClient.bottom - kClient.top, 0));

    if (IDirectDrawSurface7* pkPrimary = m_pkDevice->GetPrimarySurface())
    {
        pkPrimary->AddRef();
        m_pkFront = pkPrimary;
    }
    else
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS;
        kDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        if (FAILED(m_pkDevice->GetDirectDraw()->CreateSurface(&kDesc, &m_pkFront, nullptr)) || !m_pkFront)
        {
            m_pkFront = nullptr;
            return Error("Creation failed: Onscreen Front Buffer Surface Creation failed");
        }
        m_pkDevice->SetPrimarySurface(m_pkFront, nullptr);
    }
    return CreateBackSurface(bHardware, false) && AttachClipper();
}

bool NiD3DFramebuffer::CreateBackSurface(bool bHardware, bool bTexture)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    kDesc.dwWidth = m_uiWidth;
    kDesc.dwHeight = m_uiHeight;
    kDesc.ddsCaps.dwCaps =
        DDSCAPS_3DDEVICE | (bHardware ? DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM : DDSCAPS_SYSTEMMEMORY);
    if (bTexture)
        kDesc.ddsCaps.dwCaps |= DDSCAPS_TEXTURE;
    if (FAILED(m_pkDevice->GetDirectDraw()->CreateSurface(&kDesc, &m_pkBack, nullptr)) || !m_pkBack)
    {
        m_pkBack = nullptr;
        return Error("Creation failed: Back Buffer Surface Creation failed");
    }
    if (bHardware && bTexture && ReadDesc(m_pkBack, kDesc) && (kDesc.ddsCaps.dwCaps & DDSCAPS_NONLOCALVIDMEM))
    {
        ReleaseSurface(m_pkBack);
        return Error("Creation failed: Offscreen Video RAM Back Buffer Surface Creation failed");
    }
    return true;
}

bool NiD3DFramebuffer::AttachClipper()
{
    const char* pcFailure = nullptr;
    if (FAILED(m_pkDevice->GetDirectDraw()->CreateClipper(0, &m_pkClipper, nullptr)) || !m_pkClipper)
    {
        m_pkClipper = nullptr;
        pcFailure = "Creation failed: Clipper Creation failed";
    }
    else if (FAILED(m_pkClipper->SetHWnd(0, m_hWindow)))
    {
        pcFailure = "Creation failed: Clipper Window Attach failed";
    }
    else if (FAILED(m_pkFront->SetClipper(m_pkClipper)))
    {
        pcFailure = "Creation failed: Frontbuffer SetClipper failed";
    }
    if (!pcFailure)
        return true;
    D3DLogWarning(pcFailure);
    return Error("Creation failed: Clipper Creation failed");
}

//--- Layout and images ---------------------------------------------------------------------------

bool NiD3DFramebuffer::ComputeLayout()
{
    DDSURFACEDESC2 kDesc;
    if (m_pkBack && ReadDesc(m_pkBack, kDesc) && (kDesc.dwFlags & DDSD_PIXELFORMAT))
        m_kLayout = NiDDPixelFormat::ToLayout(kDesc.ddpfPixelFormat);
    NiPixelLayout::GetFormatId(m_kLayout);
    D3DLogMessage("(Creation): Rendering buffer creation successful");
    return true;
}

bool NiD3DFramebuffer::CreateImages()
{
    IDirectDraw7* pkDirectDraw = m_pkDevice->GetDirectDraw();
    if (m_pkFront)
    {
        if (m_pkFront == m_pkDevice->GetPrimarySurface())
            m_spFrontImage = m_pkDevice->GetPrimaryImage();
        else
            m_spFrontImage = NiDDBufferImage::Create(m_pkFront, pkDirectDraw);
        if (!m_spFrontImage)
            return Error("Creation failed: Front buffer surface image could not be created");
    }
    if (m_pkBack)
    {
        m_spBackImage = NiDDBufferImage::Create(m_pkBack, pkDirectDraw);
        if (!m_spBackImage)
            return Error("Creation failed: Back buffer surface image could not be created");
    }
    else
    {
        m_spBackImage = nullptr;
    }
    if (!m_spFrontImage)
        m_spFrontImage = m_spBackImage;
    return true;
}

//--- Z-buffer ------------------------------------------------------------------------------------

bool NiD3DFramebuffer::AttachZBuffer(bool bHardware, const DDPIXELFORMAT& kFormat)
{
    if (kFormat.dwSize == 0)
        return Error("Creation failed: 3D Hardware does not support a Z-buffer format");
    if (!m_pkBack)
        return true;
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* pkZBuffer = nullptr;
    const HRESULT hr = m_pkBack->GetAttachedSurface(&kCaps, &pkZBuffer);
    if (SUCCEEDED(hr) && pkZBuffer)
    {
        D3DLogMessage("Render create info: Found attached Z-Buffer");
        m_uiFlags |= FLAG_FOUND_ATTACHED_Z;
    }
    else if (hr == DDERR_NOTFOUND)
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        kDesc.dwWidth = m_uiWidth;
        kDesc.dwHeight = m_uiHeight;
        kDesc.ddpfPixelFormat = kFormat;
        kDesc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | (bHardware ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
        if (FAILED(m_pkDevice->GetDirectDraw()->CreateSurface(&kDesc, &pkZBuffer, nullptr)) || !pkZBuffer)
            return Error("Creation failed: ZBuffer Surface Creation failed");
        m_uiFlags &= ~FLAG_FOUND_ATTACHED_Z;
        if (FAILED(m_pkBack->AddAttachedSurface(pkZBuffer)))
        {
            pkZBuffer->Release();
            return Error("Creation failed: ZBuffer Surface Attachment failed");
        }
    }
    else
    {
        return Error("Creation failed: Error searching back buffer for Z-buffer");
    }
    ReleaseSurface(m_pkZBuffer);
    m_pkZBuffer = pkZBuffer;
    return true;
}

bool NiD3DFramebuffer::DetachZBuffer()
{
    if (!m_pkBack || (m_uiFlags & FLAG_FOUND_ATTACHED_Z))
        return false;
    if (!m_pkZBuffer)
        return true;
    if (FAILED(m_pkBack->DeleteAttachedSurface(0, m_pkZBuffer)))
        return false;
    ReleaseSurface(m_pkZBuffer);
    return true;
}

//--- Present and restore -------------------------------------------------------------------------

bool NiD3DFramebuffer::IsLost() const
{
    return m_pkBack && m_pkBack->IsLost() != DD_OK;
}

bool NiD3DFramebuffer::Swap()
{
    for (IDirectDrawSurface7* pkSurface : {m_pkBack, m_pkFront, m_pkZBuffer})
    {
        if (pkSurface && pkSurface->IsLost() != DD_OK)
            return false;
    }
    if (m_eKind == KIND_FULLSCREEN)
    {
        HRESULT hr;
        do
            hr = m_pkFront->Flip(nullptr, 0);
        while (hr == DDERR_WASSTILLDRAWING);
        if (FAILED(hr))
            D3DLogWarning("(Swap buffers):Error flipping surfaces");
    }
    else if (m_eKind == KIND_WINDOWED)
    {
        m_pkFront->SetClipper(m_pkClipper);
        POINT kTopLeft;
        POINT kBottomRight{static_cast<int32_t>(m_uiWidth), static_cast<int32_t>(m_uiHeight)};
        ClientToScreen(m_hWindow, &kTopLeft);
        ClientToScreen(m_hWindow, &kBottomRight);
        RECT kDest{kTopLeft.x, kTopLeft.y, kBottomRight.x, kBottomRight.y};
        RECT kSource{0, 0, static_cast<int32_t>(m_uiWidth), static_cast<int32_t>(m_uiHeight)};
        m_pkFront->Blt(&kDest, m_pkBack, &kSource, DDBLT_WAIT | DDBLT_DDFX, &m_kBltFx);
    }
    if (m_spFrontImage)
        m_spFrontImage->IncrementRevision();
    if (m_spBackImage)
        m_spBackImage->IncrementRevision();
    return true;
}

bool NiD3DFramebuffer::Restore()
{
    if (m_eKind != KIND_FULLSCREEN && m_pkBack && FAILED(m_pkBack->Restore()))
        return false;
    if (m_pkFront && FAILED(m_pkFront->Restore()))
        return false;
    if (m_pkZBuffer && FAILED(m_pkZBuffer->Restore()))
        return false;
    m_pkDevice->GetDirectDraw()->RestoreAllSurfaces();
    return true;
}

//--- Destruction ---------------------------------------------------------------------------------

void NiD3DFramebuffer::DecRef()
{
    if (--m_iRefCount <= 0)
        delete this;
}

NiD3DFramebuffer::~NiD3DFramebuffer()
{
    m_spFrontImage = nullptr;
    m_spBackImage = nullptr;
    if (m_pkClipper)
        m_pkClipper->Release();
    ReleaseSurface(m_pkFront);
    if (!(m_uiFlags & FLAG_FOUND_ATTACHED_Z))
        DetachZBuffer();
    ReleaseSurface(m_pkZBuffer);
    // An application's fullscreen back buffer belongs to its flip chain; no reference was taken.
    if (m_bBackCounted)
        ReleaseSurface(m_pkBack);
    m_pkDevice->DecRef();
}
