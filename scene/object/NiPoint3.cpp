#include "scene/object/NiPoint3.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

#include <bit>
#include <cmath>

namespace
{
constexpr uint64_t IntegerSqrt(uint64_t ulValue)
{
    uint64_t ulRoot = 0;
    uint64_t ulBit = uint64_t(1) << 62;
    while (ulBit > ulValue)
        ulBit >>= 2;
    while (ulBit != 0)
    {
        if (ulValue >= ulRoot + ulBit)
        {
            ulValue -= ulRoot + ulBit;
            ulRoot = (ulRoot >> 1) + ulBit;
        }
        else
        {
            ulRoot >>= 1;
        }
        ulBit >>= 2;
    }
    return ulRoot;
}

// The mantissa field of the correctly rounded single square root of significand / 2^23,
// times 2 when bOddExponent: exactly what sqrtf gives, computed at compile time so the table
// is ready before any static initialiser of another file can use it.
constexpr uint32_t RootMantissa(uint64_t ulSignificand, bool bOddExponent)
{
    const uint64_t ulScaled = ulSignificand << (bOddExponent ? 24 : 23);
    uint64_t ulRoot = IntegerSqrt(ulScaled);
    // The root of an integer is never exactly halfway between two integers.
    if (ulScaled - ulRoot * ulRoot > ulRoot)
        ++ulRoot;
    return static_cast<uint32_t>(ulRoot) & 0x7FFFFF;
}

constexpr std::array<uint32_t, 256> BuildSqrtMantissaTable()
{
    std::array<uint32_t, 256> kTable{};
    for (uint32_t i = 0; i < 128; ++i)
    {
        const uint64_t ulSignificand = 0x800000 | (uint64_t(i) << 16);
        kTable[i] = RootMantissa(ulSignificand, false);
        kTable[128 + i] = RootMantissa(ulSignificand, true);
    }
    return kTable;
}
} // namespace

constinit const NiPoint3 NiPoint3::ZERO(0.0f, 0.0f, 0.0f);
constinit const NiPoint3 NiPoint3::UNIT_X(1.0f, 0.0f, 0.0f);
constinit const NiPoint3 NiPoint3::UNIT_Y(0.0f, 1.0f, 0.0f);
constinit const NiPoint3 NiPoint3::UNIT_Z(0.0f, 0.0f, 1.0f);
constinit const std::array<uint32_t, 256> NiPoint3::SqrtMantissaTable = BuildSqrtMantissaTable();

float NiFastSqrt(float fValue)
{
    const uint32_t uiBits = std::bit_cast<uint32_t>(fValue);
    if (uiBits == 0)
        return 0.0f;
    const int32_t iExponent = static_cast<int32_t>((uiBits >> 23) & 0xFF) - 127;
    uint32_t uiIndex = (uiBits >> 16) & 0x7F;
    if (iExponent & 1)
        uiIndex |= 0x80;
    const uint32_t uiRootExponent = static_cast<uint32_t>((iExponent >> 1) + 127);
    return std::bit_cast<float>(NiPoint3::SqrtMantissaTable[uiIndex] | (uiRootExponent << 23));
}

float NiPoint3::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

float NiPoint3::Unitize()
{
    const float fLength = Length();
    if (fLength > 1e-6f)
    {
        const float fInverse = 1.0f / fLength;
        x *= fInverse;
        y *= fInverse;
        z *= fInverse;
        return fLength;
    }
    x = y = z = 0.0f;
    return 0.0f;
}

void NiPoint3::UnitCross(NiPoint3& kOut, const NiPoint3& kOther) const
{
    kOut = Cross(kOther);
    kOut.Unitize();
}

void NiPoint3::UnitizeVectors(NiPoint3* pkVectors, uint32_t uiCount)
{
    for (uint32_t i = 0; i < uiCount; ++i)
        pkVectors[i].UnitizeVector();
}

void NiPoint3::UnitizeVector()
{
    const float fLength = VectorLength();
    const float fInverse = fLength == 0.0f ? 0.0f : 1.0f / fLength;
    x *= fInverse;
    y *= fInverse;
    z *= fInverse;
}

float NiPoint3::VectorLength() const
{
    return NiFastSqrt(x * x + y * y + z * z);
}

std::string NiPoint3::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%f,%f,%f)", pcName, double(x), double(y), double(z));
}

void NiPoint3::LoadBinary(NiStream& kStream)
{
    kStream.Load(x);
    kStream.Load(y);
    kStream.Load(z);
}

void NiPoint3::SaveBinary(NiStream& kStream) const
{
    kStream.Save(x);
    kStream.Save(y);
    kStream.Save(z);
}
