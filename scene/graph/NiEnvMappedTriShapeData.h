#pragma once

#include "scene/graph/NiTriShapeData.h"

#include <cstdint>

// A triangle list whose first texture-coordinate set is not stored but recomputed from the
// viewer's position at every draw (NiEnvMappedTriShape): the data always owns that set.
class NiEnvMappedTriShapeData : public NiTriShapeData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiEnvMappedTriShapeData();
    // One set of zeroed coordinates is made for the shape to fill.
    NiEnvMappedTriShapeData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                            uint16_t usTriangles, uint16_t* pusTriList);

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
