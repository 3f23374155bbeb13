#pragma once

#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriShapeData.h"

#include <cstdint>
#include <vector>

// An indexed triangle list in the scene: triangle i is the corners at entries 3i, 3i + 1 and
// 3i + 2 of its data's index list. Drawn through NiRender::DrawTriShape; its controllers hear
// when it was displayed.
class NiTriShape : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriShape() = default;
    explicit NiTriShape(NiTriShapeData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
               NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList);

    NiTriShapeData* GetTriShapeData() const { return static_cast<NiTriShapeData*>(m_spGeomData.Get()); }

    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    //--- Clean-up of the triangle list. Each changes the shape's data in place (shapes that share
    // it see the change) and advances its revision. ---
    // Compare flags: which attributes CompareVertices looks at.
    enum CompareFlags : uint32_t
    {
        COMPARE_POSITION = 1,
        COMPARE_NORMAL = 2,
        COMPARE_COLOR = 4,
        COMPARE_TEXTURE = 8,
        COMPARE_ALL = 15
    };
    // False for the triangle whose indices start at the list position when two of its indices
    // are equal, an edge is near zero, its first two edges differ in length by more than a
    // factor of about 3000, or it is nearly flat at its first corner.
    bool IsTriangleValid(uint32_t uiListPosition) const;
    // Drops the invalid triangles, keeping the order of the others; true when none is left.
    bool RemoveDegenerateTriangles();
    // The raw bytes of the two vertices' attributes in the order position, normal, colour,
    // texture coordinates (each when flagged and present): -1, 0 or 1 at the first that differs.
    virtual int32_t CompareVertices(uint16_t usA, uint16_t usB, uint32_t uiFlags) const;
    // The vertex indices ordered by CompareVertices, and each index's place in that order.
    void SortVertexIndices(uint32_t uiFlags, std::vector<uint16_t>& kSorted,
                           std::vector<uint16_t>& kInverse) const;
    // Merges vertices equal in every attribute, then compacts. The new-to-old map on request.
    void WeldVertices(std::vector<uint16_t>* pkNewToOld = nullptr);
    // Keeps only the vertices the list uses, numbered by first use, and tells the skins. The
    // new-to-old map on request.
    void CompactVertices(std::vector<uint16_t>* pkNewToOld = nullptr);
    // New vertex arrays of the count, old vertex i going to map[i] (none for a negative entry).
    virtual void RemapVertices(uint16_t usNewCount, const int32_t* piMap);
    // The texture-coordinate tolerance of welding; 0, exact welding, unless set.
    static void SetWeldTolerance(float fTolerance);
    static float GetWeldTolerance() { return ms_fWeldTolerance; }

    const ClassRecord* GetDataClassRecord() const override;
    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    // After the arrays or the list changed: renderers convert the data again, and collision
    // data built for the old triangles goes.
    void DataChanged();

    static float ms_fWeldTolerance;
    static float ms_fWeldToleranceSquared;
};
