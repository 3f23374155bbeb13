#pragma once

#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>

// One triangle strip without indices: triangle i uses vertices i, i + 1, i + 2, and every odd
// triangle is wound the other way so that all face alike. A leading number of triangles is
// active.
class NiTriStripData : public NiTriBasedGeomData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStripData();
    // Triangles + 2 vertices, all triangles active.
    NiTriStripData(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                   uint16_t usTriangles);

    // Fewer than 3 vertices make no triangle; all vertices make all triangles.
    void SetActiveVertexCount(uint16_t usActive) override;
    uint16_t GetActiveVertexCount() const override;
    void SetActiveTriangleCount(uint16_t usActive) override;
    uint16_t GetActiveTriangleCount() const override { return m_usActiveTriCount; }

    // The strip's corners in the order of triangle i: (i, i + 1, i + 2), odd i (i, i + 2, i + 1).
    static void GetTriangleCorners(uint32_t uiTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2);

    // Face normals of the active triangles added at their corners, then unitized.
    void ComputeNormals() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    uint16_t m_usActiveTriCount = 0;
};
