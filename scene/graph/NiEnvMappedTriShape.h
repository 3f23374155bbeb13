#pragma once

#include "scene/graph/NiEnvMappedTriShapeData.h"
#include "scene/graph/NiTriShape.h"

#include <cstdint>

// A triangle list whose first texture-coordinate set is recomputed before each draw from the
// reflection of the viewing direction in its world normals, so that a texture applied with it
// looks like a reflection of the surroundings. It keeps its world normals allocated.
class NiEnvMappedTriShape : public NiTriShape
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiEnvMappedTriShape() = default;
    explicit NiEnvMappedTriShape(NiTriShapeData* pkData);
    // Makes its data from the arrays, which the data takes over.
    NiEnvMappedTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                        uint16_t usTriangles, uint16_t* pusTriList);

    // Fills texture set 0 from the direction towards the eye (taken as far away compared with
    // the object) and advances the data's revision.
    void ComputeEnvMapCoords(const NiPoint3& kEye);

    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void ResolveLinks(NiStream& kStream) override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
