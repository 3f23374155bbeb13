#pragma once

#include <cstdint>

// Bulk transforms of vertex positions and normals into world space. Arrays hold packed
// x, y, z float triples (the layout of NiPoint3); a rotation is nine floats row by row
// (the layout of NiRotationMatrix). Source and destination are distinct arrays. Geometry
// calls through the two pointers, which processor detection points at the routines to use.

using NiTransformPositionsRoutine = void (*)(uint16_t usCount, const float* pfSource, float* pfDestination,
                                             const float* pfRotation, float fScale,
                                             const float* pfTranslation);
using NiTransformNormalsRoutine = void (*)(uint16_t usCount, const float* pfSource, float* pfDestination,
                                           const float* pfRotation);

// destination[i] = s (R source[i]) + t
void TransformPositionsGeneric(uint16_t usCount, const float* pfSource, float* pfDestination,
                               const float* pfRotation, float fScale, const float* pfTranslation);
// The same with the scale folded into the matrix once per call.
void TransformPositionsFast(uint16_t usCount, const float* pfSource, float* pfDestination,
                            const float* pfRotation, float fScale, const float* pfTranslation);

// destination[i] = R source[i]: no scale, no translation, no unitizing.
void TransformNormalsGeneric(uint16_t usCount, const float* pfSource, float* pfDestination,
                             const float* pfRotation);
void TransformNormalsFast(uint16_t usCount, const float* pfSource, float* pfDestination,
                          const float* pfRotation);

extern NiTransformPositionsRoutine g_pfnTransformPositions;
extern NiTransformNormalsRoutine g_pfnTransformNormals;
