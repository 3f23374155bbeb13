#include "scene/render/NiD3DRender.h"

#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/render/LoadImageFile.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDDImage.h"

#include <algorithm>

// The renderer's images: the services that make device images and reach their surfaces, the
// frame buffers as images, the front buffer read back for screenshots, blits, and the texture
// manager's operations.
//
// Contents: image services / buffers and screenshots / textures / images.

namespace
{
// The renderer's texture cache hands device images their source surfaces through these.
bool GetImageSourceSurface(NiImage* pkImage, IDirectDraw7* pkDirectDraw,
                           const NiPixelLayout* const* apkLayouts, bool bTrueColor,
                           IDirectDrawSurface7** ppkSurface, const NiPixelLayout** ppkLayout)
{
    auto* pkDeviceImage = NiDynamicCast<NiDDImage>(pkImage);
    if (!pkDeviceImage)
        return false;
    IDirectDrawSurface7* pkSurface = nullptr;
    const NiPixelLayout* pkLayout = nullptr;
    const bool bOk =
        pkDeviceImage->GetSourceSurface(pkDirectDraw, apkLayouts, bTrueColor, false, pkSurface, pkLayout);
    *ppkSurface = pkSurface;
    *ppkLayout = pkLayout;
    return bOk;
}

IDirectDrawSurface7* GetImageBufferSurface(NiImage* pkImage)
{
    auto* pkBufferImage = NiDynamicCast<NiDDBufferImage>(pkImage);
    IDirectDrawSurface7* pkSurface = nullptr;
    if (pkBufferImage)
        pkBufferImage->GetSurface(pkSurface);
    return pkSurface;
}
} // namespace

//--- Image services ------------------------------------------------------------------------------

void NiD3DRender::InstallImageFactory()
{
    NiImage::SetImageFactory(&NiDDImage::Create);
    NiImage::SetFileLoader(&LoadImageFile);
    NiD3DTextureCache::ImageServices kServices;
    kServices.pfnGetSourceSurface = &GetImageSourceSurface;
    kServices.pfnGetBufferSurface = &GetImageBufferSurface;
    NiD3DTextureCache::SetImageServices(kServices);
}

void NiD3DRender::RemoveImageFactory()
{
    NiImage::SetImageFactory(nullptr);
    NiImage::SetFileLoader(nullptr);
    NiD3DTextureCache::SetImageServices({});
}

//--- Buffers and screenshots ---------------------------------------------------------------------

NiImage* NiD3DRender::GetBuffer(uint32_t uiWhich)
{
    if (!m_pkCurrentFramebuffer)
        return nullptr;
    if (uiWhich == 1)
        return m_pkCurrentFramebuffer->GetBackImage();
    if (uiWhich == 2)
    {
        NiImage* pkFront = m_pkCurrentFramebuffer->GetFrontImage();
        return pkFront ? pkFront : m_pkCurrentFramebuffer->GetBackImage();
    }
    return nullptr;
}

NiRawImageData* NiD3DRender::GetFrontBufferImage()
{
    NiDDBufferImage* pkBack = m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetBackImage() : nullptr;
    if (!pkBack)
        return nullptr;
    auto* pkRaw = new NiRawImageData;
    if (!pkBack->CopyToRawImage(*pkRaw))
    {
        delete pkRaw;
        return nullptr;
    }
    return pkRaw;
}

bool NiD3DRender::BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX, uint32_t uiY,
                            bool bColorKey)
{
    auto* pkDeviceImage = NiDynamicCast<NiDDImage>(pkImage);
    NiDDBufferImage* pkBackImage = m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetBackImage() : nullptr;
    if (!pkDeviceImage || !pkBackImage)
        return false;
    IDirectDrawSurface7* pkSurface = nullptr;
    IDirectDrawSurface7* pkBack = nullptr;
    if (!pkDeviceImage->GetDeviceSurface(GetDirectDraw(), m_pkCurrentFramebuffer->GetPixelLayout(),
                                         pkSurface) ||
        !pkBackImage->GetSurface(pkBack))
    {
        return false;
    }
    const uint32_t uiImageWidth = pkDeviceImage->GetWidth();
    const uint32_t uiImageHeight = pkDeviceImage->GetHeight();
    uint32_t uiLeft = 0, uiRight = uiImageWidth, uiTop = 0, uiBottom = uiImageHeight;
    if (pkSource)
    {
        uiLeft = std::min(pkSource->m_left, uiImageWidth);
        uiRight = std::min(pkSource->m_right, uiImageWidth);
        uiTop = std::min(pkSource->m_top, uiImageHeight);
        uiBottom = std::min(pkSource->m_bottom, uiImageHeight);
    }
    if (uiRight <= uiLeft || uiBottom <= uiTop)
        return false;
    const uint32_t uiTargetWidth = pkBackImage->GetWidth();
    const uint32_t uiTargetHeight = pkBackImage->GetHeight();
    if (uiX >= uiTargetWidth || uiY >= uiTargetHeight)
        return false;
    // Cut at the target's right and bottom edges.
    uiRight -= std::max<int64_t>(0, int64_t(uiX) + (uiRight - uiLeft) - uiTargetWidth);
    uiBottom -= std::max<int64_t>(0, int64_t(uiY) + (uiBottom - uiTop) - uiTargetHeight);
    RECT kSource{int32_t(uiLeft), int32_t(uiTop), int32_t(uiRight), int32_t(uiBottom)};
    RECT kDest{int32_t(uiX), int32_t(uiY), int32_t(uiX + uiRight - uiLeft), int32_t(uiY + uiBottom - uiTop)};
    DDBLTFX kFx;
    kFx.dwSize = sizeof(kFx);
    const DWORD dwFlags = DDBLT_WAIT | (bColorKey ? DDBLT_KEYSRC : 0);
    return SUCCEEDED(pkBack->Blt(&kDest, pkSurface, &kSource, dwFlags, &kFx));
}

