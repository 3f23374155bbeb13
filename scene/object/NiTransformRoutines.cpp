#include "scene/object/NiTransformRoutines.h"

constinit NiTransformPositionsRoutine g_pfnTransformPositions = TransformPositionsGeneric;
constinit NiTransformNormalsRoutine g_pfnTransformNormals = TransformNormalsGeneric;

void TransformPositionsGeneric(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                               const NiRotationMatrix& kRotation, float fScale, const NiPoint3& kTranslation)
{
    const auto& R = kRotation.m_aafEntry;
    for (uint16_t i = 0; i < usCount; ++i)
    {
        const NiPoint3& kIn = pkSource[i];
        NiPoint3& kOut = pkDestination[i];
        kOut.x = (R[0][0] * kIn.x + R[0][1] * kIn.y + R[0][2] * kIn.z) * fScale + kTranslation.x;
        kOut.y = (R[1][0] * kIn.x + R[1][1] * kIn.y + R[1][2] * kIn.z) * fScale + kTranslation.y;
        kOut.z = (R[2][0] * kIn.x + R[2][1] * kIn.y + R[2][2] * kIn.z) * fScale + kTranslation.z;
    }
}

void TransformPositionsFast(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                            const NiRotationMatrix& kRotation, float fScale, const NiPoint3& kTranslation)
{
    if (usCount == 0)
        return;
    float M[3][3];
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            M[iRow][iCol] = fScale * kRotation.m_aafEntry[iRow][iCol];
    }
    const NiPoint3 kMove = kTranslation;
    for (uint16_t i = 0; i < usCount; ++i)
    {
        const NiPoint3& kIn = pkSource[i];
        NiPoint3& kOut = pkDestination[i];
        kOut.x = M[0][0] * kIn.x + M[0][1] * kIn.y + M[0][2] * kIn.z + kMove.x;
        kOut.y = M[1][0] * kIn.x + M[1][1] * kIn.y + M[1][2] * kIn.z + kMove.y;
        kOut.z = M[2][0] * kIn.x + M[2][1] * kIn.y + M[2][2] * kIn.z + kMove.z;
    }
}

void TransformNormalsGeneric(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                             const NiRotationMatrix& kRotation)
{
    for (uint16_t i = 0; i < usCount; ++i)
    {
        const NiPoint3& kIn = pkSource[i];
        float afOut[3];
        for (int iRow = 0; iRow < 3; ++iRow)
        {
            const float* pfRow = kRotation.m_aafEntry[iRow];
            afOut[iRow] = pfRow[0] * kIn.x + pfRow[1] * kIn.y + pfRow[2] * kIn.z;
        }
        pkDestination[i] = NiPoint3(afOut[0], afOut[1], afOut[2]);
    }
}

void TransformNormalsFast(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                          const NiRotationMatrix& kRotation)
{
    const auto& R = kRotation.m_aafEntry;
    for (uint16_t i = 0; i < usCount; ++i)
    {
        const NiPoint3& kIn = pkSource[i];
        NiPoint3& kOut = pkDestination[i];
        kOut.x = R[0][0] * kIn.x + R[0][1] * kIn.y + R[0][2] * kIn.z;
        kOut.y = R[1][0] * kIn.x + R[1][1] * kIn.y + R[1][2] * kIn.z;
        kOut.z = R[2][0] * kIn.x + R[2][1] * kIn.y + R[2][2] * kIn.z;
    }
}
