// NiRotationMatrix and NiFastATan2.
//   1. Constants and the fast arc tangent
//   2. Set-up and elementary rotations
//   3. Euler builders and extractions
//   4. Arithmetic and batch transforms
//   5. Analysis: angle and axis, Gram-Schmidt, symmetric eigen solution
//   6. Viewer text

#include "scene/object/NiRotationMatrix.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

#include <algorithm>

// ---- 1. Constants and the fast arc tangent ------------------------------------------------

constinit const NiRotationMatrix NiRotationMatrix::ZERO(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
constinit const NiRotationMatrix NiRotationMatrix::IDENTITY(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
                                                            1.0f);

namespace
{
float ATanPolynomial(float fR)
{
    const float fR2 = fR * fR;
    return fR * (0.999866f + fR2 * (-0.3302995f + fR2 * (0.180141f + fR2 * (-0.085133f + fR2 * 0.0208351f))));
}
} // namespace

float NiFastATan2(float fY, float fX)
{
    if (fY == 0.0f && fX == 0.0f)
        return 0.0f;
    if (std::fabs(fX) >= std::fabs(fY))
    {
        const float fAngle = ATanPolynomial(fY / fX);
        if (fX > 0.0f)
            return fAngle;
        return fY >= 0.0f ? fAngle + NiPi : fAngle - NiPi;
    }
    const float fAngle = ATanPolynomial(fX / fY);
    return fY > 0.0f ? NiHalfPi - fAngle : -NiHalfPi - fAngle;
}

// ---- 2. Set-up and elementary rotations ---------------------------------------------------

void NiRotationMatrix::GetCol(uint32_t uiCol, NiPoint3& kOut) const
{
    kOut = NiPoint3(m_aafEntry[0][uiCol], m_aafEntry[1][uiCol], m_aafEntry[2][uiCol]);
}

void NiRotationMatrix::SetCol(uint32_t uiCol, const NiPoint3& kCol)
{
    m_aafEntry[0][uiCol] = kCol.x;
    m_aafEntry[1][uiCol] = kCol.y;
    m_aafEntry[2][uiCol] = kCol.z;
}

void NiRotationMatrix::SetColumns(const NiPoint3& kCol0, const NiPoint3& kCol1, const NiPoint3& kCol2)
{
    SetCol(0, kCol0);
    SetCol(1, kCol1);
    SetCol(2, kCol2);
}

void NiRotationMatrix::MakeZero()
{
    *this = ZERO;
}

void NiRotationMatrix::MakeIdentity()
{
    *this = IDENTITY;
}

void NiRotationMatrix::MakeDiagonal(float fD0, float fD1, float fD2)
{
    *this = NiRotationMatrix(fD0, 0.0f, 0.0f, 0.0f, fD1, 0.0f, 0.0f, 0.0f, fD2);
}

void NiRotationMatrix::MakeXRotation(float fAngle)
{
    const float fC = std::cos(fAngle);
    const float fS = std::sin(fAngle);
    *this = NiRotationMatrix(1.0f, 0.0f, 0.0f, 0.0f, fC, fS, 0.0f, -fS, fC);
}

void NiRotationMatrix::MakeYRotation(float fAngle)
{
    const float fC = std::cos(fAngle);
    const float fS = std::sin(fAngle);
    *this = NiRotationMatrix(fC, 0.0f, -fS, 0.0f, 1.0f, 0.0f, fS, 0.0f, fC);
}

void NiRotationMatrix::MakeZRotation(float fAngle)
{
    const float fC = std::cos(fAngle);
    const float fS = std::sin(fAngle);
    *this = NiRotationMatrix(fC, fS, 0.0f, -fS, fC, 0.0f, 0.0f, 0.0f, 1.0f);
}

void NiRotationMatrix::MakeRotation(float fAngle, float fX, float fY, float fZ)
{
    const float fC = std::cos(fAngle);
    const float fS = std::sin(fAngle);
    const float fD = 1.0f - fC;
    *this = NiRotationMatrix(fC + fD * fX * fX, fS * fZ + fD * fX * fY, fD * fX * fZ - fS * fY,
                             fD * fX * fY - fS * fZ, fC + fD * fY * fY, fS * fX + fD * fY * fZ,
                             fD * fX * fZ + fS * fY, fD * fY * fZ - fS * fX, fC + fD * fZ * fZ);
}

void NiRotationMatrix::MakeRotationAboutAxis(float fAngle, const NiPoint3& kAxis)
{
    MakeRotation(fAngle, kAxis.x, kAxis.y, kAxis.z);
}

// ---- 3. Euler builders and extractions ----------------------------------------------------

namespace
{
enum EulerAxis
{
    AXIS_X,
    AXIS_Y,
    AXIS_Z
};

NiRotationMatrix Elementary(EulerAxis eAxis, float fAngle)
{
    NiRotationMatrix kRotation;
    if (eAxis == AXIS_X)
        kRotation.MakeXRotation(fAngle);
    else if (eAxis == AXIS_Y)
        kRotation.MakeYRotation(fAngle);
    else
        kRotation.MakeZRotation(fAngle);
    return kRotation;
}

NiRotationMatrix BuildEuler(EulerAxis eFirst, EulerAxis eSecond, EulerAxis eThird, float fA1, float fA2,
                            float fA3)
{
    return Elementary(eFirst, fA1) * Elementary(eSecond, fA2) * Elementary(eThird, fA3);
}

// One matrix entry with the sign it is read with.
struct EulerTerm
{
    uint8_t m_ucRow;
    uint8_t m_ucCol;
    float m_fSign;
};

// The (y, x) arguments of one arc tangent.
struct EulerATan
{
    EulerTerm m_kY;
    EulerTerm m_kX;
};

// Where each angle of one order is read from: the middle angle's sine, the first and third
// angles in the regular case, and the first angle in the two degenerate cases.
struct EulerExtraction
{
    EulerTerm m_kMiddle;
    EulerATan m_kA1;
    EulerATan m_kA3;
    EulerATan m_kA1AtPlusHalfPi;
    EulerATan m_kA1AtMinusHalfPi;
};

constexpr EulerTerm P(int iRow, int iCol)
{
    return {uint8_t(iRow), uint8_t(iCol), 1.0f};
}
constexpr EulerTerm N(int iRow, int iCol)
{
    return {uint8_t(iRow), uint8_t(iCol), -1.0f};
}

// clang-format off
//                                      a2       regular a1          regular a3          a2 = +pi/2          a2 = -pi/2
constexpr EulerExtraction EULER_XYZ = {N(0, 2), {P(1, 2), P(2, 2)}, {P(0, 1), P(0, 0)}, {P(1, 0), P(1, 1)}, {N(1, 0), P(1, 1)}};
constexpr EulerExtraction EULER_XZY = {P(0, 1), {N(2, 1), P(1, 1)}, {N(0, 2), P(0, 0)}, {P(2, 0), P(2, 2)}, {N(2, 0), P(2, 2)}};
constexpr EulerExtraction EULER_YXZ = {P(1, 2), {N(0, 2), P(2, 2)}, {N(1, 0), P(1, 1)}, {P(0, 1), P(0, 0)}, {N(0, 1), P(0, 0)}};
constexpr EulerExtraction EULER_YZX = {N(1, 0), {P(2, 0), P(0, 0)}, {P(1, 2), P(1, 1)}, {P(2, 1), P(2, 2)}, {N(2, 1), P(2, 2)}};
constexpr EulerExtraction EULER_ZXY = {N(2, 1), {P(0, 1), P(1, 1)}, {P(2, 0), P(2, 2)}, {P(0, 2), P(0, 0)}, {N(0, 2), P(0, 0)}};
constexpr EulerExtraction EULER_ZYX = {P(2, 0), {N(1, 0), P(0, 0)}, {N(2, 1), P(2, 2)}, {P(0, 1), N(0, 2)}, {P(0, 1), P(0, 2)}};
// clang-format on

// The arc sine with its argument clamped to [-1, 1].
float ClampedASin(float fValue)
{
    if (fValue <= -1.0f)
        return -NiHalfPi;
    if (fValue >= 1.0f)
        return NiHalfPi;
    return std::asin(fValue);
}

bool ExtractEuler(const NiRotationMatrix& kMatrix, const EulerExtraction& kOrder, float& fA1, float& fA2,
                  float& fA3)
{
    auto read = [&kMatrix](const EulerTerm& kTerm)
    { return kTerm.m_fSign * kMatrix.m_aafEntry[kTerm.m_ucRow][kTerm.m_ucCol]; };
    auto atan2 = [&read](const EulerATan& kATan) { return NiFastATan2(read(kATan.m_kY), read(kATan.m_kX)); };

    const EulerTerm& kMiddle = kOrder.m_kMiddle;
    fA2 = kMiddle.m_fSign * ClampedASin(kMatrix.m_aafEntry[kMiddle.m_ucRow][kMiddle.m_ucCol]);
    if (fA2 >= NiHalfPi)
    {
        fA1 = atan2(kOrder.m_kA1AtPlusHalfPi);
        fA3 = 0.0f;
        return false;
    }
    if (fA2 > -NiHalfPi)
    {
        fA1 = atan2(kOrder.m_kA1);
        fA3 = atan2(kOrder.m_kA3);
        return true;
    }
    fA1 = atan2(kOrder.m_kA1AtMinusHalfPi);
    fA3 = 0.0f;
    return false;
}
} // namespace

void NiRotationMatrix::BuildEulerXYZ(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_X, AXIS_Y, AXIS_Z, fA1, fA2, fA3);
}

