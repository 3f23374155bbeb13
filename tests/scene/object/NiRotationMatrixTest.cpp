#include "scene/object/NiRotationMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
void ExpectMatrixNear(const NiRotationMatrix& kActual, const NiRotationMatrix& kExpected, float fTolerance)
{
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
        {
            EXPECT_NEAR(kActual.m_aafEntry[iRow][iCol], kExpected.m_aafEntry[iRow][iCol], fTolerance)
                << "entry [" << iRow << "][" << iCol << "]";
        }
    }
}

void ExpectPointNear(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

// ---- Elementary rotations -------------------------------------------------------------------

TEST(NiRotationMatrixTest, ElementaryRotationsTurnColumnVectorsByMinusTheAngle)
{
    NiRotationMatrix kRotation;
    kRotation.MakeXRotation(NiHalfPi);
    ExpectPointNear(kRotation * NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(0.0f, 0.0f, -1.0f), 1e-6f);
    kRotation.MakeYRotation(NiHalfPi);
    ExpectPointNear(kRotation * NiPoint3(0.0f, 0.0f, 1.0f), NiPoint3(-1.0f, 0.0f, 0.0f), 1e-6f);
    kRotation.MakeZRotation(NiHalfPi);
    ExpectPointNear(kRotation * NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, -1.0f, 0.0f), 1e-6f);
    // The row vector turns the other way.
    ExpectPointNear(kRotation.TransposeTimes(NiPoint3(1.0f, 0.0f, 0.0f)), NiPoint3(0.0f, 1.0f, 0.0f), 1e-6f);
}

TEST(NiRotationMatrixTest, RotationAboutACoordinateAxisMatchesTheElementaryRotation)
{
    const float fAngle = 0.7f;
    NiRotationMatrix kAbout, kElementary;
    kAbout.MakeRotation(fAngle, 1.0f, 0.0f, 0.0f);
    kElementary.MakeXRotation(fAngle);
    ExpectMatrixNear(kAbout, kElementary, 1e-7f);
    kAbout.MakeRotationAboutAxis(fAngle, NiPoint3::UNIT_Y);
    kElementary.MakeYRotation(fAngle);
    ExpectMatrixNear(kAbout, kElementary, 1e-7f);
    kAbout.MakeRotation(fAngle, 0.0f, 0.0f, 1.0f);
    kElementary.MakeZRotation(fAngle);
    ExpectMatrixNear(kAbout, kElementary, 1e-7f);

    // The axis is used as given: a zero axis gives cos(t) times the identity.
    kAbout.MakeRotation(fAngle, 0.0f, 0.0f, 0.0f);
    ExpectMatrixNear(kAbout, NiRotationMatrix::IDENTITY * std::cos(fAngle), 0.0f);
}

// ---- Euler angles ---------------------------------------------------------------------------

struct EulerOrder
{
    const char* pcName;
    void (NiRotationMatrix::*pfnBuild)(float, float, float);
    bool (NiRotationMatrix::*pfnExtract)(float&, float&, float&) const;
};

const EulerOrder EULER_ORDERS[] = {
    {"XYZ", &NiRotationMatrix::BuildEulerXYZ, &NiRotationMatrix::ExtractEulerXYZ},
    {"XZY", &NiRotationMatrix::BuildEulerXZY, &NiRotationMatrix::ExtractEulerXZY},
    {"YXZ", &NiRotationMatrix::BuildEulerYXZ, &NiRotationMatrix::ExtractEulerYXZ},
    {"YZX", &NiRotationMatrix::BuildEulerYZX, &NiRotationMatrix::ExtractEulerYZX},
    {"ZXY", &NiRotationMatrix::BuildEulerZXY, &NiRotationMatrix::ExtractEulerZXY},
    {"ZYX", &NiRotationMatrix::BuildEulerZYX, &NiRotationMatrix::ExtractEulerZYX},
};

TEST(NiRotationMatrixTest, EulerBuildersMultiplyTheElementaryRotationsInLetterOrder)
{
    NiRotationMatrix kX, kY, kZ, kBuilt;
    kX.MakeXRotation(0.3f);
    kY.MakeYRotation(0.5f);
    kZ.MakeZRotation(-0.2f);
    kBuilt.BuildEulerXYZ(0.3f, 0.5f, -0.2f);
    ExpectMatrixNear(kBuilt, kX * kY * kZ, 0.0f);
    kZ.MakeZRotation(0.3f);
    kY.MakeYRotation(0.5f);
    kX.MakeXRotation(-0.2f);
    kBuilt.BuildEulerZYX(0.3f, 0.5f, -0.2f);
    ExpectMatrixNear(kBuilt, kZ * kY * kX, 0.0f);
}

