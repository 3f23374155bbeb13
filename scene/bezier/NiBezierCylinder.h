#pragma once

#include "scene/bezier/NiBezierPatch.h"

#include <cstdint>
#include <vector>

// A ruled patch between two Bezier curves of the same degree n: S(u, v) = (1 - v) B(u) + v T(u).
// The bottom curve's points are control points 0..n, the top curve's n + 1..2n + 1. The curve
// direction is divided in powers of two, uniformly or adaptively (per row, by flatness alone);
// the straight direction in equal steps: the curves and the inner rows between them. The level
// and the inner rows limit each other so that the triangle list keeps within 16-bit indices.
//
// Contents: rows and limits / basis and evaluation / tessellation / stream and clone.
class NiBezierCylinder : public NiBezierPatch
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The highest degree the float evaluation holds: every binomial stays finite and the
    // largest basis term's powers, at least 2^-n, stay normal floats. A file asking for more
    // fails its load.
    static constexpr uint16_t MAX_DEGREE = 126;

    NiBezierCylinder();
    // Own arrays of 2n + 2 entries, taken over.
    NiBezierCylinder(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors,
                     bool bNormals);
    ~NiBezierCylinder() override;

    uint8_t GetInnerRows() const { return m_ucInnerRows; }
    // Ignored when equal or above GetMaxInnerRows; else re-tessellates at the current level.
    void SetInnerRows(uint8_t ucRows);
    // The most inner rows the current level allows: trunc(2^(15 - level) / 3 - 1), at most 255.
    uint8_t GetMaxInnerRows() const;
    virtual uint16_t GetGridWidth() const;
    virtual uint16_t GetRowCount() const;

    // Stores the level, then tessellates; ignored when equal or above GetMaxLevel.
    void SetLevel(uint8_t ucLevel) override;
    // trunc(15 - log2(3 (inner rows + 1))).
    uint8_t GetMaxLevel() const override;
    uint16_t Evaluate(float fU, float fV) override;
    // The curves' basis at u (v is not used).
    void ComputeBasis(float fU, float fV) override;
    void TessellateUniform(uint8_t ucLevel) override;
    void TessellateAdaptive(uint8_t ucLevel) override;
    // Whether the row segment from uA to uB (grid positions; vA is the row) bends enough to
    // split; splitting gives its middle a vertex.
    bool TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB) override;
    virtual void SubdivideInterval(uint8_t ucDepth, uint8_t ucMinLevel, uint32_t uiStart,
                                   std::vector<uint32_t>& kScratch);

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    bool IsValidShape(uint16_t usDegree, uint16_t usCount) const override;
    void CopyToClone(NiBezierCylinder* pkClone);
    void AllocatePowerTables();
    void ComputeBinomials();

    uint16_t m_usNumCurvePoints = 0;
    uint16_t m_usNumSecondWeights = 0;
    std::vector<float> m_pfBinomials;
    std::vector<float> m_pfSecondBinomials;
    std::vector<float> m_pfPowers;
    std::vector<float> m_pfComplementPowers;
    uint8_t m_ucInnerRows = 0;

private:
    // The curve tables for the degree.
    void BuildTables();
    void ComputePowers(float t);
    uint16_t EvaluateAt(uint32_t uiIndex);
    float RowParameter(uint32_t uiRow) const;
};
