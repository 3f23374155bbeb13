#pragma once

#include "scene/graph/NiTriBasedGeomKind.h"
#include "scene/graph/NiTrianglesData.h"

#include <cstdint>

// A plain triangle list in the scene: every three consecutive vertices of its data form one
// triangle. The editor builds its marker geometry this way. Drawn through NiRender::DrawTriangles.
class NiTriangles : public NiTriBasedGeomKind<NiTriangles, NiTrianglesData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriangles() = default;
    explicit NiTriangles(NiTrianglesData* pkData) : NiTriBasedGeomKind(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriangles(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                uint16_t usTriangles);

    NiTrianglesData* GetTrianglesData() const { return static_cast<NiTrianglesData*>(m_spGeomData.Get()); }

    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    void Draw(NiCamera* pkCamera) override;

    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    friend class NiTriBasedGeomKind<NiTriangles, NiTrianglesData>;

    bool CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);
};
