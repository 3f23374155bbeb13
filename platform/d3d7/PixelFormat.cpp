#include "platform/d3d7/PixelFormat.h"

#include "platform/d3d7/World.h"

#include <bit>
#include <cstring>

namespace d3d7
{
namespace
{
// The 8-bit value of the channel under uiMask (0 where the mask is empty).
uint32_t Extract(uint32_t uiRaw, uint32_t uiMask, uint32_t uiEmpty)
{
    if (uiMask == 0)
        return uiEmpty;
    const uint32_t uiShift = static_cast<uint32_t>(std::countr_zero(uiMask));
    const uint32_t uiBits = static_cast<uint32_t>(std::popcount(uiMask));
    const uint32_t uiValue = (uiRaw & uiMask) >> uiShift;
    if (uiBits >= 8)
        return uiValue >> (uiBits - 8);
    // Replicate the high bits so that full scale stays full scale (0x1f -> 0xff).
    uint32_t uiResult = 0;
    for (int32_t iShift = 8 - static_cast<int32_t>(uiBits); iShift > -static_cast<int32_t>(uiBits);
         iShift -= static_cast<int32_t>(uiBits))
        uiResult |= iShift >= 0 ? uiValue << iShift : uiValue >> -iShift;
    return uiResult & 0xff;
}

uint32_t Insert(uint32_t uiChannel, uint32_t uiMask)
{
    if (uiMask == 0)
        return 0;
    const uint32_t uiShift = static_cast<uint32_t>(std::countr_zero(uiMask));
    const uint32_t uiBits = static_cast<uint32_t>(std::popcount(uiMask));
    const uint32_t uiValue = uiBits >= 8 ? uiChannel << (uiBits - 8) : uiChannel >> (8 - uiBits);
    return (uiValue << uiShift) & uiMask;
}
} // namespace

uint32_t PixelFormat::BytesPerPixel(const DDPIXELFORMAT& kFormat)
{
    if ((kFormat.dwFlags & DDPF_PALETTEINDEXED8) != 0)
        return 1;
    const DWORD dwBits = kFormat.dwRGBBitCount; // also the z depth
    if (dwBits == 8 || dwBits == 16 || dwBits == 24 || dwBits == 32)
        return dwBits / 8;
    return 0;
}

bool PixelFormat::HasAlpha(const DDPIXELFORMAT& kFormat)
{
    return (kFormat.dwFlags & DDPF_ALPHAPIXELS) != 0 && kFormat.dwRGBAlphaBitMask != 0;
}

DDPIXELFORMAT PixelFormat::DisplayFormat(DWORD dwBPP)
{
    if (dwBPP == 16)
        return RgbFormat(16, 0xf800, 0x07e0, 0x001f);
    return RgbFormat(dwBPP == 24 ? 24 : 32, 0xff0000, 0x00ff00, 0x0000ff);
}

uint32_t PixelFormat::LoadRaw(const uint8_t* pucPixel, uint32_t uiBytes)
{
    uint32_t uiRaw = 0;
    for (uint32_t i = 0; i < uiBytes; ++i)
        uiRaw |= static_cast<uint32_t>(pucPixel[i]) << (8 * i);
    return uiRaw;
}

uint32_t PixelFormat::Read(const DDPIXELFORMAT& kFormat, const uint8_t* pucPixel,
                           const PALETTEENTRY* pkPalette)
{
    if (IsPalettized(kFormat))
    {
        if (pkPalette == nullptr)
            return 0xff000000u;
        const PALETTEENTRY& kEntry = pkPalette[*pucPixel];
        return 0xff000000u | (uint32_t{kEntry.peRed} << 16) | (uint32_t{kEntry.peGreen} << 8) | kEntry.peBlue;
    }
    const uint32_t uiRaw = LoadRaw(pucPixel, BytesPerPixel(kFormat));
    const uint32_t uiA = HasAlpha(kFormat) ? Extract(uiRaw, kFormat.dwRGBAlphaBitMask, 0xff) : 0xff;
    return (uiA << 24) | (Extract(uiRaw, kFormat.dwRBitMask, 0) << 16) |
           (Extract(uiRaw, kFormat.dwGBitMask, 0) << 8) | Extract(uiRaw, kFormat.dwBBitMask, 0);
}

uint32_t PixelFormat::Pack(const DDPIXELFORMAT& kFormat, uint32_t uiARGB)
{
    return Insert((uiARGB >> 24) & 0xff, HasAlpha(kFormat) ? kFormat.dwRGBAlphaBitMask : 0) |
           Insert((uiARGB >> 16) & 0xff, kFormat.dwRBitMask) |
           Insert((uiARGB >> 8) & 0xff, kFormat.dwGBitMask) | Insert(uiARGB & 0xff, kFormat.dwBBitMask);
}

void PixelFormat::Write(const DDPIXELFORMAT& kFormat, uint8_t* pucPixel, uint32_t uiARGB)
{
    // Palettized surfaces are written by index only; a colour has no index to go to.
    if (IsPalettized(kFormat))
        return;
    const uint32_t uiRaw = Pack(kFormat, uiARGB);
    const uint32_t uiBytes = BytesPerPixel(kFormat);
    for (uint32_t i = 0; i < uiBytes; ++i)
        pucPixel[i] = static_cast<uint8_t>(uiRaw >> (8 * i));
}
} // namespace d3d7
