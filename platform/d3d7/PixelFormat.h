#pragma once

#include "platform/d3d7/DDrawTypes.h"

#include <cstdint>

namespace d3d7
{
// Reads and writes single pixels of a DirectDraw pixel format as A8R8G8B8 words, which is
// how surfaces of different formats are copied, cleared, read back and uploaded.
class PixelFormat
{
public:
    // Bytes per pixel of an RGB, palettized or z format; 0 for formats the layer cannot hold.
    static uint32_t BytesPerPixel(const DDPIXELFORMAT& kFormat);
    static bool IsPalettized(const DDPIXELFORMAT& kFormat)
    {
        return (kFormat.dwFlags & DDPF_PALETTEINDEXED8) != 0;
    }
    static bool HasAlpha(const DDPIXELFORMAT& kFormat);
    // The display format of a bit depth: X8R8G8B8, R5G6B5 or R8G8B8 (24); no alpha.
    static DDPIXELFORMAT DisplayFormat(DWORD dwBPP);

    // A8R8G8B8 of the pixel at pucPixel; formats without alpha read alpha 0xFF. Palettized
    // pixels are looked up in pkPalette (black when there is none).
    static uint32_t Read(const DDPIXELFORMAT& kFormat, const uint8_t* pucPixel,
                         const PALETTEENTRY* pkPalette);
    static void Write(const DDPIXELFORMAT& kFormat, uint8_t* pucPixel, uint32_t uiARGB);
    // The format's raw value for an A8R8G8B8 colour (what Write stores).
    static uint32_t Pack(const DDPIXELFORMAT& kFormat, uint32_t uiARGB);
    static uint32_t LoadRaw(const uint8_t* pucPixel, uint32_t uiBytes);
};
} // namespace d3d7
