#pragma once

#include "scene/graph/NiGeometry.h"
#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>

class NiRender;

// Geometry made of triangles: triangle access by index (model space, world space, vertex
// indices), which picking reads, the pick rule of triangle geometry, and the draw statistics
// every triangle draw adds to.
class NiTriBasedGeom : public NiGeometry
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // What the triangle draws of the process have drawn since the last reset; the counters
    // wrap as 32-bit values.
    struct DrawStatistics
    {
        uint32_t m_uiObjects = 0;
        uint32_t m_uiTriangles = 0;
        uint32_t m_uiVertices = 0;
    };
    static void ResetDrawStatistics();
    static void GetDrawStatistics(uint32_t& uiObjects, uint32_t& uiTriangles, uint32_t& uiVertices);

    NiTriBasedGeomData* GetTriData() const { return static_cast<NiTriBasedGeomData*>(m_spGeomData.Get()); }

    //--- Triangle access. Each answers false, with nulls or untouched indices, for a triangle
    // the data does not hold. The world form needs the world positions (AllocWorldVertices). ---
    virtual bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) = 0;
    virtual bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) = 0;
    virtual bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) = 0;

    // Where the ray o + t d meets the triangle (p0, p1, p2): the point, t >= 0 and the weights u
    // of p1 and v of p2. False for a ray along the plane, a degenerate triangle, a point outside
    // it, or (with bFrontOnly) a ray that meets the back of the face.
    static bool RayTriangleHit(const NiPoint3& kOrigin, const NiPoint3& kDirection, const NiPoint3& kP0,
                               const NiPoint3& kP1, const NiPoint3& kP2, bool bFrontOnly, NiPoint3& kPoint,
                               float& fT, float& fU, float& fV);

    // Other data no longer fits collision data built for the old.
    void SetGeometryData(NiGeometryData* pkData) override;
    const ClassRecord* GetDataClassRecord() const override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiTriBasedGeom() = default;
    explicit NiTriBasedGeom(NiTriBasedGeomData* pkData) : NiGeometry(pkData) {}

    static void CountDraw(uint32_t uiTriangles, uint32_t uiVertices);

    // The corners of triangle i at the given indices into an array of the data's vertices.
    bool CornersAt(NiPoint3* pkArray, uint16_t usSize, uint16_t usI0, uint16_t usI1, uint16_t usI2,
                   NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) const;

private:
    static DrawStatistics ms_kDrawStatistics;
};