void NiRotationMatrix::BuildEulerXZY(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_X, AXIS_Z, AXIS_Y, fA1, fA2, fA3);
}

void NiRotationMatrix::BuildEulerYXZ(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_Y, AXIS_X, AXIS_Z, fA1, fA2, fA3);
}

void NiRotationMatrix::BuildEulerYZX(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_Y, AXIS_Z, AXIS_X, fA1, fA2, fA3);
}

void NiRotationMatrix::BuildEulerZXY(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_Z, AXIS_X, AXIS_Y, fA1, fA2, fA3);
}

void NiRotationMatrix::BuildEulerZYX(float fA1, float fA2, float fA3)
{
    *this = BuildEuler(AXIS_Z, AXIS_Y, AXIS_X, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerXYZ(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_XYZ, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerXZY(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_XZY, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerYXZ(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_YXZ, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerYZX(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_YZX, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerZXY(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_ZXY, fA1, fA2, fA3);
}

bool NiRotationMatrix::ExtractEulerZYX(float& fA1, float& fA2, float& fA3) const
{
    return ExtractEuler(*this, EULER_ZYX, fA1, fA2, fA3);
}

// ---- 4. Arithmetic and batch transforms ---------------------------------------------------

bool NiRotationMatrix::operator==(const NiRotationMatrix& kOther) const
{
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
        {
            if (m_aafEntry[iRow][iCol] != kOther.m_aafEntry[iRow][iCol])
                return false;
        }
    }
    return true;
}

NiRotationMatrix NiRotationMatrix::operator+(const NiRotationMatrix& kOther) const
{
    NiRotationMatrix kSum;
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            kSum.m_aafEntry[iRow][iCol] = m_aafEntry[iRow][iCol] + kOther.m_aafEntry[iRow][iCol];
    }
    return kSum;
}

NiRotationMatrix NiRotationMatrix::operator-(const NiRotationMatrix& kOther) const
{
    NiRotationMatrix kDifference;
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            kDifference.m_aafEntry[iRow][iCol] = m_aafEntry[iRow][iCol] - kOther.m_aafEntry[iRow][iCol];
    }
    return kDifference;
}

NiRotationMatrix NiRotationMatrix::operator*(const NiRotationMatrix& kOther) const
{
    NiRotationMatrix kProduct;
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
        {
            kProduct.m_aafEntry[iRow][iCol] = m_aafEntry[iRow][0] * kOther.m_aafEntry[0][iCol] +
                                              m_aafEntry[iRow][1] * kOther.m_aafEntry[1][iCol] +
                                              m_aafEntry[iRow][2] * kOther.m_aafEntry[2][iCol];
        }
    }
    return kProduct;
}

NiRotationMatrix NiRotationMatrix::operator*(float fScale) const
{
    NiRotationMatrix kScaled;
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            kScaled.m_aafEntry[iRow][iCol] = m_aafEntry[iRow][iCol] * fScale;
    }
    return kScaled;
}

