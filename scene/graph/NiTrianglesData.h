#pragma once

#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>

// A plain triangle list without indices: every three consecutive vertices form one triangle
// (triangle i uses vertices 3i, 3i + 1, 3i + 2). A leading number of triangles is active.
class NiTrianglesData : public NiTriBasedGeomData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTrianglesData();
    // 3 x triangles vertices, all triangles active.
    NiTrianglesData(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                    uint16_t usTriangles);

    // Whole triangles: a vertex count v makes v / 3 triangles active.
    void SetActiveVertexCount(uint16_t usActive) override;
    uint16_t GetActiveVertexCount() const override;
    void SetActiveTriangleCount(uint16_t usActive) override;
    uint16_t GetActiveTriangleCount() const override { return m_usActiveTriCount; }

    // Each triangle's face normal on its three vertices, for all triangles.
    void ComputeNormals() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    uint16_t m_usActiveTriCount = 0;
};
