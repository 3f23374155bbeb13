#pragma once

#include <cstdint>

// A foreign pixel format (a surface, a texture format or a file's pixel order) that raw images
// convert to and from. A pixel of a 16- or 32-bit layout is a little-endian word; a channel value
// c (a byte) packs as ((c >> loss) << shift) & mask. The record owns nothing.
class NiPixelLayout
{
public:
    // Channel order of the four arrays.
    enum Channel : uint32_t
    {
        RED = 0,
        GREEN = 1,
        BLUE = 2,
        ALPHA = 3
    };

    uint8_t m_bPalettized = 0;
    uint8_t m_ucBitsPerPixel = 0;
    uint32_t m_auiMask[4] = {};
    uint8_t m_aucBits[4] = {};
    uint8_t m_aucLoss[4] = {};
    uint8_t m_aucShift[4] = {};
    // The texture format index that the renderer's format query records; 0 in the standard layouts.
    uint32_t m_uiFormatIndex = 0;

    // One layout per raw image format.
    static const NiPixelLayout PALETTIZED8;
    static const NiPixelLayout RGB24;
    static const NiPixelLayout RGBA32;
};
