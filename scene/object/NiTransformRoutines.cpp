#include "scene/object/NiTransformRoutines.h"

constinit NiTransformPositionsRoutine g_pfnTransformPositions = TransformPositionsGeneric;
constinit NiTransformNormalsRoutine g_pfnTransformNormals = TransformNormalsGeneric;

void TransformPositionsGeneric(uint16_t usCount, const float* pfSource, float* pfDestination,
                               const float* pfRotation, float fScale, const float* pfTranslation)
{
    const float* R = pfRotation;
    for (uint16_t i = 0; i < usCount; ++i, pfSource += 3, pfDestination += 3)
    {
        const float x = pfSource[0], y = pfSource[1], z = pfSource[2];
        pfDestination[0] = (R[0] * x + R[1] * y + R[2] * z) * fScale + pfTranslation[0];
        pfDestination[1] = (R[3] * x + R[4] * y + R[5] * z) * fScale + pfTranslation[1];
        pfDestination[2] = (R[6] * x + R[7] * y + R[8] * z) * fScale + pfTranslation[2];
    }
}

void TransformPositionsFast(uint16_t usCount, const float* pfSource, float* pfDestination,
                            const float* pfRotation, float fScale, const float* pfTranslation)
{
    if (usCount == 0)
        return;
    float M[9];
    for (int i = 0; i < 9; ++i)
        M[i] = fScale * pfRotation[i];
    const float tx = pfTranslation[0], ty = pfTranslation[1], tz = pfTranslation[2];
    for (uint16_t i = 0; i < usCount; ++i, pfSource += 3, pfDestination += 3)
    {
        const float x = pfSource[0], y = pfSource[1], z = pfSource[2];
        pfDestination[0] = M[0] * x + M[1] * y + M[2] * z + tx;
        pfDestination[1] = M[3] * x + M[4] * y + M[5] * z + ty;
        pfDestination[2] = M[6] * x + M[7] * y + M[8] * z + tz;
    }
}

void TransformNormalsGeneric(uint16_t usCount, const float* pfSource, float* pfDestination,
                             const float* pfRotation)
{
    for (uint16_t i = 0; i < usCount; ++i)
    {
        for (int iRow = 0; iRow < 3; ++iRow)
        {
            const float* pfRow = pfRotation + 3 * iRow;
            pfDestination[3 * i + iRow] =
                pfRow[0] * pfSource[3 * i] + pfRow[1] * pfSource[3 * i + 1] + pfRow[2] * pfSource[3 * i + 2];
        }
    }
}

void TransformNormalsFast(uint16_t usCount, const float* pfSource, float* pfDestination,
                          const float* pfRotation)
{
    const float* R = pfRotation;
    for (uint16_t i = 0; i < usCount; ++i, pfSource += 3, pfDestination += 3)
    {
        const float x = pfSource[0], y = pfSource[1], z = pfSource[2];
        pfDestination[0] = R[0] * x + R[1] * y + R[2] * z;
        pfDestination[1] = R[3] * x + R[4] * y + R[5] * z;
        pfDestination[2] = R[6] * x + R[7] * y + R[8] * z;
    }
}
