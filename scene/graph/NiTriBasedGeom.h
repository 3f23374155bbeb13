#pragma once

#include "scene/graph/NiGeometry.h"
#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>
#include <memory>

class NiCollisionReport;
class NiOBBRoot;
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

    //--- Collision. The collision data is the object's box tree, built over its triangles on the
    // first query (or pick) that needs it and kept until the data or the world array changes. ---
    NiOBBRoot* GetCollisionRoot() const { return m_spOBBRoot.get(); }
    void BuildCollisionData(int32_t iBoxTriangles) override;
    void FreeCollisionData() override;
    void FreeWorldVertices() override;
    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;
    // Every triangle pair of the two objects moving with their world velocities; the find
    // reports each touching pair and answers 1 when a callback asked to stop.
    bool TestTrianglePairs(float fDeltaTime, NiTriBasedGeom* pkOther);
    int32_t FindTrianglePairs(float fDeltaTime, NiTriBasedGeom* pkOther, bool bNormals,
                              NiCollisionReport& kReport);
    // This object's triangles against the other's bounding volume (false without one).
    bool TestTrianglesAgainstVolume(float fDeltaTime, NiAVObject* pkOther);
    int32_t FindTrianglesAgainstVolume(float fDeltaTime, NiAVObject* pkOther, bool bNormals,
                                       NiCollisionReport& kReport);
    const ClassRecord* GetDataClassRecord() const override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiTriBasedGeom();
    explicit NiTriBasedGeom(NiTriBasedGeomData* pkData);
    ~NiTriBasedGeom() override;
    // A clone of an object with collision data builds its own.
    void CopyToClone(NiTriBasedGeom* pkClone);
    // Builds the tree over the listed triangles (three indices each), checked against the data.
    void BuildCollisionFromIndices(const uint16_t* pusIndices, uint16_t usTriangles, int32_t iBoxTriangles);

    static void CountDraw(uint32_t uiTriangles, uint32_t uiVertices);

    // The corners of triangle i at the given indices into an array of the data's vertices.
    bool CornersAt(NiPoint3* pkArray, uint16_t usSize, uint16_t usI0, uint16_t usI1, uint16_t usI2,
                   NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) const;

private:
    // The cases of the collision operations; bFind selects the search (its report is filled).
    int32_t Collide(float fDeltaTime, const NiCollisionRecord& kRecord0, const NiCollisionRecord& kRecord1,
                    bool bFind);
    // A volume-only side refined to its own volume from the point converter, when it has none.
    static bool GiveVolumeFromPoints(NiTriBasedGeom* pkObject);

    static DrawStatistics ms_kDrawStatistics;
    std::unique_ptr<NiOBBRoot> m_spOBBRoot;
};
