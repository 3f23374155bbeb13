#include "scene/render/NiDDPixelFormat.h"

#include <bit>

namespace
{
void SetChannel(NiPixelLayout& kLayout, uint32_t uiChannel, uint32_t uiMask)
{
    const uint32_t uiBits = NiDDPixelFormat::ChannelBits(uiMask);
    kLayout.m_auiMask[uiChannel] = uiMask;
    kLayout.m_aucBits[uiChannel] = static_cast<uint8_t>(uiBits);
    kLayout.m_aucLoss[uiChannel] = static_cast<uint8_t>(uiBits >= 8 ? 0 : 8 - uiBits);
    kLayout.m_aucShift[uiChannel] = static_cast<uint8_t>(uiMask ? std::countr_zero(uiMask) : 0);
}
} // namespace

uint32_t NiDDPixelFormat::ChannelBits(uint32_t uiMask)
{
    if (!uiMask)
        return 0;
    return static_cast<uint32_t>(std::countr_one(uiMask >> std::countr_zero(uiMask)));
}

NiPixelLayout NiDDPixelFormat::ToLayout(const DDPIXELFORMAT& kFormat)
{
    NiPixelLayout kLayout;
    kLayout.m_ucBitsPerPixel = static_cast<uint8_t>(kFormat.dwRGBBitCount & 0xFF);
    if (kFormat.dwFlags & DDPF_PALETTEINDEXED8)
    {
        kLayout.m_bPalettized = 1;
        for (uint32_t i = 0; i < 4; ++i)
            SetChannel(kLayout, i, 0);
        return kLayout;
    }
    SetChannel(kLayout, NiPixelLayout::RED, kFormat.dwRBitMask);
    SetChannel(kLayout, NiPixelLayout::GREEN, kFormat.dwGBitMask);
    SetChannel(kLayout, NiPixelLayout::BLUE, kFormat.dwBBitMask);
    SetChannel(kLayout, NiPixelLayout::ALPHA,
               (kFormat.dwFlags & DDPF_ALPHAPIXELS) ? kFormat.dwRGBAlphaBitMask : 0);
    return kLayout;
}

DDPIXELFORMAT NiDDPixelFormat::FromLayout(const NiPixelLayout& kLayout)
{
    DDPIXELFORMAT kFormat;
    kFormat.dwSize = sizeof(DDPIXELFORMAT);
    kFormat.dwFlags = DDPF_RGB;
    if (kLayout.m_bPalettized)
        kFormat.dwFlags |= DDPF_PALETTEINDEXED8;
    if (kLayout.m_auiMask[NiPixelLayout::ALPHA])
        kFormat.dwFlags |= DDPF_ALPHAPIXELS;
    kFormat.dwRGBBitCount = kLayout.m_ucBitsPerPixel;
    kFormat.dwRBitMask = kLayout.m_auiMask[NiPixelLayout::RED];
    kFormat.dwGBitMask = kLayout.m_auiMask[NiPixelLayout::GREEN];
    kFormat.dwBBitMask = kLayout.m_auiMask[NiPixelLayout::BLUE];
    kFormat.dwRGBAlphaBitMask = kLayout.m_auiMask[NiPixelLayout::ALPHA];
    return kFormat;
}
