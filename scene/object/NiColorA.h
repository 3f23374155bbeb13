#pragma once

#include <string>

class NiStream;

// The four-float colour (red, green, blue, alpha) of vertex colours, particles and the model
// properties.
class NiColorA
{
public:
    float r;
    float g;
    float b;
    float a;

    constexpr NiColorA() : r(0.0f), g(0.0f), b(0.0f), a(0.0f) {}
    constexpr NiColorA(float fR, float fG, float fB, float fA) : r(fR), g(fG), b(fB), a(fA) {}

    // Scales alpha too.
    NiColorA operator*(float fScale) const
    {
        return NiColorA(fScale * r, fScale * g, fScale * b, fScale * a);
    }
    bool operator==(const NiColorA& kOther) const
    {
        return r == kOther.r && g == kOther.g && b == kOther.b && a == kOther.a;
    }
    bool operator!=(const NiColorA& kOther) const { return !(*this == kOther); }

    // Components above 1 (alpha included) become 1; nothing below 0 is touched.
    void Clamp();
    // Scales red, green and blue so that the largest is at most 1 (alpha takes no part in
    // the maximum), then clamps alpha to at most 1.
    void Scale();

    // The stream form inside a .nif record: r, g, b, a, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (r,g,b,a)" with three decimals, for viewers.
    std::string GetFieldString(const char* pcName) const;

    // Both opaque.
    static const NiColorA BLACK;
    static const NiColorA WHITE;
};

static_assert(sizeof(NiColorA) == 16, "NiColorA must stay four packed floats");
