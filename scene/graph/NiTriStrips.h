#pragma once

#include "scene/graph/NiTriBasedGeomKind.h"
#include "scene/graph/NiTriStripsData.h"

#include <cstdint>

// Several triangle strips over one vertex array in the scene. Drawn through
// NiRender::DrawTriStrips.
class NiTriStrips : public NiTriBasedGeomKind<NiTriStrips, NiTriStripsData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStrips() = default;
    explicit NiTriStrips(NiTriStripsData* pkData) : NiTriBasedGeomKind(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriStrips(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t usStrips, uint16_t* pusStripLengths,
                uint16_t* pusStripLists);

    NiTriStripsData* GetTriStripsData() const { return static_cast<NiTriStripsData*>(m_spGeomData.Get()); }

    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    void Draw(NiCamera* pkCamera) override;
    // A set of strips keeps no collision data.
    void BuildCollisionData(int32_t) override {}

    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    friend class NiTriBasedGeomKind<NiTriStrips, NiTriStripsData>;

    bool CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);
};