NiPoint3 NiRotationMatrix::operator*(const NiPoint3& kVector) const
{
    const float(*m)[3] = m_aafEntry;
    return NiPoint3(m[0][0] * kVector.x + m[0][1] * kVector.y + m[0][2] * kVector.z,
                    m[1][0] * kVector.x + m[1][1] * kVector.y + m[1][2] * kVector.z,
                    m[2][0] * kVector.x + m[2][1] * kVector.y + m[2][2] * kVector.z);
}

NiPoint3 NiRotationMatrix::TransposeTimes(const NiPoint3& kVector) const
{
    const float(*m)[3] = m_aafEntry;
    return NiPoint3(m[0][0] * kVector.x + m[1][0] * kVector.y + m[2][0] * kVector.z,
                    m[0][1] * kVector.x + m[1][1] * kVector.y + m[2][1] * kVector.z,
                    m[0][2] * kVector.x + m[1][2] * kVector.y + m[2][2] * kVector.z);
}

NiRotationMatrix NiRotationMatrix::TransposeTimes(const NiRotationMatrix& kOther) const
{
    NiRotationMatrix kProduct;
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
        {
            kProduct.m_aafEntry[iRow][iCol] = m_aafEntry[0][iRow] * kOther.m_aafEntry[0][iCol] +
                                              m_aafEntry[1][iRow] * kOther.m_aafEntry[1][iCol] +
                                              m_aafEntry[2][iRow] * kOther.m_aafEntry[2][iCol];
        }
    }
    return kProduct;
}

