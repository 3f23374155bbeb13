#pragma once

#include "scene/bezier/NiBezierIndexArray.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>
#include <functional>
#include <memory>

class NiBezierPatch;

// A group of Bezier patches sharing one array of control points (with optional texture
// coordinates and colours): each indexed patch child reads its points through its own index
// list, so patches meeting along an edge stay joined when the points move. The mesh carries
// one level for all its patches, and a table of shared cubic edges whose degree-raised points
// (three per edge, the last 3E points of the arrays) it computes itself. Controllers that move
// the points call InterpolateEdgeVertices and RetessellatePatches afterwards.
//
// Contents: construction and building / level and mode / controllers' entry points / the
// scene-object operations / stream and clone.
class NiBezierMesh : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // Object flag bits of meshes: normals for the patches it makes, and adaptive.
    static constexpr uint16_t NORMALS_MASK = 0x0020;
    static constexpr uint16_t ADAPTIVE_MASK = 0x0040;

    NiBezierMesh();
    // Takes the arrays over (made with new[]).
    NiBezierMesh(uint16_t usPoints, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors,
                 bool bNormals);
    ~NiBezierMesh() override;

    uint16_t GetPointCount() const { return m_usNumPoints; }
    NiPoint3* GetPoints() const { return m_pkPoints.get(); }
    NiTexCoord* GetTextureCoords() const { return m_pkTextureCoords.get(); }
    NiColorA* GetColors() const { return m_pkColors.get(); }
    uint16_t GetTextureSetCount() const { return m_usNumTextureSets; }
    uint16_t GetSharedEdgeCount() const { return m_usNumSharedEdges; }
    const NiBezierIndexArray* GetSharedEdges() const { return m_pkSharedEdges.get(); }
    uint8_t GetLevel() const { return m_ucLevel; }
    uint8_t GetMaxLevel() const { return m_ucMaxLevel; }
    bool GetAdaptive() const { return (m_usFlags & ADAPTIVE_MASK) != 0; }

    //--- Building. The patches get no output until AppendEdgePoints, RetessellatePatches or
    // SetLevel. ---
    // Degree 2 to 4 (triangles) or 2 to 3 (rectangles) makes an indexed patch over the mesh's
    // arrays, taking the index list; another degree, or an index outside the points, does
    // nothing (the list stays the caller's) and answers null.
    NiBezierPatch* AddTrianglePatch(uint16_t usDegree, uint16_t* pusIndices);
    NiBezierPatch* AddRectanglePatch(uint16_t usDegree, uint16_t* pusIndices);
    // A quartic triangle from a triangle given with cubic edges (12 indices, taken): corners
    // 0, 3, 11, interior points 5, 6, 9, edges (0 1 2 3), (0 4 8 11), (3 7 10 11). Each edge
    // shares its three raised points with every other triangle given the same edge. The patch
    // reads nothing until AppendEdgePoints makes its edge points. Refused (null, the list stays
    // the caller's) for an index outside the points, for edge points that would not fit 16-bit
    // indices, and once the edge points exist (after AppendEdgePoints, or loaded with them).
    NiBezierPatch* AddElevatedTrianglePatch(uint16_t usDegree, uint16_t* pusIndices);
    // Once, after the elevated triangles: grows the arrays by the edges' points, computes them
    // and tessellates every patch at the mesh level. Nothing when no edge waits for its points.
    void AppendEdgePoints();
    // Records, for every pair of patch children, the edges whose end points coincide.
    void FindPatchNeighbors();

    //--- Level and mode, passed to every patch child. ---
    virtual void SetLevel(uint8_t ucLevel);
    void SetAdaptive(bool bAdaptive);
    void SetFlatnessTolerance(float fTolerance);
    void SetScreenTolerance(float fTolerance);
    void SetCamera(NiCamera* pkCamera);
    void SetTextureSetCount(uint16_t usCount);

    //--- After the shared points change. ---
    // Nothing while the edge points wait for AppendEdgePoints.
    void InterpolateEdgeVertices();
    void RetessellatePatches();
    // Every non-empty child slot, in order, that is a patch.
    void ForEachPatch(const std::function<void(NiBezierPatch&)>& kVisit) const;

    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiBezierMesh* pkClone);

    uint16_t m_usNumPoints = 0;
    uint16_t m_usNumTextureSets = 0;
    std::unique_ptr<NiPoint3[]> m_pkPoints;
    std::unique_ptr<NiTexCoord[]> m_pkTextureCoords;
    std::unique_ptr<NiColorA[]> m_pkColors;
    std::unique_ptr<NiBezierIndexArray> m_pkSharedEdges;
    uint16_t m_usNumSharedEdges = 0;
    uint8_t m_ucLevel = 0;
    uint8_t m_ucMaxLevel = 0;
    // The shared edges' points are not yet in the arrays: the last 3E points are the caller's.
    bool m_bEdgePointsPending = false;

private:
    // Takes a new patch child, lowering the maximum level to its own.
    NiBezierPatch* AttachPatch(NiBezierPatch* pkPatch);
    // A new indexed patch of the class over the mesh's arrays, attached.
    template <class TPatch> NiBezierPatch* AddIndexedPatch(uint16_t* pusIndices, uint32_t uiCount);
    // Whether the index list names only points the arrays hold.
    bool IndicesFit(const uint16_t* pusIndices, uint32_t uiCount) const;
    // Hands the arrays to every indexed patch child whose indices fit them, and tessellates;
    // a load in progress counts each output against its memory bound.
    void LinkPatches(NiStream* pkLoad = nullptr);
};
