#pragma once

#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriStripsData.h"

#include <cstdint>

// Several triangle strips over one vertex array in the scene. Drawn through
// NiRender::DrawTriStrips.
class NiTriStrips : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStrips() = default;
    explicit NiTriStrips(NiTriStripsData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriStrips(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t usStrips, uint16_t* pusStripLengths,
                uint16_t* pusStripLists);

    NiTriStripsData* GetTriStripsData() const { return static_cast<NiTriStripsData*>(m_spGeomData.Get()); }

    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    const ClassRecord* GetDataClassRecord() const override;
    void Draw(NiCamera* pkCamera) override;
    // A set of strips keeps no collision data.
    void BuildCollisionData(int32_t) override {}

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    // The data positions of a triangle's corners, in the order the model and world forms give.
    bool CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);
};
