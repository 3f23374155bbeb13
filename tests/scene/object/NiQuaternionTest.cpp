#include "scene/object/NiQuaternion.h"
#include "scene/object/NiRotationMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
void ExpectQuatNear(const NiQuaternion& kActual, const NiQuaternion& kExpected, float fTolerance)
{
    EXPECT_NEAR(kActual.w, kExpected.w, fTolerance);
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

void ExpectMatrixNear(const NiRotationMatrix& kActual, const NiRotationMatrix& kExpected, float fTolerance)
{
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            EXPECT_NEAR(kActual.m_aafEntry[iRow][iCol], kExpected.m_aafEntry[iRow][iCol], fTolerance);
    }
}

NiQuaternion AboutZ(float fAngle)
{
    return NiQuaternion(fAngle, NiPoint3::UNIT_Z);
}

NiQuaternion RandomUnit(std::mt19937& kRandom)
{
    std::uniform_real_distribution<float> kComponent(-1.0f, 1.0f);
    NiQuaternion kQ(kComponent(kRandom), kComponent(kRandom), kComponent(kRandom), kComponent(kRandom));
    const float fLength = std::sqrt(NiQuaternion::Dot(kQ, kQ));
    return kQ * (1.0f / fLength);
}

// ---- Slerp and squad --------------------------------------------------------------------------

TEST(NiQuaternionTest, SlerpBetweenEqualKeysIsTheKey)
{
    const NiQuaternion kP = AboutZ(0.8f);
    for (const float fT : {0.0f, 0.3f, 1.0f, 1.7f})
        EXPECT_EQ(NiQuaternion::Slerp(fT, kP, kP), kP);
}

TEST(NiQuaternionTest, SlerpEndpointsAndMidpoints)
{
    const NiQuaternion kX(0.0f, 1.0f, 0.0f, 0.0f);
    ExpectQuatNear(NiQuaternion::Slerp(0.5f, NiQuaternion::IDENTITY, kX),
                   NiQuaternion(0.7071068f, 0.7071068f, 0.0f, 0.0f), 1e-7f);

    const NiQuaternion kP = AboutZ(0.2f);
    const NiQuaternion kQ = AboutZ(1.0f);
    ExpectQuatNear(NiQuaternion::Slerp(0.0f, kP, kQ), kP, 1e-6f);
    ExpectQuatNear(NiQuaternion::Slerp(1.0f, kP, kQ), kQ, 1e-6f);
    ExpectQuatNear(NiQuaternion::Slerp(0.5f, kP, kQ), AboutZ(0.6f), 1e-6f);
    ExpectQuatNear(NiQuaternion::Slerp(0.25f, kP, kQ), AboutZ(0.4f), 1e-6f);
}

TEST(NiQuaternionTest, SlerpOfOppositeKeysGivesTheFirst)
{
    const NiQuaternion kMinusIdentity(-1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(NiQuaternion::Slerp(0.5f, NiQuaternion::IDENTITY, kMinusIdentity), NiQuaternion::IDENTITY);
}

TEST(NiQuaternionTest, SlerpTakesTheLongArcWhenTheDotProductIsNegative)
{
    const NiQuaternion kP = NiQuaternion::IDENTITY;
    const NiQuaternion kQ = -AboutZ(0.4f);
    ASSERT_LT(NiQuaternion::Dot(kP, kQ), 0.0f);
    // Half way along the arc from p to q (not to -q) is the normalised p + q.
    NiQuaternion kHalfWay = kP + kQ;
    kHalfWay = kHalfWay * (1.0f / std::sqrt(NiQuaternion::Dot(kHalfWay, kHalfWay)));
    ExpectQuatNear(NiQuaternion::Slerp(0.5f, kP, kQ), kHalfWay, 1e-5f);
}

TEST(NiQuaternionTest, SquadRunsFromPToQ)
{
    const NiQuaternion kP = AboutZ(0.1f);
    const NiQuaternion kA = NiQuaternion(0.4f, NiPoint3::UNIT_X);
    const NiQuaternion kB = NiQuaternion(0.9f, NiPoint3::UNIT_Y);
    const NiQuaternion kQ = AboutZ(1.3f);
    ExpectQuatNear(NiQuaternion::Squad(0.0f, kP, kA, kB, kQ), kP, 1e-6f);
    ExpectQuatNear(NiQuaternion::Squad(1.0f, kP, kA, kB, kQ), kQ, 1e-6f);
    // With the control points at the keys it is the slerp.
    ExpectQuatNear(NiQuaternion::Squad(0.3f, kP, kP, kQ, kQ), NiQuaternion::Slerp(0.3f, kP, kQ), 1e-6f);
}

TEST(NiQuaternionTest, IntermediateOfEvenlySpacedKeysIsTheMiddleKey)
{
    ExpectQuatNear(NiQuaternion::Intermediate(AboutZ(0.2f), AboutZ(0.5f), AboutZ(0.8f)), AboutZ(0.5f), 1e-6f);
    const NiQuaternion kSame = AboutZ(0.7f);
    ExpectQuatNear(NiQuaternion::Intermediate(kSame, kSame, kSame), kSame, 1e-7f);
}

// ---- Exponential and logarithm ---------------------------------------------------------------

TEST(NiQuaternionTest, ExpAndLogAreInversesWithSafeZeroAngles)
{
    EXPECT_EQ(NiQuaternion::Exp(NiQuaternion(5.0f, 0.0f, 0.0f, 0.0f)), NiQuaternion::IDENTITY);
    EXPECT_EQ(NiQuaternion::Log(NiQuaternion::IDENTITY), NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));

    std::mt19937 kRandom(3);
    for (int i = 0; i < 20; ++i)
    {
        NiQuaternion kQ = RandomUnit(kRandom);
        if (kQ.w < 0.0f)
            kQ = -kQ;
        ExpectQuatNear(NiQuaternion::Exp(NiQuaternion::Log(kQ)), kQ, 1e-5f);
    }
    // Log of a unit quaternion is half its angle times its axis.
    const NiQuaternion kLog = NiQuaternion::Log(NiQuaternion(1.2f, NiPoint3::UNIT_Y));
    ExpectQuatNear(kLog, NiQuaternion(0.0f, 0.0f, 0.6f, 0.0f), 1e-6f);
}

