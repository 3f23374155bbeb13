// Surface: creation of every kind (primary and flip chain, render targets, z-buffers, texture
// and memory levels), lock and description, attachment, blits and presentation, loss.
#include "platform/d3d7/Surface.h"

#include "platform/d3d7/Clipper.h"
#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/GLContext.h"
#include "platform/d3d7/Palette.h"
#include "platform/d3d7/PixelFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace d3d7
{
namespace
{
// Larger requests are refused rather than allocated.
constexpr DWORD MAX_SIDE = 16384;

uint32_t FullChainLevels(DWORD dwWidth, DWORD dwHeight)
{
    return static_cast<uint32_t>(std::bit_width(std::max(dwWidth, dwHeight)));
}

bool IsVideoTexture(DWORD dwCaps)
{
    return (dwCaps & DDSCAPS_TEXTURE) != 0 && (dwCaps & DDSCAPS_SYSTEMMEMORY) == 0;
}

bool SameFormat(const DDPIXELFORMAT& kA, const DDPIXELFORMAT& kB)
{
    const DWORD dwKinds =
        DDPF_RGB | DDPF_PALETTEINDEXED8 | DDPF_ALPHAPIXELS | DDPF_ZBUFFER | DDPF_STENCILBUFFER;
    return (kA.dwFlags & dwKinds) == (kB.dwFlags & dwKinds) && kA.dwRGBBitCount == kB.dwRGBBitCount &&
           kA.dwRBitMask == kB.dwRBitMask && kA.dwGBitMask == kB.dwGBitMask &&
           kA.dwBBitMask == kB.dwBBitMask && kA.dwRGBAlphaBitMask == kB.dwRGBAlphaBitMask;
}

bool Contains(const std::vector<DDPIXELFORMAT>& kFormats, const DDPIXELFORMAT& kFormat)
{
    return std::any_of(kFormats.begin(), kFormats.end(),
                       [&](const DDPIXELFORMAT& k) { return SameFormat(k, kFormat); });
}

DDPIXELFORMAT CleanFormat(const DDPIXELFORMAT& kFormat)
{
    DDPIXELFORMAT kClean = kFormat;
    kClean.dwSize = sizeof(DDPIXELFORMAT);
    return kClean;
}

LONG RowPitch(DWORD dwWidth, const DDPIXELFORMAT& kFormat)
{
    const DWORD dwRow = dwWidth * PixelFormat::BytesPerPixel(kFormat);
    return static_cast<LONG>((dwRow + 3u) & ~3u);
}
} // namespace

Surface::Surface(const std::shared_ptr<DirectDrawCore>& pkCore, Kind eKind, DWORD dwWidth, DWORD dwHeight,
                 const DDPIXELFORMAT& kFormat, DWORD dwCaps)
    : ComObject(IID_IDirectDrawSurface7), m_pkCore(pkCore), m_eKind(eKind), m_dwWidth(dwWidth),
      m_dwHeight(dwHeight), m_kFormat(CleanFormat(kFormat)), m_dwCaps(dwCaps)
{
    m_pkCore->GetWorld().AddSurface(this);
}

Surface::~Surface()
{
    for (Surface* pkLevel : m_kLowerLevels)
        pkLevel->m_pkTopLevel = nullptr;
    if (m_pkTopLevel != nullptr)
        std::erase(m_pkTopLevel->m_kLowerLevels, this);
    m_pkCore->dwTextureMemoryUsed -= std::min(m_pkCore->dwTextureMemoryUsed, m_dwCharged);
    if (m_pkCore->IsGL() && (uiFramebuffer | uiColorBuffer | uiDepthBuffer | uiTexture) != 0)
    {
        if (GLContext* pkGL = m_pkCore->GL())
            pkGL->DeleteObjects(*this);
    }
    m_pkCore->GetWorld().RemoveSurface(this);
}

void Surface::AllocateMemory()
{
    m_lPitch = RowPitch(m_dwWidth, m_kFormat);
    m_kMemory.assign(static_cast<size_t>(m_lPitch) * m_dwHeight, 0);
    m_pucPixels = m_kMemory.data();
}

HRESULT Surface::CreateChain(const std::shared_ptr<DirectDrawCore>& pkCore, Kind eKind, DWORD dwWidth,
                             DWORD dwHeight, const DDPIXELFORMAT& kFormat, DWORD dwCaps, uint32_t uiLevels,
                             Surface** ppkSurface)
{
    World& kWorld = pkCore->GetWorld();
    const bool bGL = pkCore->IsGL();
    std::vector<Surface*> kLevels;
    auto fnFail = [&](HRESULT hr)
    {
        // Releasing the top level releases the levels below through its references.
        if (!kLevels.empty())
            kLevels.front()->Release();
        return hr;
    };

    for (uint32_t i = 0; i < uiLevels; ++i)
    {
        const DWORD dwLevelWidth = std::max<DWORD>(1, dwWidth >> i);
        const DWORD dwLevelHeight = std::max<DWORD>(1, dwHeight >> i);
        auto* pkLevel = new Surface(pkCore, eKind, dwLevelWidth, dwLevelHeight, kFormat, dwCaps);
        if (!kLevels.empty())
        {
            kLevels.back()->m_kNextLevel.Reset(pkLevel);
            pkLevel->Release(); // the level above holds it
            pkLevel->m_pkTopLevel = kLevels.front();
            kLevels.front()->m_kLowerLevels.push_back(pkLevel);
        }
        kLevels.push_back(pkLevel);

        switch (eKind)
        {
        case Kind::Primary:
            break;
        case Kind::ZBuffer:
            if (bGL && (pkCore->GL() == nullptr || !pkCore->GL()->CreateDepthBuffer(*pkLevel)))
                return fnFail(DDERR_OUTOFVIDEOMEMORY);
            break;
        case Kind::RenderTarget:
            if (bGL && (pkCore->GL() == nullptr || !pkCore->GL()->CreateRenderTarget(*pkLevel)))
                return fnFail(DDERR_OUTOFVIDEOMEMORY);
            if (!bGL)
                pkLevel->AllocateMemory();
            break;
        case Kind::Texture:
            pkLevel->AllocateMemory();
            break;
        }
    }

    Surface* pkTop = kLevels.front();
    if (IsVideoTexture(dwCaps) && eKind == Kind::Texture)
    {
        // The budget counts top levels, as texture managers size their memory by them.
        const DWORD dwBytes = static_cast<DWORD>(pkTop->m_lPitch) * pkTop->m_dwHeight;
        if (dwBytes > kWorld.dwTextureMemory - std::min(kWorld.dwTextureMemory, pkCore->dwTextureMemoryUsed))
            return fnFail(DDERR_OUTOFVIDEOMEMORY);
        pkTop->m_dwCharged = dwBytes;
        pkCore->dwTextureMemoryUsed += dwBytes;
    }
    *ppkSurface = pkTop;
    return DD_OK;
}

HRESULT Surface::Create(const std::shared_ptr<DirectDrawCore>& pkCore, const DDSURFACEDESC2& kRequest,
                        Surface** ppkSurface)
{
    World& kWorld = pkCore->GetWorld();
    if ((kRequest.dwFlags & DDSD_CAPS) == 0)
        return DDERR_INVALIDPARAMS;
    DWORD dwCaps = kRequest.ddsCaps.dwCaps;
    const DDPIXELFORMAT kDisplay = PixelFormat::DisplayFormat(kWorld.kDisplayMode.dwBPP);
    const bool bSized = (kRequest.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) == (DDSD_WIDTH | DDSD_HEIGHT);
    const bool bFormat = (kRequest.dwFlags & DDSD_PIXELFORMAT) != 0;

    if ((dwCaps & DDSCAPS_PRIMARYSURFACE) != 0)
    {
        const DWORD dwWidth = kWorld.kDisplayMode.dwWidth;
        const DWORD dwHeight = kWorld.kDisplayMode.dwHeight;
        DWORD dwBackBuffers = 0;
        if ((dwCaps & DDSCAPS_FLIP) != 0)
        {
            dwBackBuffers = (kRequest.dwFlags & DDSD_BACKBUFFERCOUNT) != 0 ? kRequest.dwBackBufferCount : 0;
            if (dwBackBuffers == 0 || dwBackBuffers > 2 || (dwCaps & DDSCAPS_COMPLEX) == 0)
                return DDERR_INVALIDPARAMS;
            if (dwBackBuffers == 2 && !kWorld.bTripleBuffering)
                return DDERR_OUTOFVIDEOMEMORY;
        }
        Surface* pkPrimary = nullptr;
        HRESULT hr = CreateChain(pkCore, Kind::Primary, dwWidth, dwHeight, kDisplay,
                                 dwCaps | DDSCAPS_FRONTBUFFER | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM, 1,
                                 &pkPrimary);
        if (FAILED(hr))
            return hr;
        // Each back buffer is a render target at the display size; the first is attached
        // to the primary, the second to the first.
        Surface* pkAbove = pkPrimary;
        for (DWORD i = 0; i < dwBackBuffers; ++i)
        {
            Surface* pkBack = nullptr;
            const DWORD dwBackCaps = DDSCAPS_BACKBUFFER | DDSCAPS_3DDEVICE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                                     DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
            hr = CreateChain(pkCore, Kind::RenderTarget, dwWidth, dwHeight, kDisplay, dwBackCaps, 1, &pkBack);
            if (FAILED(hr))
            {
                pkPrimary->Release();
                return hr;
            }
            pkAbove->m_kBackBuffer.Reset(pkBack);
            pkBack->Release();
            pkAbove = pkBack;
        }
        *ppkSurface = pkPrimary;
        return DD_OK;
    }

    if (!bSized || kRequest.dwWidth == 0 || kRequest.dwHeight == 0 || kRequest.dwWidth > MAX_SIDE ||
        kRequest.dwHeight > MAX_SIDE)
        return DDERR_INVALIDPARAMS;
    const DWORD dwWidth = kRequest.dwWidth;
    const DWORD dwHeight = kRequest.dwHeight;

    if ((dwCaps & DDSCAPS_ZBUFFER) != 0)
    {
        if (!bFormat || (kRequest.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER) == 0 ||
            !Contains(kWorld.kZBufferFormats, kRequest.ddpfPixelFormat))
            return DDERR_INVALIDPIXELFORMAT;
        if ((dwCaps & DDSCAPS_SYSTEMMEMORY) == 0)
            dwCaps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
        return CreateChain(pkCore, Kind::ZBuffer, dwWidth, dwHeight, kRequest.ddpfPixelFormat, dwCaps, 1,
                           ppkSurface);
    }

    const DDPIXELFORMAT kFormat = bFormat ? kRequest.ddpfPixelFormat : kDisplay;
    if (PixelFormat::BytesPerPixel(kFormat) == 0 ||
        (kFormat.dwFlags & (DDPF_RGB | DDPF_PALETTEINDEXED8)) == 0)
        return DDERR_INVALIDPIXELFORMAT;

    if ((dwCaps & DDSCAPS_3DDEVICE) != 0)
    {
        // Render targets draw in the display's format.
        if (!SameFormat(kFormat, kDisplay))
            return DDERR_INVALIDPIXELFORMAT;
        if ((dwCaps & DDSCAPS_SYSTEMMEMORY) == 0)
            dwCaps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
        return CreateChain(pkCore, Kind::RenderTarget, dwWidth, dwHeight, kFormat, dwCaps, 1, ppkSurface);
    }

    uint32_t uiLevels = 1;
    if ((dwCaps & DDSCAPS_TEXTURE) != 0 && (dwCaps & DDSCAPS_MIPMAP) != 0)
    {
        const uint32_t uiFull = FullChainLevels(dwWidth, dwHeight);
        uiLevels = (kRequest.dwFlags & DDSD_MIPMAPCOUNT) != 0 ? kRequest.dwMipMapCount : uiFull;
        if (uiLevels == 0 || uiLevels > uiFull)
            return DDERR_INVALIDPARAMS;
    }
    if (IsVideoTexture(dwCaps))
    {
        // Device textures come only in the formats the device offers.
        if (!Contains(kWorld.kTextureFormats, kFormat))
            return DDERR_INVALIDPIXELFORMAT;
        dwCaps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    }
    return CreateChain(pkCore, Kind::Texture, dwWidth, dwHeight, kFormat, dwCaps, uiLevels, ppkSurface);
}

uint32_t Surface::GetLevelCount() const
{
    uint32_t uiCount = 1;
    for (const Surface* pkLevel = m_kNextLevel.Get(); pkLevel != nullptr;
         pkLevel = pkLevel->m_kNextLevel.Get())
        ++uiCount;
    return uiCount;
}

const PALETTEENTRY* Surface::PaletteEntries() const
{
    return m_kPalette ? m_kPalette->Entries() : nullptr;
}

void Surface::MarkChanged()
{
    Surface* pkTop = m_pkTopLevel != nullptr ? m_pkTopLevel : this;
    pkTop->bTextureStale = true;
}

bool Surface::ValidRect(const RECT* pkRect, RECT& kRect) const
{
    if (pkRect == nullptr)
    {
        kRect = RECT{0, 0, static_cast<int32_t>(m_dwWidth), static_cast<int32_t>(m_dwHeight)};
        return true;
    }
    kRect = *pkRect;
    return kRect.left >= 0 && kRect.top >= 0 && kRect.left < kRect.right && kRect.top < kRect.bottom &&
           kRect.right <= static_cast<int32_t>(m_dwWidth) && kRect.bottom <= static_cast<int32_t>(m_dwHeight);
}

bool Surface::ReadPixels(const RECT& kRect, std::vector<uint32_t>& kPixels)
{
    if (kRect.right < kRect.left || kRect.bottom < kRect.top)
        return false;
    kPixels.resize(static_cast<size_t>(kRect.right - kRect.left) *
                   static_cast<size_t>(kRect.bottom - kRect.top));
    return ReadPixels(kRect, kPixels.data());
}

bool Surface::ReadPixels(const RECT& kRect, uint32_t* puiPixels)
{
    if (m_eKind == Kind::RenderTarget && m_pkCore->IsGL())
    {
        GLContext* pkGL = m_pkCore->GL();
        return pkGL != nullptr && pkGL->ReadPixels(*this, kRect, puiPixels);
    }
    if (m_pucPixels == nullptr)
        return false;
    const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
    for (int32_t iY = kRect.top; iY < kRect.bottom; ++iY)
    {
        const uint8_t* pucRow = m_pucPixels + static_cast<ptrdiff_t>(iY) * m_lPitch;
        for (int32_t iX = kRect.left; iX < kRect.right; ++iX)
            *puiPixels++ =
                PixelFormat::Read(m_kFormat, pucRow + static_cast<ptrdiff_t>(iX) * uiBytes, PaletteEntries());
    }
    return true;
}

void Surface::FillMemory(const RECT& kRect, uint32_t uiARGB)
{
    if (m_pucPixels == nullptr)
        return;
    const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
    for (int32_t iY = kRect.top; iY < kRect.bottom; ++iY)
    {
        uint8_t* pucRow = m_pucPixels + static_cast<ptrdiff_t>(iY) * m_lPitch;
        for (int32_t iX = kRect.left; iX < kRect.right; ++iX)
            PixelFormat::Write(m_kFormat, pucRow + static_cast<ptrdiff_t>(iX) * uiBytes, uiARGB);
    }
}

HRESULT Surface::Lock(RECT* pkRect, DDSURFACEDESC2* pkDesc, DWORD dwFlags, HANDLE)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Lock", {dwFlags});
    if (HRESULT hr = kWorld.Injected("Lock"); FAILED(hr))
        return hr;
    RECT kRect;
    if (pkDesc == nullptr || !ValidRect(pkRect, kRect))
        return pkDesc == nullptr ? DDERR_INVALIDPARAMS : DDERR_INVALIDRECT;
    if (m_bLost)
        return DDERR_SURFACELOST;
    if (m_eKind == Kind::Primary || m_eKind == Kind::ZBuffer)
        return DDERR_CANTLOCKSURFACE;

    if (m_eKind == Kind::RenderTarget && m_pkCore->IsGL())
    {
        // The picture is read back into memory in the surface's own format, top row first.
        std::vector<uint32_t> kPixels;
        const RECT kWhole{0, 0, static_cast<int32_t>(m_dwWidth), static_cast<int32_t>(m_dwHeight)};
        if (!ReadPixels(kWhole, kPixels))
            return DDERR_GENERIC;
        AllocateMemory();
        const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
        for (DWORD dwY = 0; dwY < m_dwHeight; ++dwY)
            for (DWORD dwX = 0; dwX < m_dwWidth; ++dwX)
                PixelFormat::Write(m_kFormat, m_pucPixels + dwY * m_lPitch + dwX * uiBytes,
                                   kPixels[dwY * m_dwWidth + dwX]);
    }

    const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
    ++m_uiLocks;
    GetSurfaceDesc(pkDesc);
    pkDesc->dwFlags |= DDSD_LPSURFACE;
    pkDesc->lpSurface = m_pucPixels + static_cast<ptrdiff_t>(kRect.top) * m_lPitch +
                        static_cast<ptrdiff_t>(kRect.left) * uiBytes;
    return DD_OK;
}

