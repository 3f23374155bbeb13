#pragma once

#include "scene/graph/NiGeometryData.h"

#include <cstdint>

// Geometry data made of triangles: the level every triangle kind shares, a triangle count.
// Draws and normal computations use the active count, which kinds with an active leading
// subset refine.
class NiTriBasedGeomData : public NiGeometryData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    uint16_t GetTriangleCount() const { return m_usTriangles; }
    // For owners that point the data at a triangle list of their own (SetTriList keeps it).
    void SetTriangleCount(uint16_t usTriangles) { m_usTriangles = usTriangles; }

    virtual void SetActiveTriangleCount(uint16_t usActive);
    virtual uint16_t GetActiveTriangleCount() const;

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiTriBasedGeomData() = default;
    NiTriBasedGeomData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                       NiTexCoord* pkTexture, uint16_t usTriangles);

    uint16_t m_usTriangles = 0;
};
