#include "core/SKMatrix3.h"

SKMatrix3::SKMatrix3(const SKPoint3& kCol0, const SKPoint3& kCol1, const SKPoint3& kCol2)
{
    SetColumns(kCol0, kCol1, kCol2);
}

SKMatrix3 SKMatrix3::Transpose() const
{
    const float(*m)[3] = m_aafEntry;
    return SKMatrix3(SKPoint3(m[0][0], m[0][1], m[0][2]), SKPoint3(m[1][0], m[1][1], m[1][2]),
                     SKPoint3(m[2][0], m[2][1], m[2][2]));
}

// The base works on arrays of NiPoint3; the points go one at a time so that no SKPoint3 array is
// read through a pointer to its base type.
void SKMatrix3::TransformPoints(const NiPoint3& kTranslate, uint32_t uiCount, const SKPoint3* pkIn,
                                SKPoint3* pkOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
        NiRotationMatrix::TransformPoints(kTranslate, 1, &pkIn[i], &pkOut[i]);
}

void SKMatrix3::TransformVectors(uint32_t uiCount, const SKPoint3* pkIn, SKPoint3* pkOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
        NiRotationMatrix::TransformVectors(1, &pkIn[i], &pkOut[i]);
}

void SKMatrix3::TransformPointsAndVectors(const NiPoint3& kTranslate, uint32_t uiCount,
                                          const SKPoint3* pkPointsIn, SKPoint3* pkPointsOut,
                                          const SKPoint3* pkVectorsIn, SKPoint3* pkVectorsOut) const
{
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        NiRotationMatrix::TransformPointsAndVectors(kTranslate, 1, &pkPointsIn[i], &pkPointsOut[i],
                                                    &pkVectorsIn[i], &pkVectorsOut[i]);
    }
}
