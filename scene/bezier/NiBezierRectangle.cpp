#include "scene/bezier/NiBezierRectangle.h"

#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Contents: construction and neighbours / basis and flatness / tessellation / cell subdivision /
// edge decisions / neighbour queries / stream.

NiImplementRTTI(NiBezierRectangle, NiBezierPatch);
NiImplementAbstractLoader(NiBezierRectangle);

namespace
{
constexpr float GRID_STEP = 0.015625f; // 1 / 64
constexpr int32_t GRID = NiBezierRectangle::GRID_SIZE;

bool Odd(int32_t iValue, int32_t iLength)
{
    return ((iValue / iLength) & 1) != 0;
}

// The Bernstein polynomial i of the degree at t, and its derivative.
float Bernstein(uint32_t uiDegree, int32_t i, float t)
{
    if (i < 0 || i > int32_t(uiDegree))
        return 0.0f;
    const float s = 1.0f - t;
    static constexpr float afBinomial[4][4] = {{1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
    float f = afBinomial[uiDegree][i];
    for (int32_t k = 0; k < i; ++k)
        f *= t;
    for (int32_t k = i; k < int32_t(uiDegree); ++k)
        f *= s;
    return f;
}

float BernsteinDerivative(uint32_t uiDegree, int32_t i, float t)
{
    return uiDegree * (Bernstein(uiDegree - 1, i - 1, t) - Bernstein(uiDegree - 1, i, t));
}

// The nine named points of a cell, and its four quadrants.
enum CellPoint
{
    P0,
    P1,
    P2,
    P3,
    BM,
    LM,
    RM,
    TM,
    CE
};
enum Quadrant
{
    BOTTOM_LEFT,
    BOTTOM_RIGHT,
    TOP_LEFT,
    TOP_RIGHT
};

struct CellPattern
{
    uint8_t m_ucQuadrants; // bit q: recurse into quadrant q
    uint8_t m_ucTriangles;
    CellPoint m_aaeTriangle[6][3];
};

// By split flags (bottom << 3 | left << 2 | right << 1 | top); pattern 0 is the parity case.
constexpr CellPattern CELL_PATTERNS[16] = {
    {0, 0, {}},
    {0, 5, {{CE, TM, P2}, {CE, P2, P0}, {CE, P0, P1}, {CE, P1, P3}, {CE, P3, TM}}},
    {0, 5, {{CE, RM, P3}, {CE, P3, P2}, {CE, P2, P0}, {CE, P0, P1}, {CE, P1, RM}}},
    {1 << TOP_RIGHT, 4, {{CE, TM, P2}, {CE, P2, P0}, {CE, P0, P1}, {CE, P1, RM}}},
    {0, 5, {{CE, LM, P0}, {CE, P0, P1}, {CE, P1, P3}, {CE, P3, P2}, {CE, P2, LM}}},
    {1 << TOP_LEFT, 4, {{CE, LM, P0}, {CE, P0, P1}, {CE, P1, P3}, {CE, P3, TM}}},
    {0, 6, {{CE, LM, P0}, {CE, P0, P1}, {CE, P1, RM}, {CE, RM, P3}, {CE, P3, P2}, {CE, P2, LM}}},
    {(1 << TOP_LEFT) | (1 << TOP_RIGHT), 3, {{CE, LM, P0}, {CE, P0, P1}, {CE, P1, RM}}},
    {0, 5, {{CE, P0, BM}, {CE, P2, P0}, {CE, P3, P2}, {CE, P1, P3}, {CE, BM, P1}}},
    {0, 6, {{CE, P0, BM}, {CE, P2, P0}, {CE, TM, P2}, {CE, P3, TM}, {CE, P1, P3}, {CE, BM, P1}}},
    {1 << BOTTOM_RIGHT, 4, {{CE, P0, BM}, {CE, P2, P0}, {CE, P3, P2}, {CE, RM, P3}}},
    {(1 << BOTTOM_RIGHT) | (1 << TOP_RIGHT), 3, {{CE, P0, BM}, {CE, P2, P0}, {CE, TM, P2}}},
    {1 << BOTTOM_LEFT, 4, {{CE, P2, LM}, {CE, P3, P2}, {CE, P1, P3}, {CE, BM, P1}}},
    {(1 << BOTTOM_LEFT) | (1 << TOP_LEFT), 3, {{CE, P3, TM}, {CE, P1, P3}, {CE, BM, P1}}},
    {(1 << BOTTOM_LEFT) | (1 << BOTTOM_RIGHT), 3, {{CE, P2, LM}, {CE, P3, P2}, {CE, RM, P3}}},
    {0xF, 0, {}},
};
} // namespace

//--- Construction and neighbours ----------------------------------------------------------------

NiBezierRectangle::NiBezierRectangle() = default;

NiBezierRectangle::NiBezierRectangle(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                                     NiColorA* pkColors, bool bNormals)
    : NiBezierEdgePatch(usDegree, static_cast<uint16_t>((usDegree + 1) * (usDegree + 1)), pkPoints,
                        pkTextureCoords, pkColors, bNormals)
{
}

NiBezierRectangle::NiBezierRectangle(uint16_t usDegree, uint16_t* pusIndices, NiPoint3* pkPoints,
                                     NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals,
                                     uint16_t usStride)
    : NiBezierEdgePatch(usDegree, static_cast<uint16_t>((usDegree + 1) * (usDegree + 1)), pusIndices,
                        pkPoints, pkTextureCoords, pkColors, bNormals, usStride)
{
}

NiBezierRectangle::~NiBezierRectangle() = default;

uint8_t NiBezierRectangle::GetMaxLevel() const
{
    return MAX_LEVEL;
}

bool NiBezierRectangle::IsValidShape(uint16_t usDegree, uint16_t usCount) const
{
    return usDegree == GetClassDegree() && usCount == (usDegree + 1) * (usDegree + 1);
}

//--- Basis and flatness -------------------------------------------------------------------------

void NiBezierRectangle::ComputeBasis(float fU, float fV)
{
    const uint32_t d = m_usDegree;
    float afU[4], afV[4], afDU[4], afDV[4];
    for (uint32_t i = 0; i <= d; ++i)
    {
        afU[i] = Bernstein(d, int32_t(i), fU);
        afV[i] = Bernstein(d, int32_t(i), fV);
        afDU[i] = BernsteinDerivative(d, int32_t(i), fU);
        afDV[i] = BernsteinDerivative(d, int32_t(i), fV);
    }
    const bool bDerivatives = m_pkNormalArray != nullptr;
    for (uint32_t j = 0; j <= d; ++j)
    {
        for (uint32_t i = 0; i <= d; ++i)
        {
            const uint32_t uiIndex = i + (d + 1) * j;
            m_pfBasis[uiIndex] = afU[i] * afV[j];
            if (bDerivatives)
            {
                m_pfBasisU[uiIndex] = afDU[i] * afV[j];
                m_pfBasisV[uiIndex] = afU[i] * afDV[j];
            }
        }
    }
}

bool NiBezierRectangle::TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB)
{
    const uint32_t d = m_usDegree;
    const bool bAlongU = usVA == usVB;
    const float t = (bAlongU ? usVA : usUA) * GRID_STEP;
    const int32_t iStart = bAlongU ? usUA : usVA;
    const int32_t iEnd = bAlongU ? usUB : usVB;
    NiPoint3 akQ[4];
    for (uint32_t c = 0; c <= d; ++c)
    {
        akQ[c] = NiPoint3(0.0f, 0.0f, 0.0f);
        for (uint32_t k = 0; k <= d; ++k)
        {
            const uint32_t uiIndex = bAlongU ? c + (d + 1) * k : k + (d + 1) * c;
            akQ[c] += ControlPoint(uiIndex) * Bernstein(d, int32_t(k), t);
        }
    }
    const float fDelta = (iEnd - iStart) * GRID_STEP;
    NiPoint3 kD;
    if (d == 2)
    {
        kD = (akQ[0] - akQ[1] * 2.0f + akQ[2]) * 2.0f;
    }
    else
    {
        const float m = ((iStart + iEnd) / 2) * GRID_STEP;
        kD = ((akQ[0] - akQ[1] * 2.0f + akQ[2]) * (1.0f - m) + (akQ[1] - akQ[2] * 2.0f + akQ[3]) * m) * 6.0f;
    }
    return fDelta * fDelta * kD.SqrLength() > m_fFlatnessTolerance * (akQ[d] - akQ[0]).SqrLength();
}

//--- Tessellation -------------------------------------------------------------------------------

void NiBezierRectangle::TessellateUniform(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    m_usNumVertices = static_cast<uint16_t>((n + 1) * (n + 1));
    m_usNumTriangles = static_cast<uint16_t>(2 * n * n);
    AllocateOutput();
    const float fStep = 1.0f / static_cast<float>(n);
    for (uint32_t j = 0; j <= n; ++j)
        for (uint32_t i = 0; i <= n; ++i)
            Evaluate(i * fStep, j * fStep);
    AddGridTriangles(n, n);
    FinishOutput();
}

void NiBezierRectangle::TessellateAdaptive(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    m_usNumVertices = static_cast<uint16_t>((n + 1) * (n + 1));
    m_usNumTriangles = static_cast<uint16_t>(2 * n * n);
    AllocateOutput();
    Evaluate(0.0f, 0.0f);
    Evaluate(1.0f, 0.0f);
    Evaluate(0.0f, 1.0f);
    Evaluate(1.0f, 1.0f);

    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    kCache.NextGeneration();
    kCache.Store(GridIndex(0, 0), 0);
    kCache.Store(GridIndex(GRID, 0), 1);
    kCache.Store(GridIndex(0, GRID), 2);
    kCache.Store(GridIndex(GRID, GRID), 3);
    ClearSplitBits();

    const uint8_t aucAll[4] = {1, 1, 1, 1};
    SubdivideCell(0, ucLevel, 0, aucAll);

    RecordSplitBits(
        [](uint32_t e, uint32_t t)
        {
            const uint32_t auiIndex[4] = {GridIndex(t, 0), GridIndex(0, t), GridIndex(GRID, t),
                                          GridIndex(t, GRID)};
            return auiIndex[e];
        });
    FinishOutput();
}

void NiBezierRectangle::EnsureVertex(uint32_t uiU, uint32_t uiV)
{
    EnsureCachedVertex(GridIndex(uiU, uiV), uiU * GRID_STEP, uiV * GRID_STEP);
}

void NiBezierRectangle::SubdivideCell(uint8_t ucDepth, uint8_t ucMinLevel, uint16_t usCorner,
                                      const uint8_t aucParentSplits[4])
{
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    const uint32_t h = 1u << (MAX_LEVEL - ucDepth);
    const uint32_t cv = usCorner / 65u;
    const uint32_t cu = usCorner - 65u * cv;
    const uint32_t g = h / 2;
    const uint32_t auiU[9] = {cu, cu + h, cu, cu + h, cu + g, cu, cu + h, cu + g, cu + g};
    const uint32_t auiV[9] = {cv, cv, cv + h, cv + h, cv, cv + g, cv + g, cv + h, cv + g};
    // Edge k: its two ends and its midpoint.
    const CellPoint aeEdge[4][3] = {{P0, P1, BM}, {P0, P2, LM}, {P1, P3, RM}, {P2, P3, TM}};

    uint8_t aucSplit[4] = {0, 0, 0, 0};
    if (ucDepth < MAX_LEVEL)
    {
        for (uint16_t k = 0; k < 4; ++k)
        {
            const CellPoint eA = aeEdge[k][0], eB = aeEdge[k][1], eM = aeEdge[k][2];
            const uint16_t usUA = uint16_t(auiU[eA]), usVA = uint16_t(auiV[eA]);
            const uint16_t usUB = uint16_t(auiU[eB]), usVB = uint16_t(auiV[eB]);
            const uint32_t uiMid = GridIndex(auiU[eM], auiV[eM]);
            bool bSplit = false;
            uint16_t usVertex;
            if (ucDepth < ucMinLevel)
                bSplit = true;
            else if (aucParentSplits[k] && kCache.Lookup(uiMid, usVertex))
                bSplit = usVertex != NiBezierVertexCache::NONE;
            else if (aucParentSplits[k])
                bSplit = TestScreenSize(usUA, usVA, usUB, usVB) && TestSubdivision(usUA, usVA, usUB, usVB) &&
                         CanSplitOuterEdge(usUA, usVA, usUB, usVB, ucMinLevel, k);
            aucSplit[k] = bSplit ? 1 : 0;
            if (bSplit)
            {
                EnsureVertex(auiU[CE], auiV[CE]);
                EnsureVertex(auiU[eM], auiV[eM]);
            }
            else
            {
                kCache.Store(uiMid, NiBezierVertexCache::NONE);
            }
        }
    }

    const uint32_t uiPattern = (aucSplit[0] << 3) | (aucSplit[1] << 2) | (aucSplit[2] << 1) | aucSplit[3];
    const CellPattern& kPattern = CELL_PATTERNS[uiPattern];
    const uint16_t ausQuadrant[4] = {usCorner, uint16_t(usCorner + g), uint16_t(usCorner + 65 * g),
                                     uint16_t(usCorner + 65 * g + g)};
    for (uint32_t q = 0; q < 4; ++q)
    {
        if (kPattern.m_ucQuadrants & (1u << q))
            SubdivideCell(static_cast<uint8_t>(ucDepth + 1), ucMinLevel, ausQuadrant[q], aucSplit);
    }

    auto Emit = [&](CellPoint eA, CellPoint eB, CellPoint eC)
    {
        AddCachedTriangle(GridIndex(auiU[eA], auiV[eA]), GridIndex(auiU[eB], auiV[eB]),
                          GridIndex(auiU[eC], auiV[eC]));
    };
    if (uiPattern == 0)
    {
        // Unsplit cells alternate their diagonals like a checkerboard.
        if (((cu / h + cv / h) & 1) == 0)
            Emit(P0, P3, P2), Emit(P0, P1, P3);
        else
            Emit(P0, P1, P2), Emit(P1, P3, P2);
        return;
    }
    for (uint32_t t = 0; t < kPattern.m_ucTriangles; ++t)
        Emit(kPattern.m_aaeTriangle[t][0], kPattern.m_aaeTriangle[t][1], kPattern.m_aaeTriangle[t][2]);
}

//--- Edge decisions -----------------------------------------------------------------------------

NiPoint3 NiBezierRectangle::GridPosition(uint16_t usU, uint16_t usV)
{
    return CachedPosition(GridIndex(usU, usV), usU == 0 && usV == 0, true, usU * GRID_STEP, usV * GRID_STEP);
}

bool NiBezierRectangle::TestScreenSize(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB)
{
    if (!m_pkCamera)
        return false;
    return TestScreenSpan(GridPosition(usUA, usVA), GridPosition(usUB, usVB));
}

bool NiBezierRectangle::DecideSegment(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, uint8_t ucMinLevel,
                                      bool bInner, bool bHalf, uint16_t usEdge)
{
    // Segments climbed to from a malformed neighbour query may leave the grid: such a
    // segment imposes nothing.
    auto OnGrid = [](int32_t iU, int32_t iV) { return iU >= 0 && iV >= 0 && iU <= GRID && iV <= GRID; };
    if (!OnGrid(iUA, iVA) || !OnGrid(iUB, iVB))
        return true;
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    const uint32_t uiMidU = uint32_t(iUA + iUB) / 2;
    const uint32_t uiMidV = uint32_t(iVA + iVB) / 2;
    const uint32_t uiMid = GridIndex(uiMidU, uiMidV);
    uint16_t usVertex;
    if (IsCurrentPatch() && kCache.Lookup(uiMid, usVertex))
        return usVertex != NiBezierVertexCache::NONE;
    const uint16_t usUA = uint16_t(iUA), usVA = uint16_t(iVA), usUB = uint16_t(iUB), usVB = uint16_t(iVB);
    const bool bSplit = TestScreenSize(usUA, usVA, usUB, usVB) && TestSubdivision(usUA, usVA, usUB, usVB) &&
                        (bInner ? CanSplitInnerEdge(usUA, usVA, usUB, usVB, ucMinLevel, bHalf)
                                : CanSplitOuterEdge(usUA, usVA, usUB, usVB, ucMinLevel, usEdge));
    if (IsCurrentPatch())
    {
        if (bSplit)
            EnsureVertex(uiMidU, uiMidV);
        else
            kCache.Store(uiMid, NiBezierVertexCache::NONE);
    }
    return bSplit;
}

bool NiBezierRectangle::CanSplitOuterEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                          uint8_t ucMinLevel, uint16_t usEdge)
{
    const int32_t uA = std::min(usUA, usUB), uB = std::max(usUA, usUB);
    const int32_t vA = std::min(usVA, usVB), vB = std::max(usVA, usVB);
    const bool bHorizontal = usEdge == 0 || usEdge == 3;
    const int32_t iLength = bHorizontal ? uB - uA : vB - vA;
    if (iLength <= 0 || usEdge > 3 || ucMinLevel > MAX_LEVEL)
        return true;
    if (std::countr_zero(uint32_t(iLength)) >= MAX_LEVEL - ucMinLevel)
        return true;
    const int32_t iCross = bHorizontal ? vA : uA;
    if (Odd(iCross, iLength))
        return true;

    const bool bBoundary = (usEdge == 0 && vA == 0) || (usEdge == 3 && vA == GRID) ||
                           (usEdge == 1 && uA == 0) || (usEdge == 2 && uA == GRID);
    if (bBoundary)
    {
        const int16_t sCode = m_asNeighborEdge[usEdge];
        NiRefPtr<NiBezierPatch> spNeighbor = sCode != 0 ? GetNeighbor(m_auiNeighborIndex[usEdge]) : nullptr;
        if (!spNeighbor)
            return true;
        const uint16_t usT0 = static_cast<uint16_t>(bHorizontal ? uA : vA);
        const uint16_t usT1 = static_cast<uint16_t>(bHorizontal ? uB : vB);
        return spNeighbor->IsEdgeSplit(usT0, usT1, MAX_LEVEL, ucMinLevel, m_bPassParity, sCode);
    }

    // The side edge of the parent-sized cell across this cell's edge.
    const int32_t iTwice = 2 * iLength;
    if (bHorizontal)
    {
        const bool bHalf = Odd(uA, iLength);
        const int32_t u = bHalf ? uB : uA;
        const int32_t iFrom = usEdge == 0 ? vA - iTwice : vA;
        return DecideSegment(u, iFrom, u, iFrom + iTwice, ucMinLevel, Odd(u, iTwice), bHalf, bHalf ? 2 : 1);
    }
    const bool bHalf = Odd(vA, iLength);
    const int32_t v = bHalf ? vB : vA;
    const int32_t iFrom = usEdge == 1 ? uA - iTwice : uA;
    return DecideSegment(iFrom, v, iFrom + iTwice, v, ucMinLevel, Odd(v, iTwice), bHalf, bHalf ? 3 : 0);
}

