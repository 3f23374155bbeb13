#include "scene/object/NiPoint3.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace
{
uint32_t MantissaOf(float fValue)
{
    return std::bit_cast<uint32_t>(fValue) & 0x7FFFFF;
}

void ExpectPoint(const NiPoint3& kActual, float fX, float fY, float fZ)
{
    EXPECT_FLOAT_EQ(kActual.x, fX);
    EXPECT_FLOAT_EQ(kActual.y, fY);
    EXPECT_FLOAT_EQ(kActual.z, fZ);
}

TEST(NiPoint3Test, SqrtMantissaTableHoldsTheRootsOfOneToFour)
{
    // Known entries: sqrt(1), sqrt(2), sqrt(3), sqrt(1.5), sqrt(2.25) = 1.5.
    EXPECT_EQ(NiPoint3::SqrtMantissaTable[0], 0u);
    EXPECT_EQ(NiPoint3::SqrtMantissaTable[128], 0x3504F3u);
    EXPECT_EQ(NiPoint3::SqrtMantissaTable[192], 0x5DB3D7u);
    EXPECT_EQ(NiPoint3::SqrtMantissaTable[64], MantissaOf(std::sqrt(1.5f)));
    EXPECT_EQ(NiPoint3::SqrtMantissaTable[128 + 16], 0x400000u);

    for (uint32_t i = 0; i < 128; ++i)
    {
        SCOPED_TRACE(i);
        const float fEven = std::bit_cast<float>(0x3F800000u | (i << 16));
        const float fOdd = std::bit_cast<float>(0x40000000u | (i << 16));
        EXPECT_EQ(NiPoint3::SqrtMantissaTable[i], MantissaOf(std::sqrt(fEven)));
        EXPECT_EQ(NiPoint3::SqrtMantissaTable[128 + i], MantissaOf(std::sqrt(fOdd)));
    }
}

TEST(NiPoint3Test, FastSqrtIsExactWhereTheLowMantissaBitsAreZero)
{
    struct Case
    {
        float fValue;
        float fRoot;
    };
    const Case akCases[] = {
        {0.0f, 0.0f},
        {1.0f, 1.0f},
        {4.0f, 2.0f},
        {9.0f, 3.0f},
        {25.0f, 5.0f},
        {0.25f, 0.5f}, // odd and even, positive and negative exponents
        {2.0f, std::sqrt(2.0f)},
        {0.5f, std::sqrt(0.5f)},
        {3.0f, std::sqrt(3.0f)},
        {1.0f / 64.0f, 0.125f},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.fValue);
        EXPECT_EQ(NiFastSqrt(kCase.fValue), kCase.fRoot);
    }
}

TEST(NiPoint3Test, VectorLengthDropsTheLowMantissaBitsOfTheSquaredLength)
{
    EXPECT_EQ(NiPoint3(3.0f, 4.0f, 0.0f).VectorLength(), 5.0f);
    EXPECT_EQ(NiPoint3(1.0f, 1.0f, 1.0f).VectorLength(), std::sqrt(3.0f));
    EXPECT_EQ(NiPoint3(1.0f, 1.0f, 0.1f).VectorLength(), 1.4142135f);
    EXPECT_EQ(NiPoint3(0.0f, 0.0f, 0.0f).VectorLength(), 0.0f);

    // Never longer than the true length, and short by less than 2^-8 of it, over many
    // magnitudes.
    for (float fScale = 1e-15f; fScale < 1e15f; fScale *= 7.3f)
    {
        const NiPoint3 kVector(0.37f * fScale, -0.91f * fScale, 0.53f * fScale);
        const float fTrue = kVector.Length();
        const float fApprox = kVector.VectorLength();
        SCOPED_TRACE(fScale);
        EXPECT_LE(fApprox, fTrue);
        EXPECT_GT(fApprox, fTrue * (1.0f - 1.0f / 256.0f));
    }
}

