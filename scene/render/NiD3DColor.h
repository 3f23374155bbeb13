#pragma once

#include <cmath>
#include <cstdint>

// Packing float colours into the device's 32-bit A8R8G8B8 words. Every channel clamps to
// 0..255 before it is packed: an overbright sum (two lights, a fog colour above 1) stays white
// instead of wrapping into a dark value or spilling into the neighbouring channel, and a
// negative or NaN value becomes 0.
class NiD3DColor
{
public:
    // The channel byte of a float: the float times 255, its integer part, clamped.
    static uint32_t Channel(float fValue)
    {
        const float fScaled = fValue * 255.0f;
        if (!(fScaled > 0.0f))
            return 0;
        if (fScaled >= 255.0f)
            return 255;
        return static_cast<uint32_t>(fScaled);
    }

    static uint32_t Pack(float fRed, float fGreen, float fBlue, uint32_t uiAlpha)
    {
        return (uiAlpha << 24) | (Channel(fRed) << 16) | (Channel(fGreen) << 8) | Channel(fBlue);
    }
};