bool NiBezierRectangle::CanSplitInnerEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                          uint8_t ucMinLevel, bool bHalf)
{
    const int32_t uA = std::min(usUA, usUB), uB = std::max(usUA, usUB);
    const int32_t vA = std::min(usVA, usVB), vB = std::max(usVA, usVB);
    const bool bHorizontal = vA == vB;
    const int32_t iLength = bHorizontal ? uB - uA : vB - vA;
    if (iLength <= 0 || ucMinLevel > MAX_LEVEL)
        return true;
    if (std::countr_zero(uint32_t(iLength)) >= MAX_LEVEL - ucMinLevel)
        return true;
    if (!Odd(bHorizontal ? vA : uA, iLength))
        return true;

    // The parent's boundary edge parallel to this middle line.
    if (bHorizontal)
    {
        const int32_t iFrom = Odd(uA, iLength) ? uA - iLength : uA;
        const int32_t iTo = Odd(uA, iLength) ? uB : uB + iLength;
        const int32_t v = bHalf ? vA + iLength : vA - iLength;
        const bool bOuter = v == GRID || v == 0;
        return DecideSegment(iFrom, v, iTo, v, ucMinLevel, !bOuter, bHalf, v == GRID ? 3 : 0);
    }
    const int32_t iFrom = Odd(vA, iLength) ? vA - iLength : vA;
    const int32_t iTo = Odd(vA, iLength) ? vB : vB + iLength;
    const int32_t u = bHalf ? uA + iLength : uA - iLength;
    const bool bOuter = u == GRID || u == 0;
    return DecideSegment(u, iFrom, u, iTo, ucMinLevel, !bOuter, bHalf, u == GRID ? 2 : 1);
}

