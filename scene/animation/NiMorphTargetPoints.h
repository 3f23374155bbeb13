#pragma once

#include "scene/object/ClassRecord.h"

#include <cstdint>

class NiObjectNET;
class NiPoint3;

// The points the morph controllers write into: the vertices of triangle-based geometry, or
// the control points of a target class of another library (the Bezier mesh), which that
// library makes reachable by registering its two accessors here (this library cannot name it).
class NiMorphTargetPoints
{
public:
    // The target's point array and count; null when it has none.
    using GetPointsFunction = NiPoint3* (*)(NiObjectNET* pkTarget, uint32_t& uiCount);
    // After new points were written: whatever the target derives from them (edge points,
    // tessellation, world bound).
    using PointsChangedFunction = void (*)(NiObjectNET* pkTarget);

    // One class of point targets besides triangle geometry; a later call replaces it.
    static void RegisterPointTarget(const ClassRecord* pkClass, GetPointsFunction pfnGetPoints,
                                    PointsChangedFunction pfnPointsChanged);

    // The points of the target and whether it is triangle geometry; null for any other target.
    static NiPoint3* GetPoints(NiObjectNET* pkTarget, uint32_t& uiCount, bool& bTriangles);
    // Triangle geometry: its normals when asked and it has a normal array, then the data's
    // revision. Another point target: its registered follow-up.
    static void PointsChanged(NiObjectNET* pkTarget, bool bRecomputeNormals);
};
