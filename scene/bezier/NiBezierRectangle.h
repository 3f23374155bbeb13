#pragma once

#include "scene/bezier/NiBezierEdgePatch.h"

#include <cstdint>

// The abstract rectangular (tensor-product) patch over the unit square. Parameters are handled
// on an integer grid of 1/64 units (65 x 65 points, index u + 65 v); edges are numbered 0 bottom
// (v = 0), 1 left (u = 0), 2 right (u = 1), 3 top (v = 1). Adaptive tessellation subdivides cells
// recursively: a cell edge below the requested level is split only when it is long on screen,
// curved, and the cell across it exists at the same size; on the patch boundary the
// neighbouring patch of the mesh is asked. Unsplit cells are fans around their centre, or two
// triangles with checkerboard diagonals. The degree classes supply the basis.
//
// Contents: grid / tessellation / cell subdivision / edge decisions / neighbour queries.
class NiBezierRectangle : public NiBezierEdgePatch<4, 64>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint8_t MAX_LEVEL = 6;
    static constexpr uint16_t GRID_SIZE = 64;
    static constexpr uint32_t GridIndex(uint32_t uiU, uint32_t uiV) { return uiU + 65 * uiV; }

    ~NiBezierRectangle() override;

    uint8_t GetMaxLevel() const override;
    // The tensor Bernstein weights of the degree (with their derivatives when the patch keeps
    // normals); control point (i, j) is entry i + (d + 1) j.
    void ComputeBasis(float fU, float fV) override;
    // The flatness test on the iso-curve through the segment: split when its bend times the
    // squared span exceeds the tolerance times the squared chord of the whole curve.
    bool TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB) override;
    bool IsEdgeSplit(uint16_t usA, uint16_t usB, uint8_t ucCallerMax, uint8_t ucMinLevel,
                     uint8_t ucCallerParity, int16_t sCode) override;
    void TessellateUniform(uint8_t ucLevel) override;
    void TessellateAdaptive(uint8_t ucLevel) override;

    virtual void SubdivideCell(uint8_t ucDepth, uint8_t ucMinLevel, uint16_t usCorner,
                               const uint8_t aucParentSplits[4]);
    virtual bool CanSplitOuterEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                   uint8_t ucMinLevel, uint16_t usEdge);
    virtual bool CanSplitInnerEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                   uint8_t ucMinLevel, bool bHalf);
    virtual bool TestScreenSize(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB);

    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiBezierRectangle();
    NiBezierRectangle(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors,
                      bool bNormals);
    NiBezierRectangle(uint16_t usDegree, uint16_t* pusIndices, NiPoint3* pkPoints,
                      NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals, uint16_t usStride);

    virtual uint16_t GetClassDegree() const = 0;
    bool IsValidShape(uint16_t usDegree, uint16_t usCount) const override;

private:
    // Decides a segment examined for a crack check: as an inner edge with the half, or as the
    // outer edge of that number.
    bool DecideSegment(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, uint8_t ucMinLevel, bool bInner,
                       bool bHalf, uint16_t usEdge);
    NiPoint3 GridPosition(uint16_t usU, uint16_t usV);
    void EnsureVertex(uint32_t uiU, uint32_t uiV);
};
