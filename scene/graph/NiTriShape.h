#pragma once

#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriShapeData.h"

#include <cstdint>

// An indexed triangle list in the scene: triangle i is the corners at entries 3i, 3i + 1 and
// 3i + 2 of its data's index list. Drawn through NiRender::DrawTriShape; its controllers hear
// when it was displayed.
class NiTriShape : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriShape() = default;
    explicit NiTriShape(NiTriShapeData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
               NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList);

    NiTriShapeData* GetTriShapeData() const { return static_cast<NiTriShapeData*>(m_spGeomData.Get()); }

    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    const ClassRecord* GetDataClassRecord() const override;
    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
