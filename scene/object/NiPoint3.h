#pragma once

#include <array>
#include <cstdint>
#include <string>

class NiStream;

// The scene graph's three-float vector: positions, directions and normals. A plain value with
// no virtual table and no padding, so arrays of it are flat float arrays for the renderer.
class NiPoint3
{
public:
    float x;
    float y;
    float z;

    // Leaves the components unset, as arrays of vertices are filled right after allocation.
    NiPoint3() = default;
    constexpr NiPoint3(float fX, float fY, float fZ) : x(fX), y(fY), z(fZ) {}

    // Arithmetic, all in single precision; results are new values.
    NiPoint3 operator+(const NiPoint3& kOther) const
    {
        return NiPoint3(x + kOther.x, y + kOther.y, z + kOther.z);
    }
    NiPoint3 operator-(const NiPoint3& kOther) const
    {
        return NiPoint3(x - kOther.x, y - kOther.y, z - kOther.z);
    }
    NiPoint3 operator-() const { return NiPoint3(-x, -y, -z); }
    NiPoint3 operator*(float fScale) const { return NiPoint3(fScale * x, fScale * y, fScale * z); }
    NiPoint3 operator/(float fDivisor) const
    {
        const float fInverse = 1.0f / fDivisor;
        return NiPoint3(fInverse * x, fInverse * y, fInverse * z);
    }
    NiPoint3& operator+=(const NiPoint3& kOther)
    {
        x += kOther.x;
        y += kOther.y;
        z += kOther.z;
        return *this;
    }
    NiPoint3& operator-=(const NiPoint3& kOther)
    {
        x -= kOther.x;
        y -= kOther.y;
        z -= kOther.z;
        return *this;
    }
    bool operator==(const NiPoint3& kOther) const { return x == kOther.x && y == kOther.y && z == kOther.z; }
    bool operator!=(const NiPoint3& kOther) const { return !(*this == kOther); }

    float DotProduct(const NiPoint3& kOther) const { return x * kOther.x + y * kOther.y + z * kOther.z; }
    NiPoint3 Cross(const NiPoint3& kOther) const
    {
        return NiPoint3(y * kOther.z - z * kOther.y, z * kOther.x - x * kOther.z,
                        x * kOther.y - y * kOther.x);
    }
    float SqrLength() const { return x * x + y * y + z * z; }
    float Length() const;

    // Normalises in place and returns the length it had; a length at or below 1e-6 gives the
    // zero vector and 0.
    float Unitize();
    // kOut = the unit vector of this x kOther, or the zero vector when that cross product's
    // length is at or below 1e-6.
    void UnitCross(NiPoint3& kOut, const NiPoint3& kOther) const;

    // Table square root: unitize or measure without a square root per vector. The length is
    // that of the squared length with its 16 low mantissa bits cleared, so slightly short.
    static void UnitizeVectors(NiPoint3* pkVectors, uint32_t uiCount);
    void UnitizeVector();
    float VectorLength() const;

    // The stream form inside a .nif record: x, y, z, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = (x,y,z)" for viewers.
    std::string GetFieldString(const char* pcName) const;

    static const NiPoint3 ZERO;
    static const NiPoint3 UNIT_X;
    static const NiPoint3 UNIT_Y;
    static const NiPoint3 UNIT_Z;

    // Entry i < 128: the 23-bit mantissa of sqrt(1 + i/128); entry 128 + i: that of
    // sqrt(2 (1 + i/128)).
    static const std::array<uint32_t, 256> SqrtMantissaTable;
};

inline NiPoint3 operator*(float fScale, const NiPoint3& kPoint)
{
    return kPoint * fScale;
}

// The table square root of a non-negative single (0 for the bit pattern 0).
float NiFastSqrt(float fValue);

static_assert(sizeof(NiPoint3) == 12, "NiPoint3 must stay three packed floats");