TEST(NiRotationMatrixTest, EulerExtractionReturnsTheBuilderAngles)
{
    // The second set puts the first and third angles in every quadrant of the arc tangent.
    const float aafAngles[][3] = {{0.3f, 0.5f, -0.2f}, {2.5f, -1.2f, -2.9f}, {-1.9f, 1.4f, 3.0f}};
    for (const EulerOrder& kOrder : EULER_ORDERS)
    {
        for (const float* pfAngles : aafAngles)
        {
            SCOPED_TRACE(testing::Message()
                         << kOrder.pcName << " " << pfAngles[0] << "," << pfAngles[1] << "," << pfAngles[2]);
            NiRotationMatrix kMatrix;
            (kMatrix.*kOrder.pfnBuild)(pfAngles[0], pfAngles[1], pfAngles[2]);
            float fA1 = 9.0f, fA2 = 9.0f, fA3 = 9.0f;
            EXPECT_TRUE((kMatrix.*kOrder.pfnExtract)(fA1, fA2, fA3));
            // The fast arc tangent is good to about 1.2e-5.
            EXPECT_NEAR(fA1, pfAngles[0], 3e-5f);
            EXPECT_NEAR(fA2, pfAngles[1], 3e-5f);
            EXPECT_NEAR(fA3, pfAngles[2], 3e-5f);
        }
    }
}

TEST(NiRotationMatrixTest, EulerExtractionAtAQuarterTurnMiddleAngleFoldsTheTurnIntoTheFirstAngle)
{
    for (const EulerOrder& kOrder : EULER_ORDERS)
    {
        for (const float fMiddle : {NiHalfPi, -NiHalfPi})
        {
            SCOPED_TRACE(testing::Message() << kOrder.pcName << " middle " << fMiddle);
            NiRotationMatrix kMatrix;
            (kMatrix.*kOrder.pfnBuild)(0.3f, fMiddle, 0.7f);
            float fA1 = 9.0f, fA2 = 9.0f, fA3 = 9.0f;
            EXPECT_FALSE((kMatrix.*kOrder.pfnExtract)(fA1, fA2, fA3));
            EXPECT_EQ(fA2, fMiddle);
            EXPECT_EQ(fA3, 0.0f);
            NiRotationMatrix kRebuilt;
            (kRebuilt.*kOrder.pfnBuild)(fA1, fA2, 0.0f);
            ExpectMatrixNear(kRebuilt, kMatrix, 3e-5f);
        }
    }
}

// ---- Products, inverse, transforms ----------------------------------------------------------

TEST(NiRotationMatrixTest, ProductsAndTransposes)
{
    const NiRotationMatrix kA(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 10.0f);
    const NiRotationMatrix kB(0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f);
    EXPECT_EQ(kA * kB, NiRotationMatrix(-2.0f, 1.0f, 6.0f, -5.0f, 4.0f, 12.0f, -8.0f, 7.0f, 20.0f));
    EXPECT_EQ(kA * NiPoint3(1.0f, 0.0f, -1.0f), NiPoint3(-2.0f, -2.0f, -3.0f));
    EXPECT_EQ(kA.TransposeTimes(NiPoint3(1.0f, 0.0f, -1.0f)), NiPoint3(-6.0f, -6.0f, -7.0f));

    NiRotationMatrix kTransposed;
    kA.Transpose(kTransposed);
    EXPECT_EQ(kA.TransposeTimes(kB), kTransposed * kB);
    EXPECT_EQ(kA + kB - kB, kA);
    EXPECT_EQ(kA * 2.0f, kA + kA);

    NiRotationMatrix kSimilar;
    kB.Similarity(kA, kSimilar);
    EXPECT_EQ(kSimilar, kA * kB * kTransposed);
}

