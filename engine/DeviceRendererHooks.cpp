#include "engine/EngineStartup.h"

#include "scene/graph/NiPixelLayout.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/render/NiD3DRender.h"
#include "scene/render/NiDDImage.h"
#include "scene/render/NiDDPixelFormat.h"

#include <memory>

namespace
{
// The frame a renderer last drew, as the system services' screenshot writers read it.
class FrontBufferImage : public SKScreenshotImage
{
public:
    explicit FrontBufferImage(NiRawImageData* pkRaw) : m_spRaw(pkRaw) {}

    Format GetFormat() const override { return static_cast<Format>(m_spRaw->GetFormat()); }
    uint32_t GetWidth() const override { return m_spRaw->GetWidth(); }
    uint32_t GetHeight() const override { return m_spRaw->GetHeight(); }
    uint32_t GetRowBytes() const override { return m_spRaw->GetRowStride(); }
    const uint8_t* GetPixels() const override { return m_spRaw->GetPixels(); }
    bool ConvertTo(const Layout& kLayout, uint32_t uiRowBytes, uint8_t* pBuffer) const override
    {
        DDPIXELFORMAT kFormat;
        kFormat.dwSize = sizeof(kFormat);
        kFormat.dwFlags = DDPF_RGB | (kLayout.m_uiAlphaMask ? DDPF_ALPHAPIXELS : 0);
        kFormat.dwRGBBitCount = kLayout.m_uiBitsPerPixel;
        kFormat.dwRBitMask = kLayout.m_uiRedMask;
        kFormat.dwGBitMask = kLayout.m_uiGreenMask;
        kFormat.dwBBitMask = kLayout.m_uiBlueMask;
        kFormat.dwRGBAlphaBitMask = kLayout.m_uiAlphaMask;
        const NiPixelLayout kTarget = NiDDPixelFormat::ToLayout(kFormat);
        return m_spRaw->ConvertTo(kTarget, static_cast<int32_t>(uiRowBytes), pBuffer);
    }

private:
    NiRefPtr<NiRawImageData> m_spRaw;
};

std::unique_ptr<SKScreenshotImage> CaptureFrontBuffer(NiRender* pkRenderer)
{
    auto* pkDeviceRenderer = NiDynamicCast<NiD3DRender>(pkRenderer);
    NiRawImageData* pkRaw = pkDeviceRenderer ? pkDeviceRenderer->GetFrontBufferImage() : nullptr;
    if (!pkRaw)
        return nullptr;
    return std::make_unique<FrontBufferImage>(pkRaw);
}

void DeviceImageServices(bool bInstall)
{
    if (bInstall)
        NiD3DRender::InstallImageFactory();
    else
        NiD3DRender::RemoveImageFactory();
}
} // namespace

EngineStartup::RendererHooks EngineStartup::DeviceRendererHooks()
{
    RendererHooks kHooks;
    kHooks.pfnImageFactory = &NiDDImage::Create;
    kHooks.pfnScreenshotCapture = &CaptureFrontBuffer;
    kHooks.pfnImageServices = &DeviceImageServices;
    return kHooks;
}
