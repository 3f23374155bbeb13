#pragma once

#include <cstdint>

#include "core/SKPoint3.h"
#include "scene/object/NiRotationMatrix.h"

// The engine core's rotation matrix: an NiRotationMatrix with no data of its own, whose
// operations take and give the engine core's types. Every formula, threshold and convention is
// the base's (M v turns v by minus the angle; the row vector v M by plus the angle). Scripts meet
// it as the matrix of SKPoint3::MultMatrix and SKPoint3::MultMatrixLeft.
class SKMatrix3 : public NiRotationMatrix
{
public:
    // Leaves the entries unset, as the base does.
    SKMatrix3() = default;
    constexpr SKMatrix3(const NiRotationMatrix& kMatrix) : NiRotationMatrix(kMatrix) {}
    // Columns 0, 1 and 2.
    SKMatrix3(const SKPoint3& kCol0, const SKPoint3& kCol1, const SKPoint3& kCol2);

    SKMatrix3 operator+(const NiRotationMatrix& kOther) const { return NiRotationMatrix::operator+(kOther); }
    SKMatrix3 operator-(const NiRotationMatrix& kOther) const { return NiRotationMatrix::operator-(kOther); }
    SKMatrix3 operator*(const NiRotationMatrix& kOther) const { return NiRotationMatrix::operator*(kOther); }
    SKMatrix3 operator*(float fScale) const { return NiRotationMatrix::operator*(fScale); }
    // This matrix times the column vector.
    SKPoint3 operator*(const NiPoint3& kVector) const { return NiRotationMatrix::operator*(kVector); }
    // The transpose of this matrix times the other.
    SKMatrix3 TransposeTimes(const NiRotationMatrix& kOther) const
    {
        return NiRotationMatrix::TransposeTimes(kOther);
    }
    // The row vector times this matrix.
    SKPoint3 TransposeTimes(const NiPoint3& kVector) const
    {
        return NiRotationMatrix::TransposeTimes(kVector);
    }

    // The inverse, or false (kOut holding the adjugate) when the determinant's magnitude is at
    // most 1e-6; the by-value form gives the zero matrix then.
    bool Inverse(SKMatrix3& kOut) const { return NiRotationMatrix::Inverse(kOut); }
    SKMatrix3 Inverse() const { return NiRotationMatrix::Inverse(); }
    // A new matrix whose columns are this matrix's rows.
    SKMatrix3 Transpose() const;
    // kOut = a x this x transpose(a).
    void Similarity(const NiRotationMatrix& kA, SKMatrix3& kOut) const
    {
        NiRotationMatrix::Similarity(kA, kOut);
    }
    void EigenSolveSymmetric(float afEigenvalue[3], SKMatrix3& kEigenvectors) const
    {
        NiRotationMatrix::EigenSolveSymmetric(afEigenvalue, kEigenvectors);
    }

    // Batch transforms over arrays of SKPoint3; the outputs may be the inputs.
    void TransformPoints(const NiPoint3& kTranslate, uint32_t uiCount, const SKPoint3* pkIn,
                         SKPoint3* pkOut) const;
    void TransformVectors(uint32_t uiCount, const SKPoint3* pkIn, SKPoint3* pkOut) const;
    void TransformPointsAndVectors(const NiPoint3& kTranslate, uint32_t uiCount, const SKPoint3* pkPointsIn,
                                   SKPoint3* pkPointsOut, const SKPoint3* pkVectorsIn,
                                   SKPoint3* pkVectorsOut) const;
};

// The row vector times the matrix.
inline SKPoint3 operator*(const SKPoint3& kVector, const SKMatrix3& kMatrix)
{
    return kMatrix.TransposeTimes(kVector);
}

static_assert(sizeof(SKMatrix3) == sizeof(NiRotationMatrix), "SKMatrix3 adds no data");