TEST(NiRotationMatrixTest, SetColumnsAndGetColRoundTrip)
{
    NiRotationMatrix kMatrix;
    kMatrix.SetColumns(NiPoint3(1.0f, 2.0f, 3.0f), NiPoint3(4.0f, 5.0f, 6.0f), NiPoint3(7.0f, 8.0f, 9.0f));
    EXPECT_EQ(kMatrix, NiRotationMatrix(1.0f, 4.0f, 7.0f, 2.0f, 5.0f, 8.0f, 3.0f, 6.0f, 9.0f));
    NiPoint3 kCol;
    kMatrix.GetCol(1, kCol);
    EXPECT_EQ(kCol, NiPoint3(4.0f, 5.0f, 6.0f));
    kMatrix.SetCol(1, NiPoint3::ZERO);
    EXPECT_EQ(kMatrix.GetEntry(2, 1), 0.0f);
}

TEST(NiRotationMatrixTest, InverseDividesTheAdjugateByTheDeterminant)
{
    NiRotationMatrix kInverse;
    NiRotationMatrix kDiagonal;
    kDiagonal.MakeDiagonal(2.0f, 4.0f, 8.0f);
    ASSERT_TRUE(kDiagonal.Inverse(kInverse));
    EXPECT_EQ(kInverse, NiRotationMatrix(0.5f, 0.0f, 0.0f, 0.0f, 0.25f, 0.0f, 0.0f, 0.0f, 0.125f));

    NiRotationMatrix kGeneral(1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 4.0f, 5.0f, 6.0f, 0.0f);
    ExpectMatrixNear(kGeneral * kGeneral.Inverse(), NiRotationMatrix::IDENTITY, 1e-5f);
    // The output may be the matrix itself.
    const NiRotationMatrix kOriginal = kGeneral;
    ASSERT_TRUE(kGeneral.Inverse(kGeneral));
    ExpectMatrixNear(kOriginal * kGeneral, NiRotationMatrix::IDENTITY, 1e-5f);
}

TEST(NiRotationMatrixTest, InverseOfANearlySingularMatrixFailsAndLeavesTheAdjugate)
{
    NiRotationMatrix kFlat;
    kFlat.MakeDiagonal(1e-7f, 1.0f, 1.0f);
    NiRotationMatrix kOut = NiRotationMatrix::IDENTITY;
    EXPECT_FALSE(kFlat.Inverse(kOut));
    EXPECT_EQ(kOut, NiRotationMatrix(1.0f, 0.0f, 0.0f, 0.0f, 1e-7f, 0.0f, 0.0f, 0.0f, 1e-7f));
    EXPECT_EQ(kFlat.Inverse(), NiRotationMatrix::ZERO);
    EXPECT_EQ(NiRotationMatrix::ZERO.Inverse(), NiRotationMatrix::ZERO);
}

TEST(NiRotationMatrixTest, BatchTransformsMovePointsAndTurnVectorsBack)
{
    NiRotationMatrix kRotation;
    kRotation.MakeZRotation(NiHalfPi);
    const NiPoint3 kTranslate(1.0f, 2.0f, 3.0f);
    NiPoint3 akPoints[] = {NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, 0.0f, 2.0f)};
    NiPoint3 akVectors[] = {NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, 1.0f, 0.0f)};
    NiPoint3 akPointsOut[2], akVectorsOut[2];
    kRotation.TransformPointsAndVectors(kTranslate, 2, akPoints, akPointsOut, akVectors, akVectorsOut);
    ExpectPointNear(akPointsOut[0], NiPoint3(1.0f, 1.0f, 3.0f), 1e-6f);
    ExpectPointNear(akPointsOut[1], NiPoint3(1.0f, 2.0f, 5.0f), 1e-6f);
    ExpectPointNear(akVectorsOut[0], NiPoint3(0.0f, 1.0f, 0.0f), 1e-6f);
    ExpectPointNear(akVectorsOut[1], NiPoint3(-1.0f, 0.0f, 0.0f), 1e-6f);

    // In place, the separate forms give the same.
    kRotation.TransformPoints(kTranslate, 2, akPoints, akPoints);
    kRotation.TransformVectors(2, akVectors, akVectors);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(akPoints[i], akPointsOut[i]);
        EXPECT_EQ(akVectors[i], akVectorsOut[i]);
    }
}

// ---- Angle and axis, Gram-Schmidt, eigen solution --------------------------------------------

