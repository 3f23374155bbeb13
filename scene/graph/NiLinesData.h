#pragma once

#include "scene/graph/NiGeometryData.h"

#include <cstdint>
#include <vector>

// Vertices joined by line segments: one connection flag per vertex. A non-zero flag joins the
// vertex to the next one, and the last vertex back to vertex 0, closing the figure; a zero
// flag starts no segment. Lines have no normals.
class NiLinesData : public NiGeometryData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The loader's constructor: no vertices and no flags until loaded or given.
    NiLinesData();
    // Takes every array given (allocated with new[]). Without flags, even vertices get 1 and
    // odd ones 0: separate segments (0, 1), (2, 3) ..., and with an odd count the last vertex
    // joins vertex 0.
    NiLinesData(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor, NiTexCoord* pkTexture,
                uint8_t* pucFlags);
    ~NiLinesData() override;

    uint8_t* GetFlags() const { return m_pFlags; }
    // Deletes the old flags and takes the new ones.
    void ReplaceFlags(uint8_t* pucFlags);
    // Takes the new flags and leaves the old ones to the caller.
    void SetFlagsPointer(uint8_t* pucFlags) { m_pFlags = pucFlags; }

    // The vertex index pairs the flags describe, in vertex order: (i, i + 1) for each set flag
    // below the last vertex, then (last, 0) when the last flag is set. This is what a renderer
    // draws.
    void AppendSegmentIndices(std::vector<uint16_t>& kIndices) const;

    // Lines have no normals to compute.
    void ComputeNormals() override {}

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    uint8_t* m_pFlags = nullptr;
};
