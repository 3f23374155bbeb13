#pragma once

#include "scene/graph/NiTriBasedGeomKind.h"
#include "scene/graph/NiTriStripData.h"

#include <cstdint>

// One triangle strip in the scene: triangle i uses vertices i, i + 1, i + 2 of its data, every odd
// one wound the other way. Drawn through NiRender::DrawTriStrip.
class NiTriStrip : public NiTriBasedGeomKind<NiTriStrip, NiTriStripData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStrip() = default;
    explicit NiTriStrip(NiTriStripData* pkData) : NiTriBasedGeomKind(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriStrip(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
               uint16_t usTriangles);

    NiTriStripData* GetTriStripData() const { return static_cast<NiTriStripData*>(m_spGeomData.Get()); }

    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    void Draw(NiCamera* pkCamera) override;

    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    friend class NiTriBasedGeomKind<NiTriStrip, NiTriStripData>;

    bool CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);
};
