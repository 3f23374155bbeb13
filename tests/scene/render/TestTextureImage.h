#pragma once

#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiDDPixelFormat.h"

#include <algorithm>
#include <cstdint>
#include <utility>

// An image that makes its system-memory source surface the way device images do, for the
// texture tests: raw pixels in the first offered format of a short preference list, with a
// mip chain reduced 2 x 2 when asked for. Counts the source requests; leaves every texture
// cache when it dies.
class TestTextureImage : public NiImage
{
public:
    TestTextureImage(NiRawImageData* pkRaw, bool bMipmapped, PrefTexFormat ePreferred = TEX_DEFAULT)
    {
        m_spRaw = pkRaw;
        m_uiWidth = pkRaw->GetWidth();
        m_uiHeight = pkRaw->GetHeight();
        m_uiMipLevels = bMipmapped ? std::max(ComputeMipmapLevels(m_uiWidth, m_uiHeight), 1u) : 1u;
        m_ePrefTexFormat = ePreferred;
        if (bMipmapped)
            m_uiFlags |= MIPMAPPED;
    }

    ~TestTextureImage() override
    {
        NiD3DTextureCache::PurgeImageFromAll(this);
        if (m_pkSource)
            m_pkSource->Release();
    }

    // A picture of one colour (RGB or RGBA bytes).
    static TestTextureImage* Solid(uint32_t uiWidth, uint32_t uiHeight, uint32_t uiRGBA, bool bAlpha = false,
                                   bool bMipmapped = false, PrefTexFormat ePreferred = TEX_DEFAULT)
    {
        auto* pkRaw = new NiRawImageData(bAlpha ? NiRawImageData::FORMAT_RGBA : NiRawImageData::FORMAT_RGB,
                                         uiWidth, uiHeight);
        uint8_t* pucPixel = pkRaw->GetPixels();
        for (uint32_t i = 0; pucPixel && i < uiWidth * uiHeight; ++i)
        {
            *pucPixel++ = uint8_t(uiRGBA >> 24);
            *pucPixel++ = uint8_t(uiRGBA >> 16);
            *pucPixel++ = uint8_t(uiRGBA >> 8);
            if (bAlpha)
                *pucPixel++ = uint8_t(uiRGBA);
        }
        return new TestTextureImage(pkRaw, bMipmapped, ePreferred);
    }

    // New pixels are in the raw image: the next request fills the source again.
    void Change()
    {
        IncrementRevision();
        m_bStale = true;
    }

    uint32_t GetSourceRequests() const { return m_uiSourceRequests; }
    IDirectDrawSurface7* GetSource() const { return m_pkSource; }

    // The service the texture cache calls.
    static bool GetSourceSurface(NiImage* pkImage, IDirectDraw7* pkDirectDraw,
                                 const NiPixelLayout* const* apkLayouts, bool,
                                 IDirectDrawSurface7** ppkSurface, const NiPixelLayout** ppkLayout)
    {
        auto* pkTest = static_cast<TestTextureImage*>(pkImage);
        ++pkTest->m_uiSourceRequests;
        if (!pkTest->m_pkSource && !pkTest->MakeSource(pkDirectDraw, apkLayouts))
            return false;
        if (pkTest->m_bStale && !pkTest->Fill())
            return false;
        *ppkSurface = pkTest->m_pkSource;
        *ppkLayout = pkTest->m_pkLayout;
        return true;
    }

private:
    bool MakeSource(IDirectDraw7* pkDirectDraw, const NiPixelLayout* const* apkLayouts)
    {
        const bool bAlpha = m_spRaw->GetFormat() == NiRawImageData::FORMAT_RGBA;
        const uint32_t auiRGB[] = {1, 2, 5};
        const uint32_t auiRGBA[] = {5, 4, 3};
        const uint32_t* puiOrder = bAlpha ? auiRGBA : auiRGB;
        m_pkLayout = nullptr;
        if (m_ePrefTexFormat < TEX_PAL8 && apkLayouts[m_ePrefTexFormat])
            m_pkLayout = apkLayouts[m_ePrefTexFormat];
        for (uint32_t i = 0; i < 3 && !m_pkLayout; ++i)
            m_pkLayout = apkLayouts[puiOrder[i]];
        if (!m_pkLayout)
            return false;

        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        kDesc.dwWidth = m_uiWidth;
        kDesc.dwHeight = m_uiHeight;
        kDesc.ddpfPixelFormat = NiDDPixelFormat::FromLayout(*m_pkLayout);
        kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
        if (m_uiFlags & MIPMAPPED)
        {
            kDesc.dwFlags |= DDSD_MIPMAPCOUNT;
            kDesc.dwMipMapCount = m_uiMipLevels;
            kDesc.ddsCaps.dwCaps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
        }
        if (FAILED(pkDirectDraw->CreateSurface(&kDesc, &m_pkSource, nullptr)))
            return false;
        return Fill();
    }

    bool Fill()
    {
        m_bStale = false;
        NiRefPtr<NiRawImageData> spLevel = m_spRaw;
        IDirectDrawSurface7* pkLevel = m_pkSource;
        pkLevel->AddRef();
        while (pkLevel)
        {
            DDSURFACEDESC2 kDesc;
            kDesc.dwSize = sizeof(kDesc);
            bool bDone = SUCCEEDED(pkLevel->Lock(nullptr, &kDesc, DDLOCK_WAIT, nullptr));
            if (bDone)
            {
                bDone = spLevel->ConvertTo(*m_pkLayout, kDesc.lPitch, static_cast<uint8_t*>(kDesc.lpSurface));
                pkLevel->Unlock(nullptr);
            }
            DDSCAPS2 kCaps;
            kCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
            IDirectDrawSurface7* pkNext = nullptr;
            pkLevel->GetAttachedSurface(&kCaps, &pkNext);
            pkLevel->Release();
            pkLevel = pkNext;
            if (!bDone)
            {
                if (pkLevel)
                    pkLevel->Release();
                return false;
            }
            if (pkLevel)
            {
                NiRefPtr<NiRawImageData> spNext = new NiRawImageData;
                spNext->ReduceFrom(spLevel);
                spLevel = spNext;
            }
        }
        return true;
    }

    IDirectDrawSurface7* m_pkSource = nullptr;
    const NiPixelLayout* m_pkLayout = nullptr;
    uint32_t m_uiSourceRequests = 0;
    bool m_bStale = false;
};

// Installs the test image's source service for a scope.
class TestTextureServices
{
public:
    TestTextureServices()
    {
        NiD3DTextureCache::ImageServices kServices;
        kServices.pfnGetSourceSurface = &TestTextureImage::GetSourceSurface;
        NiD3DTextureCache::SetImageServices(kServices);
    }
    ~TestTextureServices() { NiD3DTextureCache::SetImageServices({}); }
};