//--- Textures ------------------------------------------------------------------------------------

bool NiD3DRender::PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock)
{
    return m_spTextures &&
           m_spTextures->Precache(NiDynamicCast<NiDDImage>(pkImage), bAllowEviction, bLock, -1);
}

bool NiD3DRender::PurgeAllTextures(bool bIncludeLocked)
{
    if (!m_spTextures)
        return false;
    m_spTextures->Purge(nullptr, bIncludeLocked, -1);
    return true;
}

bool NiD3DRender::PurgeTexture(NiImage* pkImage)
{
    if (!m_spTextures)
        return false;
    m_spTextures->Purge(pkImage, true, -1);
    return true;
}

bool NiD3DRender::GetTextureMemory(uint32_t& uiTotal, uint32_t& uiFree)
{
    uiTotal = uiFree = 0;
    IDirectDraw7* pkDirectDraw = GetDirectDraw();
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_TEXTURE;
    DWORD dwTotal = 0, dwFree = 0;
    if (!pkDirectDraw || FAILED(pkDirectDraw->GetAvailableVidMem(&kCaps, &dwTotal, &dwFree)))
        return false;
    uiTotal = dwTotal;
    uiFree = dwFree;
    return true;
}

bool NiD3DRender::GetTextureStats(uint32_t& uiLive, uint32_t& uiUsedThisFrame, uint32_t&,
                                  uint32_t& uiChangesThisFrame, uint32_t& uiFrameCounter)
{
    if (!m_spTextures)
        return false;
    uiLive = m_spTextures->GetLiveCount();
    uiUsedThisFrame = m_spTextures->GetUsedThisFrame();
    uiChangesThisFrame = m_spTextures->GetChangesThisFrame();
    uiFrameCounter = m_spTextures->GetExtraThisFrame();
    return true;
}

uint32_t NiD3DRender::GetTextureEvents()
{
    return m_spTextures ? m_spTextures->GetEvents() : 0;
}

bool NiD3DRender::SetTextureSkipLevels(uint32_t uiLevels)
{
    if (m_spTextures)
        m_spTextures->SetSkipLevels(uiLevels);
    return true;
}

uint32_t NiD3DRender::GetTextureSkipLevels() const
{
    return m_spTextures ? m_spTextures->GetSkipLevels() : 0;
}

void NiD3DRender::SetMaxTextureSize(uint32_t uiSize)
{
    if (!m_spTextures)
        return;
    const uint32_t uiWidth =
        uiSize <= m_spTextures->GetDeviceMaxTextureWidth() ? uiSize : m_spTextures->GetMaxTextureWidth();
    const uint32_t uiHeight =
        uiSize <= m_spTextures->GetDeviceMaxTextureHeight() ? uiSize : m_spTextures->GetMaxTextureHeight();
    m_spTextures->SetMaxTextureSize(uiWidth, uiHeight);
}

void NiD3DRender::GetMaxTextureSize(uint32_t& uiWidth, uint32_t& uiHeight) const
{
    uiWidth = uiHeight = 0;
    if (!m_spTextures)
        return;
    uiWidth = m_spTextures->GetMaxTextureWidth() ? m_spTextures->GetMaxTextureWidth()
                                                 : m_spTextures->GetDeviceMaxTextureWidth();
    uiHeight = m_spTextures->GetMaxTextureHeight() ? m_spTextures->GetMaxTextureHeight()
                                                   : m_spTextures->GetDeviceMaxTextureHeight();
}

//--- Images --------------------------------------------------------------------------------------

bool NiD3DRender::PrepareImage(NiImage* pkImage)
{
    return m_spTextures && m_spTextures->CanCreateSource(NiDynamicCast<NiDDImage>(pkImage));
}