//--- Neighbour queries --------------------------------------------------------------------------

bool NiBezierRectangle::IsEdgeSplit(uint16_t usA, uint16_t usB, uint8_t ucCallerMax, uint8_t ucMinLevel,
                                    uint8_t ucCallerParity, int16_t sCode)
{
    EdgeQuery kQuery;
    if (!ReadEdgeQuery(usA, usB, ucCallerMax, sCode, kQuery))
        return true;
    if (ucCallerParity != m_bPassParity)
        return ReadSplitBit(kQuery);
    const uint16_t k = kQuery.m_usEdge;
    const int32_t a = kQuery.m_iT0, b = kQuery.m_iT1, iLength = kQuery.m_iSpan;
    const bool bHalf = kQuery.m_bOdd;

    // The segment across the patch edge, into the patch, at the end the caller's cell shares.
    const int32_t m = bHalf ? b : a;
    const int32_t iTwice = 2 * iLength;
    const bool bOuter = m == 0 || m == GRID;
    if (k == 0 || k == 3)
    {
        const int32_t iFrom = k == 0 ? 0 : GRID - iTwice;
        return DecideSegment(m, iFrom, m, iFrom + iTwice, ucMinLevel, !bOuter, bHalf, bHalf ? 2 : 1);
    }
    const int32_t iFrom = k == 1 ? 0 : GRID - iTwice;
    return DecideSegment(iFrom, m, iFrom + iTwice, m, ucMinLevel, !bOuter, bHalf, bHalf ? 3 : 0);
}

//--- Field strings -------------------------------------------------------------------------------------

void NiBezierRectangle::AddFieldStrings(NiFieldStringList& kList) const
{
    NiBezierPatch::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBezierRectangle"));
    for (uint32_t e = 0; e < 4; ++e)
        kList.push_back(NiFieldString("m_asNeighborEdge", m_asNeighborEdge[e]));
}
