#pragma once

#include "scene/graph/NiTriShapeData.h"

#include <algorithm>
#include <cstdint>

// A triangle list of which only a leading part is in use: the first active vertices take part
// in drawing, bounds and normals, the first active triangles are drawn. Its owner changes the
// active counts as the shape grows and shrinks within the arrays.
class NiTriShapeDynamicData : public NiTriShapeData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriShapeDynamicData();
    // The bound covers the active vertices only.
    NiTriShapeDynamicData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                          NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList,
                          uint16_t usActiveVertices, uint16_t usActiveTriangles);

    // Active counts never exceed the totals (also after SetData gives other arrays).
    void SetActiveVertexCount(uint16_t usActive) override;
    uint16_t GetActiveVertexCount() const override { return std::min(m_usActiveVertices, m_usVertices); }
    void SetActiveTriangleCount(uint16_t usActive) override;
    uint16_t GetActiveTriangleCount() const override { return std::min(m_usActiveTriangles, m_usTriangles); }

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    uint16_t m_usActiveVertices = 0;
    uint16_t m_usActiveTriangles = 0;
};