void NiRotationMatrix::Transpose(NiRotationMatrix& kOut) const
{
    const float(*m)[3] = m_aafEntry;
    kOut = NiRotationMatrix(m[0][0], m[1][0], m[2][0], m[0][1], m[1][1], m[2][1], m[0][2], m[1][2], m[2][2]);
}

bool NiRotationMatrix::Inverse(NiRotationMatrix& kOut) const
{
    const float(*m)[3] = m_aafEntry;
    NiRotationMatrix kAdjugate(m[1][1] * m[2][2] - m[2][1] * m[1][2], m[2][1] * m[0][2] - m[2][2] * m[0][1],
                               m[1][2] * m[0][1] - m[1][1] * m[0][2], m[1][2] * m[2][0] - m[1][0] * m[2][2],
                               m[2][2] * m[0][0] - m[2][0] * m[0][2], m[1][0] * m[0][2] - m[1][2] * m[0][0],
                               m[1][0] * m[2][1] - m[1][1] * m[2][0], m[2][0] * m[0][1] - m[2][1] * m[0][0],
                               m[1][1] * m[0][0] - m[1][0] * m[0][1]);
    const float fDeterminant = m[0][0] * kAdjugate.m_aafEntry[0][0] + m[0][1] * kAdjugate.m_aafEntry[1][0] +
                               m[0][2] * kAdjugate.m_aafEntry[2][0];
    if (std::fabs(fDeterminant) <= 1e-6f)
    {
        kOut = kAdjugate;
        return false;
    }
    kOut = kAdjugate * (1.0f / fDeterminant);
    return true;
}

NiRotationMatrix NiRotationMatrix::Inverse() const
{
    NiRotationMatrix kInverse;
    return Inverse(kInverse) ? kInverse : ZERO;
}

void NiRotationMatrix::Similarity(const NiRotationMatrix& kA, NiRotationMatrix& kOut) const
{
    NiRotationMatrix kATransposed;
    kA.Transpose(kATransposed);
    kOut = kA * *this * kATransposed;
}

void NiRotationMatrix::TransformPoints(const NiPoint3& kTranslate, uint32_t uiCount, const NiPoint3* pkIn,
                                       NiPoint3* pkOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
        pkOut[i] = *this * pkIn[i] + kTranslate;
}

void NiRotationMatrix::TransformVectors(uint32_t uiCount, const NiPoint3* pkIn, NiPoint3* pkOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
        pkOut[i] = TransposeTimes(pkIn[i]);
}

void NiRotationMatrix::TransformPointsAndVectors(const NiPoint3& kTranslate, uint32_t uiCount,
                                                 const NiPoint3* pkPointsIn, NiPoint3* pkPointsOut,
                                                 const NiPoint3* pkVectorsIn, NiPoint3* pkVectorsOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        pkPointsOut[i] = *this * pkPointsIn[i] + kTranslate;
        pkVectorsOut[i] = TransposeTimes(pkVectorsIn[i]);
    }
}

// ---- 5. Analysis ---------------------------------------------------------------------------