// ---- Matrices and angle-axis -----------------------------------------------------------------

TEST(NiQuaternionTest, ToRotationIsTheMatrixTurningTheOtherWay)
{
    NiPoint3 kAxis(2.0f, -1.0f, 0.5f);
    kAxis.Unitize();
    NiRotationMatrix kFromQuat, kMinus;
    NiQuaternion(0.9f, kAxis).ToRotation(kFromQuat);
    kMinus.MakeRotationAboutAxis(-0.9f, kAxis);
    ExpectMatrixNear(kFromQuat, kMinus, 1e-6f);

    // The product of quaternions matches the product of their matrices.
    const NiQuaternion kP = NiQuaternion(0.5f, NiPoint3::UNIT_X);
    const NiQuaternion kQ = NiQuaternion(-1.1f, kAxis);
    NiRotationMatrix kPM, kQM, kPQM;
    kP.ToRotation(kPM);
    kQ.ToRotation(kQM);
    (kP * kQ).ToRotation(kPQM);
    ExpectMatrixNear(kPQM, kPM * kQM, 1e-6f);
}

TEST(NiQuaternionTest, FromRotationPicksTheBranchByTraceAndLargestDiagonal)
{
    struct Case
    {
        NiRotationMatrix kMatrix;
        NiQuaternion kExpected;
    };
    const Case akCases[] = {
        {NiRotationMatrix::IDENTITY, NiQuaternion(1.0f, 0.0f, 0.0f, 0.0f)},
        {NiRotationMatrix(1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f, -1.0f),
         NiQuaternion(0.0f, 1.0f, 0.0f, 0.0f)},
        {NiRotationMatrix(-1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -1.0f),
         NiQuaternion(0.0f, 0.0f, 1.0f, 0.0f)},
        {NiRotationMatrix(-1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f),
         NiQuaternion(0.0f, 0.0f, 0.0f, 1.0f)},
    };
    for (const Case& kCase : akCases)
    {
        NiQuaternion kQ(9.0f, 9.0f, 9.0f, 9.0f);
        kQ.FromRotation(kCase.kMatrix);
        EXPECT_EQ(kQ, kCase.kExpected) << kCase.kMatrix.GetFieldString("m");
    }
}

TEST(NiQuaternionTest, FromRotationOfToRotationGivesThePlusOrMinusQuaternion)
{
    std::mt19937 kRandom(11);
    for (int i = 0; i < 100; ++i)
    {
        const NiQuaternion kQ = RandomUnit(kRandom);
        NiRotationMatrix kMatrix;
        kQ.ToRotation(kMatrix);
        NiQuaternion kBack;
        kBack.FromRotation(kMatrix);
        if (NiQuaternion::Dot(kBack, kQ) < 0.0f)
            kBack = -kBack;
        ExpectQuatNear(kBack, kQ, 1e-5f);
    }
}

TEST(NiQuaternionTest, AngleAxisRoundTripAndTheIdentity)
{
    float fAngle = 9.0f;
    NiPoint3 kAxis(9.0f, 9.0f, 9.0f);
    NiQuaternion::IDENTITY.ToAngleAxis(fAngle, kAxis);
    EXPECT_EQ(fAngle, 0.0f);
    EXPECT_EQ(kAxis, NiPoint3::ZERO);

    NiPoint3 kUnit(0.0f, 0.6f, -0.8f);
    for (const float fTurn : {0.5f, 3.0f, 5.0f})
    {
        NiQuaternion kQ;
        kQ.FromAngleAxis(fTurn, kUnit);
        kQ.ToAngleAxis(fAngle, kAxis);
        EXPECT_NEAR(fAngle, fTurn, 1e-5f);
        EXPECT_NEAR(kAxis.y, 0.6f, 1e-5f);
        EXPECT_NEAR(kAxis.z, -0.8f, 1e-5f);
    }
}

TEST(NiQuaternionTest, AlgebraAndFieldString)
{
    const NiQuaternion kI(0.0f, 1.0f, 0.0f, 0.0f), kJ(0.0f, 0.0f, 1.0f, 0.0f), kK(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(kI * kJ, kK);
    EXPECT_EQ(kJ * kI, -kK);
    EXPECT_EQ(kI * kI, NiQuaternion(-1.0f, 0.0f, 0.0f, 0.0f));
    const NiQuaternion kQ(1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(NiQuaternion::UnitInverse(kQ), NiQuaternion(1.0f, -2.0f, -3.0f, -4.0f));
    EXPECT_EQ(2.0f * kQ, kQ + kQ);
    EXPECT_EQ(kQ - kQ, NiQuaternion(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(NiQuaternion::Dot(kQ, kQ), 30.0f);
    EXPECT_EQ(NiQuaternion::IDENTITY.GetFieldString("q"),
              "q = (w=1.000000,x=0.000000,y=0.000000,z=0.000000)");
}
} // namespace
