#pragma once

#include "scene/bezier/NiBezierPatch.h"

#include <cstdint>

// The abstract triangular patch. Parameters (u, v) with u, v >= 0 and u + v <= 1 are handled
// on an integer grid of 1/128 units (129 points a side, index v (259 - v) / 2 + u); corner 0 is
// (0, 0), corner 1 (1, 0), corner 2 (0, 1); edge 0 runs from corner 0 to 1, edge 1 from 0 to 2,
// edge 2 from 1 to 2. Adaptive tessellation subdivides recursively, splitting an edge below the
// requested level only when it is long on screen, curved, and the triangle across it exists at
// the same size; on the patch boundary the neighbouring patch of the mesh is asked. The degree
// classes supply the basis and the flatness test.
//
// Contents: grid / neighbours / tessellation / edge decisions and neighbour queries / stream.
class NiBezierTriangle : public NiBezierPatch
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint8_t MAX_LEVEL = 7;
    static constexpr uint16_t GRID_SIZE = 128;
    static constexpr uint32_t GridIndex(uint32_t uiU, uint32_t uiV) { return uiV * (259 - uiV) / 2 + uiU; }

    ~NiBezierTriangle() override;

    //--- Neighbours: per edge, the index among the mesh's children of the patch sharing it and
    // the code of its edge (0 none, e + 1 same direction, -(e + 1) opposite). ---
    void SetEdgeNeighbor(uint16_t usEdge, uint32_t uiIndex, int16_t sCode);
    uint32_t GetNeighborIndex(uint16_t usEdge) const { return m_auiNeighborIndex[usEdge]; }
    int16_t GetNeighborEdge(uint16_t usEdge) const { return m_asNeighborEdge[usEdge]; }
    uint8_t GetPassParity() const { return m_bPassParity; }
    // Whether grid point t of the edge was decided in the last adaptive tessellation.
    bool GetSplitBit(uint16_t usEdge, uint16_t usT) const;

    uint8_t GetMaxLevel() const override;
    // The Bernstein weights of the degree (with their derivatives when the patch keeps
    // normals); control point (i, j) is entry j (2n + 3 - j) / 2 + i.
    void ComputeBasis(float fU, float fV) override;
    // The flatness test: split when the bend along the edge, times its squared span, exceeds
    // the tolerance times the corners' squared distance.
    bool TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB) override;
    bool IsEdgeSplit(uint16_t usT0, uint16_t usT1, uint8_t ucCallerMax, uint8_t ucMinLevel,
                     uint8_t ucCallerParity, int16_t sCode) override;
    void TessellateUniform(uint8_t ucLevel) override;
    void TessellateAdaptive(uint8_t ucLevel) override;

    virtual void SubdivideTriangle(uint8_t ucDepth, uint8_t ucLevel, uint16_t usU, uint16_t usV,
                                   bool bInverted, const uint8_t aucFlags[3]);
    virtual bool CanSplitOuterEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                   uint8_t ucLevel, uint16_t usEdge);
    virtual bool CanSplitInnerEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                   uint8_t ucLevel, bool bInverted);
    // Whether the edge from A to B is long enough on screen to split.
    bool TestScreenSize(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB);

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiBezierTriangle();
    NiBezierTriangle(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors,
                     bool bNormals);
    NiBezierTriangle(uint16_t usDegree, uint16_t* pusIndices, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                     NiColorA* pkColors, bool bNormals, uint16_t usStride);

    static constexpr uint16_t PointCount(uint32_t uiDegree)
    {
        return static_cast<uint16_t>((uiDegree + 1) * (uiDegree + 2) / 2);
    }
    // The degree of the concrete class.
    virtual uint16_t GetClassDegree() const = 0;
    bool IsValidShape(uint16_t usDegree, uint16_t usCount) const override;
    void CopyToClone(NiBezierTriangle* pkClone);

    // Sum over the control points of the second derivative of their weights along the kind's
    // direction (0: d/du, 1: d/dv, 2: d/dv - d/du) at (u, v), times the points.
    NiPoint3 SecondDerivative(uint32_t uiKind, float fU, float fV) const;
    // Degree changes: this patch sampled at the new degree's grid points (i / n, j / n) in
    // control-point order gives the new patch's texture coordinates and colours.
    void SampleDegreeGrid(uint16_t usDegree, NiTexCoord*& pkTextureCoords, NiColorA*& pkColors);
    // The new degree's control points: elevation by one, or the corners with every edge's
    // inner points replaced (and, for a cubic, the interior point recovered).
    NiPoint3* ElevatedPoints() const;
    NiPoint3* ReducedPoints(uint16_t usDegree) const;
    template <class TPatch> TPatch* MakeDegreeChange(NiPoint3* pkPoints)
    {
        NiTexCoord* pkTextureCoords = nullptr;
        NiColorA* pkColors = nullptr;
        SampleDegreeGrid(TPatch::DEGREE, pkTextureCoords, pkColors);
        TPatch* pkPatch = new TPatch(pkPoints, pkTextureCoords, pkColors, GetNormalsWanted());
        FinishDegreeChange(pkPatch);
        return pkPatch;
    }
    // A boundary edge's points in order from one corner to the other (degree + 1 of them).
    void GetEdgePoints(uint32_t uiEdge, NiPoint3* pkEdge) const;

    uint32_t m_auiNeighborIndex[3] = {0, 0, 0};
    int16_t m_asNeighborEdge[3] = {0, 0, 0};
    float m_afCornerDistSqr[3] = {0.0f, 0.0f, 0.0f};
    uint8_t m_bPassParity = 0;
    // Bits 0..128 of each edge; zeroed so that a query before the first adaptive pass reads
    // "undecided" rather than whatever the memory held.
    uint8_t m_aaucSplitBits[3][17] = {};

private:
    // Records and answers the decision of an edge, running the given crack check when the
    // screen and flatness tests pass.
    template <class TCheck>
    bool CommonCheck(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, TCheck&& kCheck);
    // Decides the edge E (in column order) with parity p: inner call when p, else outer.
    bool CheckParentEdge(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, uint8_t ucLevel, bool bParity,
                         bool bInner, uint16_t usEdge, bool bOuterReversed);
    NiPoint3 GridPosition(uint16_t usU, uint16_t usV);
    // Vertex of a grid point for an emitted triangle (cache), or none.
    uint16_t CachedVertex(uint32_t uiU, uint32_t uiV) const;
    // Gives the midpoint of A and B a vertex unless it holds one.
    void EnsureVertex(uint32_t uiU, uint32_t uiV);
};