void NiRotationMatrix::ExtractAngleAndAxis(float& fAngle, float& fX, float& fY, float& fZ) const
{
    const float(*m)[3] = m_aafEntry;
    const float fCos = (m[0][0] + m[1][1] + m[2][2] - 1.0f) * 0.5f;
    if (fCos <= -1.0f)
        fAngle = NiPi;
    else if (fCos >= 1.0f)
        fAngle = 0.0f;
    else
        fAngle = std::acos(fCos);

    NiPoint3 kAxis(m[1][2] - m[2][1], m[2][0] - m[0][2], m[0][1] - m[1][0]);
    const float fLength = kAxis.Length();
    if (fLength > 1e-6f)
    {
        fX = kAxis.x / fLength;
        fY = kAxis.y / fLength;
        fZ = kAxis.z / fLength;
        return;
    }
    if (fAngle <= 1.0f)
    {
        fX = 1.0f;
        fY = 0.0f;
        fZ = 0.0f;
        return;
    }

    // A half turn: the axis part of the matrix vanishes, so take the axis from the diagonal
    // (M = 2 a a^T - I) and find its signs by testing which candidate M leaves fixed. Rounding
    // can push a diagonal entry just below -1; such a component is 0.
    auto component = [](float fDiagonal) { return std::sqrt(std::max(0.0f, (fDiagonal + 1.0f) * 0.5f)); };
    const float fAx = component(m[0][0]);
    const float fAy = component(m[1][1]);
    const float fAz = component(m[2][2]);
    const NiPoint3 akCandidate[4] = {NiPoint3(fAx, fAy, fAz), NiPoint3(fAx, -fAy, fAz),
                                     NiPoint3(fAx, -fAy, -fAz), NiPoint3(fAx, fAy, -fAz)};
    const NiPoint3* pkChosen = &akCandidate[3];
    for (const NiPoint3& kCandidate : akCandidate)
    {
        if ((*this * kCandidate - kCandidate).SqrLength() < 1e-6f)
        {
            pkChosen = &kCandidate;
            break;
        }
    }
    fX = pkChosen->x;
    fY = pkChosen->y;
    fZ = pkChosen->z;
}

bool NiRotationMatrix::Reorthogonalize()
{
    NiPoint3 kCol0, kCol1, kCol2;
    GetCol(0, kCol0);
    GetCol(1, kCol1);
    GetCol(2, kCol2);

    const float fLength0 = kCol0.Length();
    if (fLength0 < 1e-5f)
        return false;
    kCol0 = kCol0 / fLength0;
    SetCol(0, kCol0);

    kCol1 -= kCol0 * kCol0.DotProduct(kCol1);
    const float fLength1 = kCol1.Length();
    if (fLength1 < 1e-5f)
        return false;
    kCol1 = kCol1 / fLength1;
    SetCol(1, kCol1);

    kCol2 -= kCol0 * kCol0.DotProduct(kCol2);
    kCol2 -= kCol1 * kCol1.DotProduct(kCol2);
    const float fLength2 = kCol2.Length();
    if (fLength2 < 1e-5f)
        return false;
    SetCol(2, kCol2 / fLength2);
    return true;
}

