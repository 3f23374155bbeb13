#pragma once

#include "scene/object/NiPoint3.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>

// Bulk transforms of vertex positions and normals into world space. Source and destination
// are distinct arrays. Geometry calls through the two pointers, which processor detection
// points at the routines to use.

using NiTransformPositionsRoutine = void (*)(uint16_t usCount, const NiPoint3* pkSource,
                                             NiPoint3* pkDestination, const NiRotationMatrix& kRotation,
                                             float fScale, const NiPoint3& kTranslation);
using NiTransformNormalsRoutine = void (*)(uint16_t usCount, const NiPoint3* pkSource,
                                           NiPoint3* pkDestination, const NiRotationMatrix& kRotation);

// destination[i] = s (R source[i]) + t
void TransformPositionsGeneric(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                               const NiRotationMatrix& kRotation, float fScale, const NiPoint3& kTranslation);
// The same with the scale folded into the matrix once per call.
void TransformPositionsFast(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                            const NiRotationMatrix& kRotation, float fScale, const NiPoint3& kTranslation);

// destination[i] = R source[i]: no scale, no translation, no unitizing.
void TransformNormalsGeneric(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                             const NiRotationMatrix& kRotation);
void TransformNormalsFast(uint16_t usCount, const NiPoint3* pkSource, NiPoint3* pkDestination,
                          const NiRotationMatrix& kRotation);

extern NiTransformPositionsRoutine g_pfnTransformPositions;
extern NiTransformNormalsRoutine g_pfnTransformNormals;
