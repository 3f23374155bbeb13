#pragma once

#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTrianglesData.h"

#include <cstdint>

// A plain triangle list in the scene: every three consecutive vertices of its data form one
// triangle. The editor builds its marker geometry this way. Drawn through NiRender::DrawTriangles.
class NiTriangles : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriangles() = default;
    explicit NiTriangles(NiTrianglesData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriangles(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                uint16_t usTriangles);

    NiTrianglesData* GetTrianglesData() const { return static_cast<NiTrianglesData*>(m_spGeomData.Get()); }

    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    const ClassRecord* GetDataClassRecord() const override;
    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    // The data positions of a triangle's corners, in the order the model and world forms give.
    bool CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);
};
