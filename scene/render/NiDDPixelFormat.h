#pragma once

#include "platform/d3d7/DDrawTypes.h"
#include "scene/graph/NiPixelLayout.h"

// Conversions between DirectDraw pixel-format records and the layouts raw images convert to.
class NiDDPixelFormat
{
public:
    // Bits per pixel from the record's bit count; per channel the mask, the index of its lowest
    // set bit (shift), the run of set bits from there (bits) and 8 - bits (loss). A palettized
    // record has no channels; alpha counts only with the alpha-pixels flag.
    static NiPixelLayout ToLayout(const DDPIXELFORMAT& kFormat);
    // The record of a layout: RGB, palette-indexed 8 when palettized, alpha pixels when the
    // layout has an alpha mask.
    static DDPIXELFORMAT FromLayout(const NiPixelLayout& kLayout);
    // The number of set bits in a run starting at the mask's lowest set bit.
    static uint32_t ChannelBits(uint32_t uiMask);
};
