#include "scene/render/NiDDBufferImage.h"

#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/render/NiDDPixelFormat.h"

NiImplementRTTI(NiDDBufferImage, NiDDImage);

NiDDBufferImage* NiDDBufferImage::Create(IDirectDrawSurface7* pkSurface, IDirectDraw7* pkDirectDraw)
{
    if (!pkSurface)
        return nullptr;
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    if (FAILED(pkSurface->GetSurfaceDesc(&kDesc)))
        return nullptr;
    auto* pkImage = new NiDDBufferImage;
    pkSurface->AddRef();
    DeviceSurface kRecord;
    kRecord.m_pkSurface = pkSurface;
    kRecord.m_uiFormatNumber = NiPixelLayout::GetFormatId(NiDDPixelFormat::ToLayout(kDesc.ddpfPixelFormat));
    kRecord.m_pkDirectDraw = pkDirectDraw;
    pkImage->m_kSurfaces.push_back(kRecord);
    pkImage->m_bHasBuffer = true;
    pkImage->m_uiWidth = kDesc.dwWidth;
    pkImage->m_uiHeight = kDesc.dwHeight;
    pkImage->m_uiMipLevels = 1;
    pkImage->m_uiFlags |= DEVICE_COPIES;
    return pkImage;
}

bool NiDDBufferImage::GetSurface(IDirectDrawSurface7*& pkSurface) const
{
    pkSurface = m_bHasBuffer ? m_kSurfaces.front().m_pkSurface : nullptr;
    return m_bHasBuffer;
}

bool NiDDBufferImage::ReleaseDeviceSurfaces(IDirectDraw7* pkDirectDraw)
{
    // The buffer record is the first; it goes with its own DirectDraw object only.
    if (m_bHasBuffer && m_kSurfaces.front().m_pkDirectDraw == pkDirectDraw)
        m_bHasBuffer = false;
    return NiDDImage::ReleaseDeviceSurfaces(pkDirectDraw);
}

bool NiDDBufferImage::CopyToRawImage(NiRawImageData& kRaw)
{
    IDirectDrawSurface7* pkSurface = nullptr;
    if (!GetSurface(pkSurface))
        return false;
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    HRESULT hr;
    do
        hr = pkSurface->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    while (hr == DDERR_SURFACEBUSY);
    if (FAILED(hr))
        return false;
    const NiPixelLayout kLayout = NiDDPixelFormat::ToLayout(kDesc.ddpfPixelFormat);
    const bool bCopied = kRaw.ConvertFrom(kLayout, kDesc.lPitch, kDesc.dwWidth, kDesc.dwHeight,
                                          static_cast<const uint8_t*>(kDesc.lpSurface));
    pkSurface->Unlock(nullptr);
    return bCopied;
}
