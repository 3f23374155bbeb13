#pragma once

#include <string>

class NiStream;

// The three-float colour (red, green, blue) of lights, materials and fog.
class NiColor
{
public:
    float r;
    float g;
    float b;

    constexpr NiColor() : r(0.0f), g(0.0f), b(0.0f) {}
    constexpr NiColor(float fR, float fG, float fB) : r(fR), g(fG), b(fB) {}

    bool operator==(const NiColor& kOther) const { return r == kOther.r && g == kOther.g && b == kOther.b; }
    bool operator!=(const NiColor& kOther) const { return !(*this == kOther); }

    // Components above 1 become 1; nothing below 0 is touched.
    void Clamp();
    // When the largest component exceeds 1, scales all three so that it becomes 1 (the
    // ratios stay); otherwise leaves the colour as it is.
    void Scale();

    // The stream form inside a .nif record: r, g, b, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (r,g,b)" with three decimals, for viewers.
    std::string GetFieldString(const char* pcName) const;

    static const NiColor BLACK;
    static const NiColor WHITE;
};

static_assert(sizeof(NiColor) == 12, "NiColor must stay three packed floats");
