#pragma once

#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>

// Several triangle strips over one vertex array, each strip a run of 16-bit vertex indices. A
// strip of length L holds L - 2 triangles; the strips' indices follow one another in one list.
class NiTriStripsData : public NiTriBasedGeomData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTriStripsData();
    // Takes the two arrays (allocated with new[]) with the vertex arrays.
    NiTriStripsData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                    NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t usStrips, uint16_t* pusStripLengths,
                    uint16_t* pusStripLists);
    ~NiTriStripsData() override;

    uint16_t GetStripCount() const { return m_usStrips; }
    const uint16_t* GetStripLengths() const { return m_pStripLengths; }
    const uint16_t* GetStripLists() const { return m_pStripLists; }
    // Triangles + 2 x strips: the number of indices in the strip lists.
    uint32_t GetStripListLength() const { return m_usTriangles + 2u * m_usStrips; }

    // The vertex indices of triangle i, counted over the strips in order; an odd triangle of a
    // strip swaps its first two corners. Walking up one triangle at a time costs one step per
    // call; other orders walk from the first strip. False past the last triangle.
    bool GetTriangleIndices(uint32_t uiTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) const;

    // Face normals of every strip's triangles added at their corners, then unitized.
    void ComputeNormals() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    void DeleteStrips();

    uint16_t m_usStrips = 0;
    uint16_t* m_pStripLengths = nullptr;
    uint16_t* m_pStripLists = nullptr;

    // Where the last triangle asked for was found. Kept per data object, so it can never
    // describe another object's strips.
    struct StripCursor
    {
        uint32_t m_uiTriangle = UINT32_MAX;
        uint32_t m_uiStrip = 0;
        uint32_t m_uiPosition = 0;
        uint32_t m_uiStripStart = 0;
    };
    mutable StripCursor m_kCursor;
};
