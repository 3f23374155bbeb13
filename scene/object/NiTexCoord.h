#pragma once

#include <string>

class NiStream;

// The two-float texture coordinate of geometry data, screen polygons and pick results.
class NiTexCoord
{
public:
    float x;
    float y;

    // Leaves the components unset, as coordinate arrays are filled right after allocation.
    NiTexCoord() = default;
    constexpr NiTexCoord(float fX, float fY) : x(fX), y(fY) {}

    NiTexCoord operator*(float fScale) const { return NiTexCoord(fScale * x, fScale * y); }
    bool operator==(const NiTexCoord& kOther) const { return x == kOther.x && y == kOther.y; }
    bool operator!=(const NiTexCoord& kOther) const { return !(*this == kOther); }

    // The stream form inside a .nif record: x, y, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (x,y)" for viewers.
    std::string GetFieldString(const char* pcName) const;

    static const NiTexCoord ZERO;
    static const NiTexCoord UNIT_X;
    static const NiTexCoord UNIT_Y;
};

static_assert(sizeof(NiTexCoord) == 8, "NiTexCoord must stay two packed floats");