HRESULT Surface::Unlock(RECT*)
{
    m_pkCore->GetWorld().Log("Unlock");
    if (m_uiLocks == 0)
        return DDERR_NOTLOCKED;
    --m_uiLocks;
    if (m_eKind == Kind::Texture)
        MarkChanged();
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2* pkDesc)
{
    if (pkDesc == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD dwSize = pkDesc->dwSize;
    *pkDesc = DDSURFACEDESC2{};
    pkDesc->dwSize = dwSize;
    pkDesc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    pkDesc->dwWidth = m_dwWidth;
    pkDesc->dwHeight = m_dwHeight;
    pkDesc->ddpfPixelFormat = m_kFormat;
    pkDesc->ddsCaps.dwCaps = m_dwCaps;
    if (m_lPitch != 0)
    {
        pkDesc->dwFlags |= DDSD_PITCH;
        pkDesc->lPitch = m_lPitch;
    }
    if ((m_dwCaps & DDSCAPS_MIPMAP) != 0)
    {
        pkDesc->dwFlags |= DDSD_MIPMAPCOUNT;
        pkDesc->dwMipMapCount = GetLevelCount();
    }
    if (m_kBackBuffer)
    {
        pkDesc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        pkDesc->dwBackBufferCount = m_kBackBuffer->m_kBackBuffer ? 2 : 1;
    }
    if (m_bHasColorKey)
    {
        pkDesc->dwFlags |= DDSD_CKSRCBLT;
        pkDesc->ddckCKSrcBlt = m_kColorKey;
    }
    return DD_OK;
}

HRESULT Surface::SetSurfaceDesc(DDSURFACEDESC2* pkDesc, DWORD dwFlags)
{
    m_pkCore->GetWorld().Log("SetSurfaceDesc", {pkDesc != nullptr ? pkDesc->dwFlags : 0u, dwFlags});
    const DWORD dwNeeded = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE;
    if (pkDesc == nullptr || (pkDesc->dwFlags & dwNeeded) != dwNeeded || pkDesc->lpSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    // Only memory surfaces can take the caller's memory.
    if (m_eKind != Kind::Texture || (m_dwCaps & DDSCAPS_SYSTEMMEMORY) == 0)
        return DDERR_INVALIDOBJECT;
    const DDPIXELFORMAT kFormat =
        (pkDesc->dwFlags & DDSD_PIXELFORMAT) != 0 ? pkDesc->ddpfPixelFormat : m_kFormat;
    const uint32_t uiBytes = PixelFormat::BytesPerPixel(kFormat);
    if (uiBytes == 0 || pkDesc->dwWidth == 0 || pkDesc->dwHeight == 0 || pkDesc->dwWidth > MAX_SIDE ||
        pkDesc->dwHeight > MAX_SIDE || pkDesc->lPitch < static_cast<LONG>(pkDesc->dwWidth * uiBytes))
        return DDERR_INVALIDPARAMS;
    m_kFormat = CleanFormat(kFormat);
    m_dwWidth = pkDesc->dwWidth;
    m_dwHeight = pkDesc->dwHeight;
    m_lPitch = pkDesc->lPitch;
    m_kMemory.clear();
    m_kMemory.shrink_to_fit();
    m_pucPixels = static_cast<uint8_t*>(pkDesc->lpSurface);
    MarkChanged();
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2* pkCaps, IDirectDrawSurface7** ppkSurface)
{
    m_pkCore->GetWorld().Log("GetAttachedSurface", {pkCaps != nullptr ? pkCaps->dwCaps : 0u});
    if (pkCaps == nullptr || ppkSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkSurface = nullptr;
    Surface* pkFound = nullptr;
    if ((pkCaps->dwCaps & DDSCAPS_BACKBUFFER) != 0)
        pkFound = m_kBackBuffer.Get();
    else if ((pkCaps->dwCaps & DDSCAPS_ZBUFFER) != 0)
        pkFound = m_kZBuffer.Get();
    else if ((pkCaps->dwCaps & DDSCAPS_MIPMAP) != 0)
        pkFound = m_kNextLevel.Get();
    if (pkFound == nullptr)
        return DDERR_NOTFOUND;
    pkFound->AddRef();
    *ppkSurface = pkFound;
    return DD_OK;
}

HRESULT Surface::AddAttachedSurface(IDirectDrawSurface7* pkSurface)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("AddAttachedSurface", {reinterpret_cast<uintptr_t>(pkSurface)});
    if (HRESULT hr = kWorld.Injected("AddAttachedSurface"); FAILED(hr))
        return hr;
    auto* pkZ = static_cast<Surface*>(pkSurface);
    if (pkZ == nullptr || pkZ->m_eKind != Kind::ZBuffer || m_eKind != Kind::RenderTarget)
        return DDERR_INVALIDPARAMS;
    if (m_kZBuffer)
        return DDERR_SURFACEALREADYATTACHED;
    if (pkZ->m_dwWidth != m_dwWidth || pkZ->m_dwHeight != m_dwHeight || &pkZ->GetCore() != m_pkCore.get())
        return DDERR_INVALIDPARAMS;
    if (m_pkCore->IsGL())
    {
        GLContext* pkGL = m_pkCore->GL();
        if (pkGL == nullptr || !pkGL->AttachDepthBuffer(*this, pkZ))
            return DDERR_GENERIC;
    }
    m_kZBuffer.Reset(pkZ);
    return DD_OK;
}

HRESULT Surface::DeleteAttachedSurface(DWORD dwFlags, IDirectDrawSurface7* pkSurface)
{
    m_pkCore->GetWorld().Log("DeleteAttachedSurface", {dwFlags, reinterpret_cast<uintptr_t>(pkSurface)});
    if (!m_kZBuffer || (pkSurface != nullptr && pkSurface != m_kZBuffer.Get()))
        return DDERR_SURFACENOTATTACHED;
    if (m_pkCore->IsGL())
    {
        if (GLContext* pkGL = m_pkCore->GL())
            pkGL->AttachDepthBuffer(*this, nullptr);
    }
    m_kZBuffer.Reset(nullptr);
    return DD_OK;
}

HWND Surface::PresentWindow() const
{
    if (m_kClipper && m_kClipper->GetWindow() != nullptr)
        return m_kClipper->GetWindow();
    return m_pkCore->hCooperativeWindow;
}

HRESULT Surface::Present(Surface* pkBackBuffer, HWND hWnd)
{
    // Presenting reads the finished frame into the memory the window lends and has the window
    // show it; without a window (offscreen) it is done.
    if (hWnd == nullptr)
        return DD_OK;
    const RECT kWhole{0, 0, static_cast<int32_t>(pkBackBuffer->m_dwWidth),
                      static_cast<int32_t>(pkBackBuffer->m_dwHeight)};
    uint32_t* puiFrame = hWnd->LendFrameBuffer(kWhole.right, kWhole.bottom);
    if (puiFrame == nullptr || !pkBackBuffer->ReadPixels(kWhole, puiFrame))
        return DDERR_GENERIC;
    hWnd->ShowFrame(kWhole.right, kWhole.bottom);
    return DD_OK;
}

HRESULT Surface::Blt(RECT* pkDestRect, IDirectDrawSurface7* pkSource, RECT* pkSourceRect, DWORD dwFlags,
                     DDBLTFX* pkFX)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Blt", {reinterpret_cast<uintptr_t>(pkSource), dwFlags, pkFX != nullptr ? pkFX->dwDDFX : 0u});
    if (HRESULT hr = kWorld.Injected("Blt"); FAILED(hr))
        return hr;
    auto* pkSrc = static_cast<Surface*>(pkSource);
    if (pkSrc == nullptr)
        return DDERR_UNSUPPORTED;
    if (m_bLost || pkSrc->m_bLost)
        return DDERR_SURFACELOST;

    RECT kSrc;
    if (!pkSrc->ValidRect(pkSourceRect, kSrc))
        return DDERR_INVALIDRECT;
    const int32_t iWidth = kSrc.right - kSrc.left;
    const int32_t iHeight = kSrc.bottom - kSrc.top;

    if (m_eKind == Kind::Primary)
    {
        // The destination is in screen coordinates; the window shows the frame at its client
        // area, so only the source matters here.
        if (pkSrc->m_eKind != Kind::RenderTarget)
            return DDERR_UNSUPPORTED;
        return Present(pkSrc, PresentWindow());
    }

    RECT kDest;
    if (pkDestRect == nullptr)
        kDest = RECT{0, 0, static_cast<int32_t>(m_dwWidth), static_cast<int32_t>(m_dwHeight)};
    else
        kDest = *pkDestRect;
    if (!ValidRect(&kDest, kDest))
        return DDERR_INVALIDRECT;
    // Copies are one to one; stretching is never asked for.
    if (kDest.right - kDest.left != iWidth || kDest.bottom - kDest.top != iHeight)
        return DDERR_UNSUPPORTED;
    if (m_eKind == Kind::ZBuffer || pkSrc->m_eKind == Kind::ZBuffer || pkSrc->m_eKind == Kind::Primary)
        return DDERR_UNSUPPORTED;

    const bool bKeyed = (dwFlags & DDBLT_KEYSRC) != 0 && pkSrc->m_bHasColorKey;
    // Same-format memory copies without a key are plain row copies (texture uploads).
    if (!bKeyed && m_pucPixels != nullptr && pkSrc->m_pucPixels != nullptr &&
        SameFormat(m_kFormat, pkSrc->m_kFormat) && !(m_eKind == Kind::RenderTarget && m_pkCore->IsGL()) &&
        !(pkSrc->m_eKind == Kind::RenderTarget && pkSrc->m_pkCore->IsGL()))
    {
        const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
        for (int32_t iRow = 0; iRow < iHeight; ++iRow)
            std::memcpy(m_pucPixels + static_cast<ptrdiff_t>(kDest.top + iRow) * m_lPitch +
                            kDest.left * uiBytes,
                        pkSrc->m_pucPixels + static_cast<ptrdiff_t>(kSrc.top + iRow) * pkSrc->m_lPitch +
                            kSrc.left * uiBytes,
                        static_cast<size_t>(iWidth) * uiBytes);
        if (m_eKind == Kind::Texture)
            MarkChanged();
        return DD_OK;
    }

    std::vector<uint32_t> kPixels;
    if (!pkSrc->ReadPixels(kSrc, kPixels))
        return DDERR_GENERIC;
    if (bKeyed)
    {
        // Source pixels equal to the key (compared in the source's own format) stay out.
        const uint32_t uiBytes = PixelFormat::BytesPerPixel(pkSrc->m_kFormat);
        const DWORD dwLow = pkSrc->m_kColorKey.dwColorSpaceLowValue;
        const DWORD dwHigh = std::max(dwLow, pkSrc->m_kColorKey.dwColorSpaceHighValue);
        for (int32_t iRow = 0; iRow < iHeight; ++iRow)
        {
            for (int32_t iCol = 0; iCol < iWidth; ++iCol)
            {
                uint32_t uiRaw = 0;
                if (pkSrc->m_pucPixels != nullptr)
                    uiRaw = PixelFormat::LoadRaw(
                        pkSrc->m_pucPixels + static_cast<ptrdiff_t>(kSrc.top + iRow) * pkSrc->m_lPitch +
                            static_cast<ptrdiff_t>(kSrc.left + iCol) * uiBytes,
                        uiBytes);
                else
                    uiRaw = PixelFormat::Pack(pkSrc->m_kFormat,
                                              kPixels[static_cast<size_t>(iRow * iWidth + iCol)]);
                uint32_t& uiPixel = kPixels[static_cast<size_t>(iRow * iWidth + iCol)];
                uiPixel = (uiRaw >= dwLow && uiRaw <= dwHigh) ? 0u : (uiPixel | 0xff000000u);
            }
        }
    }

    if (m_eKind == Kind::RenderTarget && m_pkCore->IsGL())
    {
        GLContext* pkGL = m_pkCore->GL();
        if (pkGL == nullptr || !pkGL->DrawPixels(*this, kDest, kPixels, static_cast<uint32_t>(iWidth),
                                                 static_cast<uint32_t>(iHeight), bKeyed))
            return DDERR_GENERIC;
        return DD_OK;
    }
    if (m_pucPixels == nullptr)
        return DDERR_GENERIC;
    const uint32_t uiBytes = PixelFormat::BytesPerPixel(m_kFormat);
    for (int32_t iRow = 0; iRow < iHeight; ++iRow)
    {
        for (int32_t iCol = 0; iCol < iWidth; ++iCol)
        {
            const uint32_t uiPixel = kPixels[static_cast<size_t>(iRow * iWidth + iCol)];
            if (bKeyed && uiPixel == 0)
                continue;
            PixelFormat::Write(m_kFormat,
                               m_pucPixels + static_cast<ptrdiff_t>(kDest.top + iRow) * m_lPitch +
                                   static_cast<ptrdiff_t>(kDest.left + iCol) * uiBytes,
                               uiPixel);
        }
    }
    if (m_eKind == Kind::Texture)
        MarkChanged();
    return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7*, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Flip", {dwFlags});
    if (HRESULT hr = kWorld.Injected("Flip"); FAILED(hr))
        return hr;
    if (m_eKind != Kind::Primary || !m_kBackBuffer)
        return DDERR_INVALIDOBJECT;
    if (m_bLost || m_kBackBuffer->m_bLost)
        return DDERR_SURFACELOST;
    // Fullscreen is a window showing the frame: flipping presents the back buffer into the
    // window of the cooperative level.
    return Present(m_kBackBuffer.Get(), PresentWindow());
}

HRESULT Surface::IsLost()
{
    m_pkCore->GetWorld().Log("IsLost");
    return m_bLost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore()
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Restore");
    if (HRESULT hr = kWorld.Injected("Restore"); FAILED(hr))
        return hr;
    RestoreContents();
    return DD_OK;
}

void Surface::RestoreContents()
{
    if (!m_bLost)
        return;
    m_bLost = false;
    if (!m_kMemory.empty())
        std::fill(m_kMemory.begin(), m_kMemory.end(), uint8_t{0});
    if (m_eKind == Kind::RenderTarget && m_pkCore->IsGL())
    {
        if (GLContext* pkGL = m_pkCore->GL())
            pkGL->Clear(*this,
                        {RECT{0, 0, static_cast<int32_t>(m_dwWidth), static_cast<int32_t>(m_dwHeight)}},
                        D3DCLEAR_TARGET, 0, 1.0f, 0);
    }
    MarkChanged();
}

HRESULT Surface::SetClipper(IDirectDrawClipper* pkClipper)
{
    m_pkCore->GetWorld().Log("SetClipper", {reinterpret_cast<uintptr_t>(pkClipper)});
    m_kClipper.Reset(static_cast<Clipper*>(pkClipper));
    return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetColorKey", {dwFlags, pkColorKey != nullptr ? pkColorKey->dwColorSpaceLowValue : 0u});
    if (HRESULT hr = kWorld.Injected("SetColorKey"); FAILED(hr))
        return hr;
    if ((dwFlags & DDCKEY_SRCBLT) == 0)
        return DDERR_UNSUPPORTED;
    m_bHasColorKey = pkColorKey != nullptr;
    if (pkColorKey != nullptr)
        m_kColorKey = *pkColorKey;
    MarkChanged();
    return DD_OK;
}

HRESULT Surface::GetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey)
{
    if ((dwFlags & DDCKEY_SRCBLT) == 0 || pkColorKey == nullptr)
        return DDERR_INVALIDPARAMS;
    if (!m_bHasColorKey)
        return DDERR_NOTFOUND;
    *pkColorKey = m_kColorKey;
    return DD_OK;
}

HRESULT Surface::SetPalette(IDirectDrawPalette* pkPalette)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetPalette", {reinterpret_cast<uintptr_t>(pkPalette)});
    if (HRESULT hr = kWorld.Injected("SetPalette"); FAILED(hr))
        return hr;
    if (pkPalette != nullptr && !PixelFormat::IsPalettized(m_kFormat))
        return DDERR_INVALIDPIXELFORMAT;
    m_kPalette.Reset(static_cast<Palette*>(pkPalette));
    MarkChanged();
    return DD_OK;
}

HRESULT Surface::GetPalette(IDirectDrawPalette** ppkPalette)
{
    m_pkCore->GetWorld().Log("GetPalette");
    if (ppkPalette == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkPalette = m_kPalette.Get();
    if (*ppkPalette == nullptr)
        return DDERR_NOPALETTEATTACHED;
    (*ppkPalette)->AddRef();
    return DD_OK;
}
} // namespace d3d7