TEST(NiRotationMatrixTest, ExtractAngleAndAxisRecoversTheRotation)
{
    float fAngle, fX, fY, fZ;
    NiRotationMatrix::IDENTITY.ExtractAngleAndAxis(fAngle, fX, fY, fZ);
    EXPECT_EQ(fAngle, 0.0f);
    EXPECT_EQ(NiPoint3(fX, fY, fZ), NiPoint3::UNIT_X);

    NiPoint3 kAxis(1.0f, 2.0f, -3.0f);
    kAxis.Unitize();
    NiRotationMatrix kRotation;
    kRotation.MakeRotationAboutAxis(1.1f, kAxis);
    kRotation.ExtractAngleAndAxis(fAngle, fX, fY, fZ);
    EXPECT_NEAR(fAngle, 1.1f, 1e-6f);
    ExpectPointNear(NiPoint3(fX, fY, fZ), kAxis, 1e-6f);
}

TEST(NiRotationMatrixTest, ExtractAngleAndAxisOfAHalfTurnFindsTheFixedAxis)
{
    const NiPoint3 akAxes[] = {NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(1.0f, -1.0f, 1.0f),
                               NiPoint3(1.0f, 1.0f, -2.0f), NiPoint3(0.0f, 1.0f, -1.0f),
                               NiPoint3(-1.0f, 0.0f, 0.0f)};
    for (NiPoint3 kAxis : akAxes)
    {
        kAxis.Unitize();
        SCOPED_TRACE(kAxis.GetFieldString("axis"));
        NiRotationMatrix kRotation;
        kRotation.MakeRotationAboutAxis(NiPi, kAxis);
        float fAngle, fX, fY, fZ;
        kRotation.ExtractAngleAndAxis(fAngle, fX, fY, fZ);
        EXPECT_NEAR(fAngle, NiPi, 1e-3f);
        // A half turn about a equals one about -a.
        const NiPoint3 kFound(fX, fY, fZ);
        EXPECT_NEAR(std::fabs(kFound.DotProduct(kAxis)), 1.0f, 1e-5f);
        EXPECT_FALSE(std::isnan(fX) || std::isnan(fY) || std::isnan(fZ));
    }

    float fAngle, fX, fY, fZ;
    NiRotationMatrix kExact;
    kExact.MakeRotation(NiPi, 0.0f, 1.0f, 0.0f);
    kExact.ExtractAngleAndAxis(fAngle, fX, fY, fZ);
    EXPECT_EQ(fAngle, NiPi);
    EXPECT_EQ(NiPoint3(fX, fY, fZ), NiPoint3::UNIT_Y);
}

TEST(NiRotationMatrixTest, ReorthogonalizeMakesTheColumnsOrthonormal)
{
    NiRotationMatrix kMatrix;
    kMatrix.BuildEulerXYZ(0.3f, -0.8f, 1.2f);
    kMatrix = kMatrix + NiRotationMatrix(0.01f, -0.02f, 0.0f, 0.03f, 0.0f, 0.01f, 0.0f, 0.02f, -0.01f);
    ASSERT_TRUE(kMatrix.Reorthogonalize());
    NiRotationMatrix kTransposed;
    kMatrix.Transpose(kTransposed);
    ExpectMatrixNear(kTransposed * kMatrix, NiRotationMatrix::IDENTITY, 1e-6f);
}

