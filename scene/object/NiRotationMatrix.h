#pragma once

#include "scene/object/NiPoint3.h"

#include <cmath>
#include <cstdint>
#include <string>

// The engine's angle constants, constant-initialised so that static initialisers anywhere may
// use them. NiPi is 4 atan(1) in single precision, the float nearest pi, written as a literal
// because not every compiler evaluates atan in a constant expression.
inline constexpr float NiPi = 3.14159265358979323846f;
inline constexpr float NiHalfPi = NiPi * 0.5f;
inline constexpr float NiTwoPi = NiPi + NiPi;

// Fast four-quadrant arc tangent: a fifth-order odd polynomial on [-1, 1], within about
// 1.2e-5 of the true value; (0, 0) gives 0.
float NiFastATan2(float fY, float fX);

class NiStream;

// The 3x3 rotation of every transform, nine floats row by row; vectors are columns.
//
// Convention: the elementary rotations are the transposes of the usual right-handed forms
// (about Z by t: rows (c, s, 0), (-s, c, 0), (0, 0, 1)), so M v turns v by -t and the row
// vector v M turns it by +t. Every builder and extraction here keeps to it.
class NiRotationMatrix
{
public:
    float m_aafEntry[3][3];

    // Leaves the entries unset; every owner builds its matrix right away.
    NiRotationMatrix() = default;
    constexpr NiRotationMatrix(float f00, float f01, float f02, float f10, float f11, float f12, float f20,
                               float f21, float f22)
        : m_aafEntry{{f00, f01, f02}, {f10, f11, f12}, {f20, f21, f22}}
    {
    }

    // Set-up.
    float GetEntry(uint32_t uiRow, uint32_t uiCol) const { return m_aafEntry[uiRow][uiCol]; }
    void SetEntry(uint32_t uiRow, uint32_t uiCol, float fValue) { m_aafEntry[uiRow][uiCol] = fValue; }
    void GetCol(uint32_t uiCol, NiPoint3& kOut) const;
    void SetCol(uint32_t uiCol, const NiPoint3& kCol);
    void SetColumns(const NiPoint3& kCol0, const NiPoint3& kCol1, const NiPoint3& kCol2);
    void MakeZero();
    void MakeIdentity();
    void MakeDiagonal(float fD0, float fD1, float fD2);
    void MakeXRotation(float fAngle);
    void MakeYRotation(float fAngle);
    void MakeZRotation(float fAngle);
    // Rotation about a unit axis, which is used as given (not normalised).
    void MakeRotation(float fAngle, float fX, float fY, float fZ);
    void MakeRotationAboutAxis(float fAngle, const NiPoint3& kAxis);

    // Euler builders: the elementary rotations multiplied in the order of the letters, the
    // first letter's leftmost (BuildEulerXYZ = X(a1) Y(a2) Z(a3)).
    void BuildEulerXYZ(float fA1, float fA2, float fA3);
    void BuildEulerXZY(float fA1, float fA2, float fA3);
    void BuildEulerYXZ(float fA1, float fA2, float fA3);
    void BuildEulerYZX(float fA1, float fA2, float fA3);
    void BuildEulerZXY(float fA1, float fA2, float fA3);
    void BuildEulerZYX(float fA1, float fA2, float fA3);

    // Euler extractions, the inverses of the builders of the same order. When the middle
    // angle reaches +-pi/2 the first and third axes line up: a3 becomes 0, a1 takes the whole
    // turn and the answer is false. The builder always rebuilds the matrix from the angles.
    bool ExtractEulerXYZ(float& fA1, float& fA2, float& fA3) const;
    bool ExtractEulerXZY(float& fA1, float& fA2, float& fA3) const;
    bool ExtractEulerYXZ(float& fA1, float& fA2, float& fA3) const;
    bool ExtractEulerYZX(float& fA1, float& fA2, float& fA3) const;
    bool ExtractEulerZXY(float& fA1, float& fA2, float& fA3) const;
    bool ExtractEulerZYX(float& fA1, float& fA2, float& fA3) const;

    // Arithmetic; results are new values.
    bool operator==(const NiRotationMatrix& kOther) const;
    bool operator!=(const NiRotationMatrix& kOther) const { return !(*this == kOther); }
    NiRotationMatrix operator+(const NiRotationMatrix& kOther) const;
    NiRotationMatrix operator-(const NiRotationMatrix& kOther) const;
    NiRotationMatrix operator*(const NiRotationMatrix& kOther) const;
    NiRotationMatrix operator*(float fScale) const;
    NiPoint3 operator*(const NiPoint3& kVector) const;
    // The row vector v times M: the inverse rotation of v for an orthonormal M.
    NiPoint3 TransposeTimes(const NiPoint3& kVector) const;
    NiRotationMatrix TransposeTimes(const NiRotationMatrix& kOther) const;
    void Transpose(NiRotationMatrix& kOut) const;
    // kOut = the adjugate over the determinant; false (kOut keeping the adjugate) when the
    // determinant's magnitude is at most 1e-6.
    bool Inverse(NiRotationMatrix& kOut) const;
    // The inverse, or ZERO when there is none.
    NiRotationMatrix Inverse() const;
    // kOut = A M transpose(A).
    void Similarity(const NiRotationMatrix& kA, NiRotationMatrix& kOut) const;

    // Batch transforms; the outputs may be the inputs.
    void TransformPoints(const NiPoint3& kTranslate, uint32_t uiCount, const NiPoint3* pkIn,
                         NiPoint3* pkOut) const;
    void TransformVectors(uint32_t uiCount, const NiPoint3* pkIn, NiPoint3* pkOut) const;
    void TransformPointsAndVectors(const NiPoint3& kTranslate, uint32_t uiCount, const NiPoint3* pkPointsIn,
                                   NiPoint3* pkPointsOut, const NiPoint3* pkVectorsIn,
                                   NiPoint3* pkVectorsOut) const;

    // Analysis.
    void ExtractAngleAndAxis(float& fAngle, float& fX, float& fY, float& fZ) const;
    // Modified Gram-Schmidt over the columns, in place; false when a column is shorter than
    // 1e-5, leaving the columns done so far normalised and the rest as they were.
    bool Reorthogonalize();
    // For a symmetric matrix: Householder reduction and QL with implicit shifts. Eigenvector
    // i is row i of kEigenvectors (unsorted), and the rows form a right-handed frame.
    void EigenSolveSymmetric(float afEigenvalue[3], NiRotationMatrix& kEigenvectors) const;

    // The stream form inside a .nif record: the nine entries row by row, 4-byte floats.
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    // "name = ((m00,m01,m02),(m10,m11,m12),(m20,m21,m22))" for viewers.
    std::string GetFieldString(const char* pcName) const;

    static const NiRotationMatrix ZERO;
    static const NiRotationMatrix IDENTITY;
};

static_assert(sizeof(NiRotationMatrix) == 36, "NiRotationMatrix must stay nine packed floats");
