#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>
#include <memory>
#include <vector>

// Where a ray meets a scene graph. The picker holds the query options, the object to pick
// from and the records of the hits; Pick runs the ray through the target's pick operation
// (nodes pass it to their children, triangle geometry tests its triangles) and then sorts the
// records by distance or keeps only the nearest.
//
// Contents: options / target / results / Pick / what the pick operations call.
class NiPicker
{
public:
    // Hit mode: every hit, or the nearest (first) one.
    enum HitMode : int32_t
    {
        FIND_ALL = 0,
        FIND_FIRST = 1
    };
    // Ordering: sort (or reduce) by distance, or keep the order found.
    enum Ordering : int32_t
    {
        SORT = 0,
        NO_SORT = 1
    };
    // Test kind: bounding spheres only, or triangles.
    enum TestKind : int32_t
    {
        BOUND_INTERSECT = 0,
        TRIANGLE_INTERSECT = 1
    };
    // Coordinate space of hit points and normals.
    enum CoordinateSpace : int32_t
    {
        MODEL_COORDINATES = 0,
        WORLD_COORDINATES = 1
    };

    // One hit. Bounds-only records have a zero point, distance, indices, texture coordinate
    // and normal, and the colour (0, 0, 0, 0).
    class Record
    {
    public:
        explicit Record(NiAVObject* pkObject) : m_spObject(pkObject) {}

        NiRefPtr<NiAVObject> m_spObject;
        NiPoint3 m_kPoint = NiPoint3::ZERO;
        // The ray parameter t of the point: origin + t direction.
        float m_fDistance = 0.0f;
        uint16_t m_usTriangle = 0;
        uint16_t m_ausVertex[3] = {0, 0, 0};
        NiTexCoord m_kTexture = NiTexCoord::ZERO;
        NiPoint3 m_kNormal = NiPoint3::ZERO;
        NiColorA m_kColor = NiColorA(0.0f, 0.0f, 0.0f, 0.0f);
    };

    NiPicker() = default;
    NiPicker(const NiPicker&) = delete;
    NiPicker& operator=(const NiPicker&) = delete;

    //--- Options. ---
    void SetHitMode(int32_t iMode) { m_iHitMode = iMode; }
    int32_t GetHitMode() const { return m_iHitMode; }
    void SetOrdering(int32_t iOrdering) { m_iOrdering = iOrdering; }
    int32_t GetOrdering() const { return m_iOrdering; }
    void SetTestKind(int32_t iKind) { m_iTestKind = iKind; }
    int32_t GetTestKind() const { return m_iTestKind; }
    void SetCoordinateSpace(int32_t iSpace) { m_iCoordinateSpace = iSpace; }
    int32_t GetCoordinateSpace() const { return m_iCoordinateSpace; }
    void SetFrontFacesOnly(bool bOnly) { m_bFrontFacesOnly = bOnly; }
    bool GetFrontFacesOnly() const { return m_bFrontFacesOnly; }
    void SetSkipAppCulled(bool bSkip) { m_bSkipAppCulled = bSkip; }
    bool GetSkipAppCulled() const { return m_bSkipAppCulled; }
    void SetUseBoxTrees(bool bUse) { m_bUseBoxTrees = bUse; }
    bool GetUseBoxTrees() const { return m_bUseBoxTrees; }
    void SetWantTexture(bool bWant) { m_bWantTexture = bWant; }
    bool GetWantTexture() const { return m_bWantTexture; }
    void SetWantNormal(bool bWant) { m_bWantNormal = bWant; }
    bool GetWantNormal() const { return m_bWantNormal; }
    // Normals interpolated from the vertex normals rather than the face normal.
    void SetNormalFromVertexNormals(bool bUse) { m_bNormalFromVertexNormals = bUse; }
    bool GetNormalFromVertexNormals() const { return m_bNormalFromVertexNormals; }
    void SetWantColor(bool bWant) { m_bWantColor = bWant; }
    bool GetWantColor() const { return m_bWantColor; }

    //--- Target. ---
    void SetTarget(NiAVObject* pkTarget) { m_spTarget = pkTarget; }
    NiAVObject* GetTarget() const { return m_spTarget; }

    //--- Results: slots that may be empty after a reduction. ---
    uint32_t GetSize() const { return static_cast<uint32_t>(m_kResults.size()); }
    // The number of records present.
    uint32_t GetCount() const;
    // The record in a slot, or null.
    Record* GetAt(uint32_t uiIndex) const;
    Record* GetLastRecord() const { return m_pkLastRecord; }
    void ClearResults();

    // Runs the ray (the direction need not be unit length) through the target; without the
    // append flag the previous records go first. True when a record is present afterwards.
    // Without a target nothing is hit.
    bool Pick(const NiPoint3& kOrigin, const NiPoint3& kDirection, bool bAppend);

    //--- For the pick operations of scene objects. ---
    // A new record for the object in the first empty slot (or a new one at the end); it
    // becomes the last record.
    Record* AddRecord(NiAVObject* pkObject);

private:
    void SortByDistance();
    void KeepNearest();

    int32_t m_iHitMode = FIND_ALL;
    int32_t m_iOrdering = SORT;
    int32_t m_iTestKind = TRIANGLE_INTERSECT;
    int32_t m_iCoordinateSpace = WORLD_COORDINATES;
    bool m_bFrontFacesOnly = true;
    bool m_bSkipAppCulled = false;
    bool m_bUseBoxTrees = false;
    NiRefPtr<NiAVObject> m_spTarget;
    std::vector<std::unique_ptr<Record>> m_kResults;
    Record* m_pkLastRecord = nullptr;
    bool m_bWantTexture = false;
    bool m_bWantNormal = false;
    bool m_bNormalFromVertexNormals = false;
    bool m_bWantColor = false;
};