TEST(NiRotationMatrixTest, ReorthogonalizeStopsAtADegenerateColumn)
{
    NiRotationMatrix kZeroFirst(0.0f, 1.0f, 2.0f, 0.0f, 3.0f, 4.0f, 0.0f, 5.0f, 6.0f);
    const NiRotationMatrix kBefore = kZeroFirst;
    EXPECT_FALSE(kZeroFirst.Reorthogonalize());
    EXPECT_EQ(kZeroFirst, kBefore);

    // Column 1 parallel to column 0: column 0 is normalised, the rest stay.
    NiRotationMatrix kParallel(2.0f, 4.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_FALSE(kParallel.Reorthogonalize());
    EXPECT_EQ(kParallel, NiRotationMatrix(1.0f, 4.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f));
}

TEST(NiRotationMatrixTest, EigenSolveSymmetricOfDiagonalMatricesKeepsTheOrder)
{
    float afValues[3];
    NiRotationMatrix kVectors;
    NiRotationMatrix::IDENTITY.EigenSolveSymmetric(afValues, kVectors);
    EXPECT_EQ(afValues[0], 1.0f);
    EXPECT_EQ(afValues[1], 1.0f);
    EXPECT_EQ(afValues[2], 1.0f);
    EXPECT_EQ(kVectors, NiRotationMatrix::IDENTITY);

    NiRotationMatrix kDiagonal;
    kDiagonal.MakeDiagonal(3.0f, 1.0f, 2.0f);
    kDiagonal.EigenSolveSymmetric(afValues, kVectors);
    EXPECT_EQ(afValues[0], 3.0f);
    EXPECT_EQ(afValues[1], 1.0f);
    EXPECT_EQ(afValues[2], 2.0f);
    EXPECT_EQ(kVectors, NiRotationMatrix::IDENTITY);
}

float Determinant(const NiRotationMatrix& kM)
{
    const NiPoint3 kRow0(kM.m_aafEntry[0][0], kM.m_aafEntry[0][1], kM.m_aafEntry[0][2]);
    const NiPoint3 kRow1(kM.m_aafEntry[1][0], kM.m_aafEntry[1][1], kM.m_aafEntry[1][2]);
    const NiPoint3 kRow2(kM.m_aafEntry[2][0], kM.m_aafEntry[2][1], kM.m_aafEntry[2][2]);
    return kRow0.DotProduct(kRow1.Cross(kRow2));
}

TEST(NiRotationMatrixTest, EigenSolveSymmetricGivesARightHandedEigenframe)
{
    std::mt19937 kRandom(7);
    std::uniform_real_distribution<float> kEntry(-5.0f, 5.0f);
    for (int iTrial = 0; iTrial < 200; ++iTrial)
    {
        const float f01 = kEntry(kRandom), f02 = kEntry(kRandom), f12 = kEntry(kRandom);
        const NiRotationMatrix kSymmetric(kEntry(kRandom), f01, f02, f01, kEntry(kRandom), f12, f02, f12,
                                          kEntry(kRandom));
        float afValues[3];
        NiRotationMatrix kVectors;
        kSymmetric.EigenSolveSymmetric(afValues, kVectors);
        SCOPED_TRACE(kSymmetric.GetFieldString("matrix"));
        EXPECT_NEAR(Determinant(kVectors), 1.0f, 1e-5f);
        for (int i = 0; i < 3; ++i)
        {
            const NiPoint3 kVector(kVectors.m_aafEntry[i][0], kVectors.m_aafEntry[i][1],
                                   kVectors.m_aafEntry[i][2]);
            EXPECT_NEAR(kVector.Length(), 1.0f, 1e-5f);
            ExpectPointNear(kSymmetric * kVector, kVector * afValues[i], 1e-4f);
        }
    }
}

// ---- Fast arc tangent and constants -----------------------------------------------------------

TEST(NiFastATan2Test, KnownValuesAndQuadrants)
{
    struct Case
    {
        float fY, fX, fExpected;
    };
    const Case akCases[] = {
        {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.7854096f}, {0.0f, -1.0f, NiPi},  {-1.0f, 0.0f, -NiHalfPi},
        {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, NiHalfPi},   {-0.0f, -1.0f, NiPi}, {-1e-30f, -1.0f, -NiPi},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(testing::Message() << "(" << kCase.fY << ", " << kCase.fX << ")");
        EXPECT_FLOAT_EQ(NiFastATan2(kCase.fY, kCase.fX), kCase.fExpected);
    }
}

TEST(NiFastATan2Test, StaysWithinTheAccuracyBoundAllRound)
{
    float fWorst = 0.0f;
    for (int i = -2000; i <= 2000; ++i)
    {
        const double dAngle = M_PI * i / 2000.0;
        for (const float fRadius : {1e-3f, 1.0f, 250.0f})
        {
            const float fY = fRadius * static_cast<float>(std::sin(dAngle));
            const float fX = fRadius * static_cast<float>(std::cos(dAngle));
            const float fFast = NiFastATan2(fY, fX);
            ASSERT_LE(std::fabs(fFast), NiPi);
            fWorst =
                std::max(fWorst, static_cast<float>(std::fabs(fFast - std::atan2(double(fY), double(fX)))));
        }
    }
    EXPECT_LT(fWorst, 1.3e-5f);
}

TEST(NiRotationMatrixTest, ConstantsAndFieldString)
{
    EXPECT_EQ(NiPi, static_cast<float>(M_PI));
    EXPECT_EQ(NiHalfPi, static_cast<float>(M_PI / 2));
    EXPECT_EQ(NiTwoPi, static_cast<float>(2 * M_PI));
    EXPECT_EQ(NiRotationMatrix::IDENTITY.GetFieldString("m_localRotate"),
              "m_localRotate = ((1.000000,0.000000,0.000000),(0.000000,1.000000,0.000000),"
              "(0.000000,0.000000,1.000000))");
}
} // namespace
