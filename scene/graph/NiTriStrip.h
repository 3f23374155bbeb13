#pragma once

#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriStripData.h"

#include <cstdint>

// One triangle strip in the scene: triangle i uses vertices i, i + 1, i + 2 of its data, every odd
// one wound the other way. Drawn through NiRender::DrawTriStrip.
class NiTriStrip : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStrip() = default;
    explicit NiTriStrip(NiTriStripData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriStrip(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
               uint16_t usTriangles);

    NiTriStripData* GetTriStripData() const { return static_cast<NiTriStripData*>(m_spGeomData.Get()); }

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
