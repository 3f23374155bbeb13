#pragma once

#include "scene/graph/NiTriBasedGeom.h"

#include <cstdint>

// What the triangle kinds over data of their own class (TData) share: the data's class record,
// cloning, and the model and world corners of a triangle, found through TGeom's CornerIndices
// (the data positions of a triangle's corners in the order those forms give; TGeom makes this
// base a friend).
template <class TGeom, class TData> class NiTriBasedGeomKind : public NiTriBasedGeom
{
public:
    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override
    {
        uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
        const bool bFound = static_cast<TGeom*>(this)->CornerIndices(usTriangle, usI0, usI1, usI2);
        return CornersAt(bFound ? GetVertexArray() : nullptr,
                         m_spGeomData ? m_spGeomData->GetVertexCount() : 0, usI0, usI1, usI2, pkP0, pkP1,
                         pkP2);
    }

    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override
    {
        uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
        const bool bFound = static_cast<TGeom*>(this)->CornerIndices(usTriangle, usI0, usI1, usI2);
        return CornersAt(bFound ? GetWorldVertices() : nullptr, m_usWorldVertsSize, usI0, usI1, usI2, pkP0,
                         pkP1, pkP2);
    }

    const ClassRecord* GetDataClassRecord() const override { return &TData::ms_kClassRecord; }

    NiObject* MakeClone() override
    {
        TGeom* pkClone = new TGeom;
        CopyToClone(pkClone);
        return pkClone;
    }

protected:
    NiTriBasedGeomKind() = default;
    explicit NiTriBasedGeomKind(TData* pkData) : NiTriBasedGeom(pkData) {}
};