TEST(NiPoint3Test, UnitizeNormalisesAndAnswersTheOldLength)
{
    NiPoint3 kVector(0.0f, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(kVector.Unitize(), 5.0f);
    ExpectPoint(kVector, 0.0f, 0.6f, 0.8f);

    NiPoint3 kJustAbove(2e-6f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(kJustAbove.Unitize(), 2e-6f);
    ExpectPoint(kJustAbove, 1.0f, 0.0f, 0.0f);
}

TEST(NiPoint3Test, UnitizeOfAVanishingVectorGivesZeroWithoutNaN)
{
    const NiPoint3 akVanishing[] = {NiPoint3(0.0f, 0.0f, 0.0f), NiPoint3(5e-7f, 5e-7f, 0.0f),
                                    NiPoint3(0.0f, -1e-7f, 1e-30f)};
    for (NiPoint3 kVector : akVanishing)
    {
        EXPECT_EQ(kVector.Unitize(), 0.0f);
        EXPECT_EQ(kVector, NiPoint3::ZERO);
    }
}

TEST(NiPoint3Test, UnitizeVectorsScalesEachByTheTableLengthAndKeepsZeros)
{
    NiPoint3 akVectors[] = {NiPoint3(3.0f, 4.0f, 0.0f), NiPoint3(0.0f, 0.0f, 0.0f),
                            NiPoint3(1.0f, 1.0f, 1.0f), NiPoint3(7.0f, 8.0f, 9.0f)};
    NiPoint3::UnitizeVectors(akVectors, 0);
    ExpectPoint(akVectors[0], 3.0f, 4.0f, 0.0f);

    NiPoint3::UnitizeVectors(akVectors, 3);
    ExpectPoint(akVectors[0], 0.6f, 0.8f, 0.0f);
    EXPECT_EQ(akVectors[1], NiPoint3::ZERO);
    const float fThird = 1.0f / std::sqrt(3.0f);
    ExpectPoint(akVectors[2], fThird, fThird, fThird);
    ExpectPoint(akVectors[3], 7.0f, 8.0f, 9.0f); // beyond the count

    NiPoint3 kSingle(0.0f, 0.0f, 0.0f);
    kSingle.UnitizeVector();
    EXPECT_EQ(kSingle, NiPoint3::ZERO);
}

TEST(NiPoint3Test, CrossIsRightHandedAndUnitCrossVanishesForParallelVectors)
{
    EXPECT_EQ(NiPoint3::UNIT_X.Cross(NiPoint3::UNIT_Y), NiPoint3::UNIT_Z);
    EXPECT_EQ(NiPoint3::UNIT_Y.Cross(NiPoint3::UNIT_Z), NiPoint3::UNIT_X);
    EXPECT_EQ(NiPoint3::UNIT_Z.Cross(NiPoint3::UNIT_X), NiPoint3::UNIT_Y);

    NiPoint3 kOut(9.0f, 9.0f, 9.0f);
    NiPoint3(1.0f, 0.0f, 0.0f).UnitCross(kOut, NiPoint3(0.0f, 2.0f, 0.0f));
    EXPECT_EQ(kOut, NiPoint3::UNIT_Z);
    NiPoint3(1.0f, 2.0f, 3.0f).UnitCross(kOut, NiPoint3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(kOut, NiPoint3::ZERO);
}

TEST(NiPoint3Test, ArithmeticWorksComponentWise)
{
    const NiPoint3 kA(1.0f, 2.0f, 3.0f);
    const NiPoint3 kB(4.0f, -5.0f, 6.0f);
    EXPECT_EQ(kA + kB, NiPoint3(5.0f, -3.0f, 9.0f));
    EXPECT_EQ(kA - kB, NiPoint3(-3.0f, 7.0f, -3.0f));
    EXPECT_EQ(-kA, NiPoint3(-1.0f, -2.0f, -3.0f));
    EXPECT_EQ(2.0f * kA, kA * 2.0f);
    EXPECT_EQ(kA * 2.0f, NiPoint3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(kB / 2.0f, NiPoint3(2.0f, -2.5f, 3.0f));
    EXPECT_FLOAT_EQ(kA.DotProduct(kB), 12.0f);
    EXPECT_FLOAT_EQ(kB.SqrLength(), 77.0f);
    NiPoint3 kC = kA;
    EXPECT_EQ(&(kC += kB), &kC);
    EXPECT_EQ(kC, kA + kB);
    kC -= kB;
    EXPECT_EQ(kC, kA);
}

TEST(NiPoint3Test, FieldStringPrintsSixDecimals)
{
    EXPECT_EQ(NiPoint3(1.0f, 2.0f, 3.0f).GetFieldString("m_localTranslate"),
              "m_localTranslate = (1.000000,2.000000,3.000000)");
    EXPECT_EQ(NiPoint3(-0.5f, 1e6f, 0.25f).GetFieldString("v"), "v = (-0.500000,1000000.000000,0.250000)");
}
} // namespace