namespace
{
// Householder reduction of a symmetric 3x3 matrix to tridiagonal form: kQ^T M kQ has the
// diagonal afDiag and the sub-diagonal afSub[0], afSub[1] (afSub[2] = 0).
void Tridiagonalize(const NiRotationMatrix& kM, NiRotationMatrix& kQ, float afDiag[3], float afSub[3])
{
    const float fM00 = kM.m_aafEntry[0][0];
    float fM01 = kM.m_aafEntry[0][1];
    float fM02 = kM.m_aafEntry[0][2];
    const float fM11 = kM.m_aafEntry[1][1];
    const float fM12 = kM.m_aafEntry[1][2];
    const float fM22 = kM.m_aafEntry[2][2];

    afDiag[0] = fM00;
    afSub[2] = 0.0f;
    if (std::fabs(fM02) >= 1e-8f)
    {
        const float fLength = std::sqrt(fM01 * fM01 + fM02 * fM02);
        fM01 /= fLength;
        fM02 /= fLength;
        const float fQ = 2.0f * fM01 * fM12 + fM02 * (fM22 - fM11);
        afDiag[1] = fM11 + fM02 * fQ;
        afDiag[2] = fM22 - fM02 * fQ;
        afSub[0] = fLength;
        afSub[1] = fM12 - fM01 * fQ;
        kQ = NiRotationMatrix(1.0f, 0.0f, 0.0f, 0.0f, fM01, fM02, 0.0f, fM02, -fM01);
    }
    else
    {
        afDiag[1] = fM11;
        afDiag[2] = fM22;
        afSub[0] = fM01;
        afSub[1] = fM12;
        kQ = NiRotationMatrix::IDENTITY;
    }
}

// QL iteration with implicit shifts on the tridiagonal form, accumulating the rotations in
// the columns of kQ. An eigenvalue that does not converge in 32 sweeps stops the iteration;
// the values reached are kept.
void QLIterate(NiRotationMatrix& kQ, float afDiag[3], float afSub[3])
{
    constexpr int MAX_SWEEPS = 32;
    for (int i0 = 0; i0 < 3; ++i0)
    {
        int iSweep = 0;
        for (; iSweep < MAX_SWEEPS; ++iSweep)
        {
            int i1 = i0;
            for (; i1 <= 1; ++i1)
            {
                const float fSum = std::fabs(afDiag[i1]) + std::fabs(afDiag[i1 + 1]);
                if (std::fabs(afSub[i1]) + fSum == fSum)
                    break;
            }
            if (i1 == i0)
                break;

            float fG = (afDiag[i0 + 1] - afDiag[i0]) / (2.0f * afSub[i0]);
            float fR = std::sqrt(fG * fG + 1.0f);
            fG = afDiag[i1] - afDiag[i0] + afSub[i0] / (fG >= 0.0f ? fG + fR : fG - fR);
            float fSin = 1.0f;
            float fCos = 1.0f;
            float fP = 0.0f;
            for (int i2 = i1 - 1; i2 >= i0; --i2)
            {
                const float fF = fSin * afSub[i2];
                const float fB = fCos * afSub[i2];
                if (std::fabs(fF) >= std::fabs(fG))
                {
                    fCos = fG / fF;
                    fR = std::sqrt(fCos * fCos + 1.0f);
                    afSub[i2 + 1] = fF * fR;
                    fSin = 1.0f / fR;
                    fCos *= fSin;
                }
                else
                {
                    fSin = fF / fG;
                    fR = std::sqrt(fSin * fSin + 1.0f);
                    afSub[i2 + 1] = fG * fR;
                    fCos = 1.0f / fR;
                    fSin *= fCos;
                }
                fG = afDiag[i2 + 1] - fP;
                fR = (afDiag[i2] - fG) * fSin + 2.0f * fB * fCos;
                fP = fSin * fR;
                afDiag[i2 + 1] = fG + fP;
                fG = fCos * fR - fB;

                for (int iRow = 0; iRow < 3; ++iRow)
                {
                    float* pfRow = kQ.m_aafEntry[iRow];
                    const float fNext = pfRow[i2 + 1];
                    pfRow[i2 + 1] = fSin * pfRow[i2] + fCos * fNext;
                    pfRow[i2] = fCos * pfRow[i2] - fSin * fNext;
                }
            }
            afDiag[i0] -= fP;
            afSub[i0] = fG;
            afSub[i1] = 0.0f;
        }
        if (iSweep == MAX_SWEEPS)
            return;
    }
}

float Determinant(const NiRotationMatrix& kM)
{
    const float(*m)[3] = kM.m_aafEntry;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}
} // namespace

void NiRotationMatrix::EigenSolveSymmetric(float afEigenvalue[3], NiRotationMatrix& kEigenvectors) const
{
    NiRotationMatrix kQ;
    float afSub[3];
    Tridiagonalize(*this, kQ, afEigenvalue, afSub);
    QLIterate(kQ, afEigenvalue, afSub);

    kQ.Transpose(kEigenvectors);
    if (Determinant(kEigenvectors) < 0.0f)
    {
        for (float& fEntry : kEigenvectors.m_aafEntry[2])
            fEntry = -fEntry;
    }
}

// ---- 6. Viewer text ------------------------------------------------------------------------

std::string NiRotationMatrix::GetFieldString(const char* pcName) const
{
    const float(*m)[3] = m_aafEntry;
    return NiCFormat("%s = ((%f,%f,%f),(%f,%f,%f),(%f,%f,%f))", pcName, double(m[0][0]), double(m[0][1]),
                     double(m[0][2]), double(m[1][0]), double(m[1][1]), double(m[1][2]), double(m[2][0]),
                     double(m[2][1]), double(m[2][2]));
}

void NiRotationMatrix::LoadBinary(NiStream& kStream)
{
    for (auto& afRow : m_aafEntry)
        for (float& fEntry : afRow)
            kStream.Load(fEntry);
}

void NiRotationMatrix::SaveBinary(NiStream& kStream) const
{
    for (const auto& afRow : m_aafEntry)
        for (float fEntry : afRow)
            kStream.Save(fEntry);
}
