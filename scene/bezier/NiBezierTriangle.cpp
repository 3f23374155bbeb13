#include "scene/bezier/NiBezierTriangle.h"

#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <bit>
#include <cstring>
#include <vector>

// Contents: construction and neighbours / basis and flatness / tessellation / edge decisions /
// neighbour queries / degree changes / stream.

NiImplementRTTI(NiBezierTriangle, NiBezierPatch);
NiImplementAbstractLoader(NiBezierTriangle);

namespace
{
constexpr float GRID_STEP = 0.0078125f; // 1 / 128
constexpr int32_t GRID = NiBezierTriangle::GRID_SIZE;

uint32_t Log2(uint32_t uiSpan)
{
    return static_cast<uint32_t>(std::countr_zero(uiSpan));
}

bool Bit(int32_t iValue, uint32_t uiBit)
{
    return ((iValue >> uiBit) & 1) != 0;
}

float Factorial(uint32_t n)
{
    float f = 1.0f;
    for (uint32_t i = 2; i <= n; ++i)
        f *= static_cast<float>(i);
    return f;
}

// x^e, 0 for a negative exponent.
float Power(float fX, int32_t iExponent)
{
    if (iExponent < 0)
        return 0.0f;
    float f = 1.0f;
    for (uint32_t e = static_cast<uint32_t>(iExponent); e > 0; --e)
        f *= fX;
    return f;
}
} // namespace

//--- Construction and neighbours ----------------------------------------------------------------

NiBezierTriangle::NiBezierTriangle() = default;

NiBezierTriangle::NiBezierTriangle(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                                   NiColorA* pkColors, bool bNormals)
    : NiBezierEdgePatch(usDegree, PointCount(usDegree), pkPoints, pkTextureCoords, pkColors, bNormals)
{
}

NiBezierTriangle::NiBezierTriangle(uint16_t usDegree, uint16_t* pusIndices, NiPoint3* pkPoints,
                                   NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals,
                                   uint16_t usStride)
    : NiBezierEdgePatch(usDegree, PointCount(usDegree), pusIndices, pkPoints, pkTextureCoords, pkColors,
                        bNormals, usStride)
{
}

NiBezierTriangle::~NiBezierTriangle() = default;

uint8_t NiBezierTriangle::GetMaxLevel() const
{
    return MAX_LEVEL;
}

bool NiBezierTriangle::IsValidShape(uint16_t usDegree, uint16_t usCount) const
{
    return usDegree == GetClassDegree() && usCount == PointCount(usDegree);
}

//--- Basis and flatness -------------------------------------------------------------------------

void NiBezierTriangle::ComputeBasis(float fU, float fV)
{
    const int32_t n = m_usDegree;
    const float fW = 1.0f - fU - fV;
    const bool bDerivatives = m_pkNormalArray != nullptr;
    const float fN = Factorial(n);
    uint32_t uiIndex = 0;
    for (int32_t j = 0; j <= n; ++j)
    {
        for (int32_t i = 0; i <= n - j; ++i, ++uiIndex)
        {
            const int32_t k = n - i - j;
            const float fC = fN / (Factorial(i) * Factorial(j) * Factorial(k));
            const float fUi = Power(fU, i), fVj = Power(fV, j), fWk = Power(fW, k);
            m_pfBasis[uiIndex] = fC * fUi * fVj * fWk;
            if (!bDerivatives)
                continue;
            // d/du and d/dv of u^i v^j w^k with w = 1 - u - v.
            const float fDWk = k * Power(fW, k - 1);
            m_pfBasisU[uiIndex] = fC * fVj * (i * Power(fU, i - 1) * fWk - fUi * fDWk);
            m_pfBasisV[uiIndex] = fC * fUi * (j * Power(fV, j - 1) * fWk - fVj * fDWk);
        }
    }
}

NiPoint3 NiBezierTriangle::SecondDerivative(uint32_t uiKind, float fU, float fV) const
{
    const int32_t n = m_usDegree;
    const float fW = 1.0f - fU - fV;
    const float fN = Factorial(n);
    NiPoint3 kSum(0.0f, 0.0f, 0.0f);
    uint32_t uiIndex = 0;
    for (int32_t j = 0; j <= n; ++j)
    {
        for (int32_t i = 0; i <= n - j; ++i, ++uiIndex)
        {
            const int32_t k = n - i - j;
            const float fC = fN / (Factorial(i) * Factorial(j) * Factorial(k));
            // The two powers that change along the direction (a, b) and the one that stays.
            int32_t a, b;
            float fA, fB, fStay;
            if (uiKind == 0)
            {
                a = i, b = k, fA = fU, fB = fW, fStay = Power(fV, j);
            }
            else if (uiKind == 1)
            {
                a = j, b = k, fA = fV, fB = fW, fStay = Power(fU, i);
            }
            else
            {
                a = i, b = j, fA = fU, fB = fV, fStay = Power(fW, k);
            }
            const float fSecond = a * (a - 1) * Power(fA, a - 2) * Power(fB, b) -
                                  2.0f * a * b * Power(fA, a - 1) * Power(fB, b - 1) +
                                  b * (b - 1) * Power(fA, a) * Power(fB, b - 2);
            kSum += ControlPoint(uiIndex) * (fC * fStay * fSecond);
        }
    }
    return kSum;
}

bool NiBezierTriangle::TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB)
{
    const uint32_t uiKind = usVA == usVB ? 0 : (usUA == usUB ? 1 : 2);
    const float fSpan =
        (uiKind == 0 ? int32_t(usUB) - int32_t(usUA) : int32_t(usVB) - int32_t(usVA)) * GRID_STEP;
    const uint32_t uiMidU = (uint32_t(usUA) + usUB) >> 1;
    const uint32_t uiMidV = (uint32_t(usVA) + usVB) >> 1;
    const float fU = (uiKind == 1 ? usUA : uiMidU) * GRID_STEP;
    const float fV = (uiKind == 0 ? usVA : uiMidV) * GRID_STEP;
    const NiPoint3 kD = SecondDerivative(uiKind, fU, fV);
    return fSpan * (kD.SqrLength() * fSpan) > m_fFlatnessTolerance * m_afCornerDistSqr[uiKind];
}

//--- Tessellation -------------------------------------------------------------------------------

void NiBezierTriangle::TessellateUniform(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    m_usNumVertices = static_cast<uint16_t>((n + 1) * (n + 2) / 2);
    m_usNumTriangles = static_cast<uint16_t>(n * n);
    AllocateOutput();
    const float fStep = 1.0f / static_cast<float>(n);
    for (uint32_t j = 0; j <= n; ++j)
        for (uint32_t i = 0; i <= n - j; ++i)
            Evaluate(i * fStep, j * fStep);
    auto S = [n](uint32_t j) { return static_cast<uint16_t>(j * (2 * n + 3 - j) / 2); };
    for (uint32_t r = 0; r < n; ++r)
    {
        for (uint32_t c = 0; c < n - r; ++c)
        {
            AddTriangle(S(r) + c, S(r) + c + 1, S(r + 1) + c);
            if (c < n - 1 - r)
                AddTriangle(S(r) + c + 1, S(r + 1) + c + 1, S(r + 1) + c);
        }
    }
    FinishOutput();
}

void NiBezierTriangle::TessellateAdaptive(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    m_usNumTriangles = static_cast<uint16_t>(n * n);
    m_usNumVertices = static_cast<uint16_t>((n + 1) * (n + 2) / 2);
    AllocateOutput();
    Evaluate(0.0f, 0.0f);
    Evaluate(1.0f, 0.0f);
    Evaluate(0.0f, 1.0f);

    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    kCache.NextGeneration();
    kCache.Store(GridIndex(0, 0), 0);
    kCache.Store(GridIndex(GRID, 0), 1);
    kCache.Store(GridIndex(0, GRID), 2);

    const NiPoint3& kP0 = GetOutputPosition(0);
    const NiPoint3& kP1 = GetOutputPosition(1);
    const NiPoint3& kP2 = GetOutputPosition(2);
    m_afCornerDistSqr[0] = (kP1 - kP0).SqrLength();
    m_afCornerDistSqr[1] = (kP2 - kP0).SqrLength();
    m_afCornerDistSqr[2] = (kP1 - kP2).SqrLength();
    ClearSplitBits();

    const uint8_t aucAll[3] = {1, 1, 1};
    SubdivideTriangle(0, ucLevel, 0, 0, false, aucAll);

    RecordSplitBits(
        [](uint32_t e, uint32_t t)
        { return e == 0 ? GridIndex(t, 0) : (e == 1 ? GridIndex(0, t) : GridIndex(GRID - t, t)); });
    FinishOutput();
}

void NiBezierTriangle::EnsureVertex(uint32_t uiU, uint32_t uiV)
{
    EnsureCachedVertex(GridIndex(uiU, uiV), uiU * GRID_STEP, uiV * GRID_STEP);
}

void NiBezierTriangle::SubdivideTriangle(uint8_t ucDepth, uint8_t ucLevel, uint16_t usU, uint16_t usV,
                                         bool bInverted, const uint8_t aucFlags[3])
{
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    int32_t m = 1 << (MAX_LEVEL - ucDepth);
    int32_t h = m / 2;
    if (bInverted)
        m = -m, h = -h;
    const int32_t u = usU, v = usV;
    // Corners C0, C1, C2 and the edges 0 (C0-C1), 1 (C0-C2), 2 (C1-C2).
    const int32_t aiCornerU[3] = {u, u + m, u};
    const int32_t aiCornerV[3] = {v, v, v + m};
    const int32_t aiEdgeA[3] = {0, 0, 1};
    const int32_t aiEdgeB[3] = {1, 2, 2};

    uint8_t aucSplit[3] = {0, 0, 0};
    if (ucDepth < MAX_LEVEL)
    {
        for (uint16_t k = 0; k < 3; ++k)
        {
            const uint16_t usUA = static_cast<uint16_t>(aiCornerU[aiEdgeA[k]]);
            const uint16_t usVA = static_cast<uint16_t>(aiCornerV[aiEdgeA[k]]);
            const uint16_t usUB = static_cast<uint16_t>(aiCornerU[aiEdgeB[k]]);
            const uint16_t usVB = static_cast<uint16_t>(aiCornerV[aiEdgeB[k]]);
            const uint32_t uiMidU = (uint32_t(usUA) + usUB) >> 1;
            const uint32_t uiMidV = (uint32_t(usVA) + usVB) >> 1;
            const uint32_t uiMid = GridIndex(uiMidU, uiMidV);
            bool bSplit = false;
            uint16_t usVertex;
            if (ucDepth < ucLevel)
                bSplit = true;
            else if (aucFlags[k] && kCache.Lookup(uiMid, usVertex))
                bSplit = usVertex != NiBezierVertexCache::NONE;
            else if (aucFlags[k])
                bSplit = TestScreenSize(usUA, usVA, usUB, usVB) && TestSubdivision(usUA, usVA, usUB, usVB) &&
                         CanSplitOuterEdge(usUA, usVA, usUB, usVB, ucLevel, k);
            aucSplit[k] = bSplit ? 1 : 0;
            if (bSplit)
                EnsureVertex(uiMidU, uiMidV);
            else
                kCache.Store(uiMid, NiBezierVertexCache::NONE);
        }
    }

    const uint8_t ucNext = static_cast<uint8_t>(ucDepth + 1);
    auto Recurse = [&](int32_t x, int32_t y, bool bInv) {
        SubdivideTriangle(ucNext, ucLevel, static_cast<uint16_t>(x), static_cast<uint16_t>(y), bInv,
                          aucSplit);
    };
    // Grid points by name: C0, C1, C2, M01, M02, M12.
    const int32_t aiU[6] = {u, u + m, u, u + h, u, u + h};
    const int32_t aiV[6] = {v, v, v + m, v, v + h, v + h};
    auto Emit = [&](int a, int b, int c)
    { AddCachedTriangle(GridIndex(aiU[a], aiV[a]), GridIndex(aiU[b], aiV[b]), GridIndex(aiU[c], aiV[c])); };
    enum
    {
        C0,
        C1,
        C2,
        M01,
        M02,
        M12
    };
    switch ((aucSplit[0] << 2) | (aucSplit[1] << 1) | aucSplit[2])
    {
    case 7:
        Recurse(u, v, bInverted);
        Recurse(u + h, v, bInverted);
        Recurse(u, v + h, bInverted);
        Recurse(u + h, v + h, !bInverted);
        break;
    case 6:
        Recurse(u, v, bInverted);
        Emit(M01, C1, M02), Emit(C1, C2, M02);
        break;
    case 5:
        Recurse(u + h, v, bInverted);
        Emit(C0, M01, C2), Emit(M12, C2, M01);
        break;
    case 4:
        Emit(C0, M01, C2), Emit(M01, C1, C2);
        break;
    case 3:
        Recurse(u, v + h, bInverted);
        Emit(C0, C1, M12), Emit(C0, M12, M02);
        break;
    case 2:
        Emit(C0, C1, M02), Emit(C1, C2, M02);
        break;
    case 1:
        Emit(C0, C1, M12), Emit(C0, M12, C2);
        break;
    default:
        Emit(C0, C1, C2);
        break;
    }
}

//--- Edge decisions -----------------------------------------------------------------------------

NiPoint3 NiBezierTriangle::GridPosition(uint16_t usU, uint16_t usV)
{
    return CachedPosition(GridIndex(usU, usV), usU == 0 && usV == 0, false, usU * GRID_STEP, usV * GRID_STEP);
}

bool NiBezierTriangle::TestScreenSize(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB)
{
    if (!m_pkCamera)
        return false;
    return TestScreenSpan(GridPosition(usUA, usVA), GridPosition(usUB, usVB));
}

template <class TCheck>
bool NiBezierTriangle::CommonCheck(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, TCheck&& kCheck)
{
    // Edges climbed to from a malformed neighbour query may leave the grid: such an edge
    // imposes nothing.
    auto OnGrid = [](int32_t iU, int32_t iV) { return iU >= 0 && iV >= 0 && iU + iV <= GRID; };
    if (!OnGrid(iUA, iVA) || !OnGrid(iUB, iVB))
        return true;
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    const uint32_t uiMidU = uint32_t(iUA + iUB) >> 1;
    const uint32_t uiMidV = uint32_t(iVA + iVB) >> 1;
    const uint32_t uiMid = GridIndex(uiMidU, uiMidV);
    uint16_t usVertex;
    if (IsCurrentPatch() && kCache.Lookup(uiMid, usVertex))
        return usVertex != NiBezierVertexCache::NONE;
    const uint16_t usUA = uint16_t(iUA), usVA = uint16_t(iVA), usUB = uint16_t(iUB), usVB = uint16_t(iVB);
    const bool bSplit =
        TestScreenSize(usUA, usVA, usUB, usVB) && TestSubdivision(usUA, usVA, usUB, usVB) && kCheck();
    if (IsCurrentPatch())
    {
        if (bSplit)
            EnsureVertex(uiMidU, uiMidV);
        else
            kCache.Store(uiMid, NiBezierVertexCache::NONE);
    }
    return bSplit;
}

bool NiBezierTriangle::CheckParentEdge(int32_t iUA, int32_t iVA, int32_t iUB, int32_t iVB, uint8_t ucLevel,
                                       bool bParity, bool bInner, uint16_t usEdge, bool bOuterReversed)
{
    return CommonCheck(iUA, iVA, iUB, iVB,
                       [&]()
                       {
                           if (bParity)
                               return CanSplitInnerEdge(uint16_t(iUA), uint16_t(iVA), uint16_t(iUB),
                                                        uint16_t(iVB), ucLevel, bInner);
                           if (bOuterReversed)
                               return CanSplitOuterEdge(uint16_t(iUB), uint16_t(iVB), uint16_t(iUA),
                                                        uint16_t(iVA), ucLevel, usEdge);
                           return CanSplitOuterEdge(uint16_t(iUA), uint16_t(iVA), uint16_t(iUB),
                                                    uint16_t(iVB), ucLevel, usEdge);
                       });
}

bool NiBezierTriangle::CanSplitOuterEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                         uint8_t ucLevel, uint16_t usEdge)
{
    int32_t uA = usUA, vA = usVA, uB = usUB, vB = usVB;
    const uint32_t k = usEdge;
    const bool bSwapped = vA > vB || (k == 0 && uA > uB);
    if (bSwapped)
        std::swap(uA, uB), std::swap(vA, vB);
    const int32_t d = k == 0 ? uB - uA : vB - vA;
    if (d <= 0 || ucLevel > MAX_LEVEL)
        return true;
    const uint32_t j = Log2(uint32_t(d));
    if (j >= uint32_t(MAX_LEVEL - ucLevel))
        return true;
    const int32_t c = k == 0 ? vA : (k == 1 ? uA : GRID - uA - vA);
    if (Bit(c, j))
        return true;

    const bool bBoundary = (k == 0 && vA == 0) || (k == 1 && uA == 0) || (k == 2 && uA + vA == GRID);
    if (!bSwapped && bBoundary)
    {
        const int16_t sCode = m_asNeighborEdge[k];
        NiRefPtr<NiBezierPatch> spNeighbor = sCode != 0 ? GetNeighbor(m_auiNeighborIndex[k]) : nullptr;
        if (!spNeighbor)
            return true;
        const uint16_t usT0 = static_cast<uint16_t>(k == 0 ? uA : vA);
        const uint16_t usT1 = static_cast<uint16_t>(k == 0 ? uB : vB);
        return spNeighbor->IsEdgeSplit(usT0, usT1, MAX_LEVEL, ucLevel, m_bPassParity, sCode);
    }

    const uint32_t p1 = j + 1;
    const bool bOdd = Bit(k == 0 ? uA : vA, j);
    const int32_t v = vA;
    const bool bInner = !bSwapped;
    if (k == 0)
    {
        if (bSwapped && bOdd)
            return CheckParentEdge(uB, v, uA - d, v + 2 * d, ucLevel, Bit(GRID - uB - v, p1), bInner, 2,
                                   false);
        if (bSwapped)
            return CheckParentEdge(uA, v, uA, v + 2 * d, ucLevel, Bit(uA, p1), bInner, 1, false);
        if (bOdd)
            return CheckParentEdge(uB, v - 2 * d, uB, v, ucLevel, Bit(uB, p1), bInner, 1, true);
        return CheckParentEdge(uB + d, v - 2 * d, uA, v, ucLevel, Bit(GRID - (v - 2 * d) - (uB + d), p1),
                               bInner, 2, true);
    }
    if (k == 1)
    {
        if (bSwapped && bOdd)
            return CheckParentEdge(uA + 2 * d, vA - d, uB, vB, ucLevel,
                                   Bit(GRID - (vA - d) - (uA + 2 * d), p1), bInner, 2, false);
        if (bSwapped)
            return CheckParentEdge(uA, vA, uA + 2 * d, vA, ucLevel, Bit(vA, p1), bInner, 0, false);
        if (bOdd)
            return CheckParentEdge(uB - 2 * d, vB, uB, vB, ucLevel, Bit(vB, p1), bInner, 0, true);
        return CheckParentEdge(uA, vA, uB - 2 * d, vB + d, ucLevel, Bit(GRID - uA - vA, p1), bInner, 2, true);
    }
    if (bSwapped && bOdd)
        return CheckParentEdge(uB, vB - 2 * d, uB, vB, ucLevel, Bit(uB, p1), bInner, 1, false);
    if (bSwapped)
        return CheckParentEdge(uA - 2 * d, vA, uA, vA, ucLevel, Bit(vA, p1), bInner, 0, false);
    if (bOdd)
        return CheckParentEdge(uB, vB, uB + 2 * d, vB, ucLevel, Bit(vB, p1), bInner, 0, true);
    return CheckParentEdge(uA, vA, uA, vA + 2 * d, ucLevel, Bit(uA, p1), bInner, 1, true);
}

bool NiBezierTriangle::CanSplitInnerEdge(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t usVB,
                                         uint8_t ucLevel, bool bInverted)
{
    int32_t uA = usUA, vA = usVA, uB = usUB, vB = usVB;
    const bool bHorizontal = vA == vB;
    const bool bVertical = !bHorizontal && uA == uB;
    if ((bHorizontal && uA > uB) || (!bHorizontal && vA > vB))
        std::swap(uA, uB), std::swap(vA, vB);
    const int32_t D = bHorizontal ? uB - uA : vB - vA;
    if (D <= 0 || ucLevel > MAX_LEVEL)
        return true;
    const uint32_t j = Log2(uint32_t(D));
    if (j >= uint32_t(MAX_LEVEL - ucLevel))
        return true;
    if (Bit(bHorizontal ? uA : vA, j) != bInverted)
        return true;

    const uint32_t p1 = j + 1;
    if (bHorizontal)
        return bInverted ? CheckParentEdge(uA - D, vA + D, uB, vA + D, ucLevel, Bit(vA + D, p1), bInverted, 0,
                                           false)
                         : CheckParentEdge(uA, vA - D, uB + D, vA - D, ucLevel, Bit(vA - D, p1), bInverted, 0,
                                           false);
    if (bVertical)
        return bInverted ? CheckParentEdge(uA + D, vA - D, uA + D, vB, ucLevel, Bit(uA + D, p1), bInverted, 1,
                                           false)
                         : CheckParentEdge(uA - D, vA, uA - D, vB + D, ucLevel, Bit(uA - D, p1), bInverted, 1,
                                           false);
    return bInverted ? CheckParentEdge(uA, vA - D, uB - D, vB, ucLevel, Bit(GRID - (vA - D) - uA, p1),
                                       bInverted, 2, false)
                     : CheckParentEdge(uA + D, vA, uB, vB + D, ucLevel, Bit(GRID - vA - (uA + D), p1),
                                       bInverted, 2, false);
}

//--- Neighbour queries --------------------------------------------------------------------------

bool NiBezierTriangle::IsEdgeSplit(uint16_t usT0, uint16_t usT1, uint8_t ucCallerMax, uint8_t ucMinLevel,
                                   uint8_t ucCallerParity, int16_t sCode)
{
    EdgeQuery kQuery;
    if (!ReadEdgeQuery(usT0, usT1, ucCallerMax, sCode, kQuery))
        return true;
    if (ucCallerParity != m_bPassParity)
        return ReadSplitBit(kQuery);
    const uint32_t k = kQuery.m_usEdge;
    const int32_t t0 = kQuery.m_iT0, t1 = kQuery.m_iT1, d = kQuery.m_iSpan;
    const bool p = kQuery.m_bOdd;
    const uint32_t p1 = kQuery.m_uiLog + 1;
    if (k == 0)
        return p ? CheckParentEdge(t1, 0, t0 - d, 2 * d, ucMinLevel, Bit(GRID - t1, p1), false, 2, false)
                 : CheckParentEdge(t0, 0, t0, 2 * d, ucMinLevel, Bit(t0, p1), false, 1, false);
    if (k == 1)
        return p ? CheckParentEdge(2 * d, t0 - d, 0, t1, ucMinLevel, Bit(GRID - 2 * d - (t0 - d), p1), false,
                                   2, false)
                 : CheckParentEdge(0, t0, 2 * d, t0, ucMinLevel, Bit(t0, p1), false, 0, false);
    return p ? CheckParentEdge(GRID - t1, t0 - d, GRID - t1, t1, ucMinLevel, Bit(GRID - t1, p1), false, 1,
                               false)
             : CheckParentEdge(GRID - t0 - 2 * d, t0, GRID - t0, t0, ucMinLevel, Bit(t0, p1), false, 0,
                               false);
}

//--- Degree changes -----------------------------------------------------------------------------

void NiBezierTriangle::SampleDegreeGrid(uint16_t usDegree, NiTexCoord*& pkTextureCoords, NiColorA*& pkColors)
{
    const uint16_t usCount = PointCount(usDegree);
    std::vector<float> kU, kV;
    const float fStep = 1.0f / static_cast<float>(usDegree);
    for (uint32_t j = 0; j <= usDegree; ++j)
    {
        for (uint32_t i = 0; i <= usDegree - j; ++i)
        {
            kU.push_back(i * fStep);
            kV.push_back(j * fStep);
        }
    }
    SampleControlData(usCount, kU.data(), kV.data(), pkTextureCoords, pkColors);
}

NiPoint3* NiBezierTriangle::ElevatedPoints() const
{
    const int32_t n = m_usDegree, m = n + 1;
    auto Index = [](int32_t iDegree, int32_t i, int32_t j) { return j * (2 * iDegree + 3 - j) / 2 + i; };
    NiPoint3* pkPoints = new NiPoint3[PointCount(m)];
    for (int32_t j = 0; j <= m; ++j)
    {
        for (int32_t i = 0; i <= m - j; ++i)
        {
            const int32_t k = m - i - j;
            NiPoint3 kSum(0.0f, 0.0f, 0.0f);
            if (i > 0)
                kSum += ControlPoint(Index(n, i - 1, j)) * static_cast<float>(i);
            if (j > 0)
                kSum += ControlPoint(Index(n, i, j - 1)) * static_cast<float>(j);
            if (k > 0)
                kSum += ControlPoint(Index(n, i, j)) * static_cast<float>(k);
            pkPoints[Index(m, i, j)] = kSum / static_cast<float>(m);
        }
    }
    return pkPoints;
}

void NiBezierTriangle::GetEdgePoints(uint32_t uiEdge, NiPoint3* pkEdge) const
{
    const int32_t n = m_usDegree;
    for (int32_t t = 0; t <= n; ++t)
    {
        // Edge 0: row 0; edge 1: the first point of every row; edge 2: the last of every row.
        const int32_t i = uiEdge == 0 ? t : (uiEdge == 1 ? 0 : n - t);
        const int32_t j = uiEdge == 0 ? 0 : t;
        pkEdge[t] = ControlPoint(uint32_t(j * (2 * n + 3 - j) / 2 + i));
    }
}

NiPoint3* NiBezierTriangle::ReducedPoints(uint16_t usDegree) const
{
    const int32_t n = m_usDegree, m = usDegree;
    auto Index = [m](int32_t i, int32_t j) { return j * (2 * m + 3 - j) / 2 + i; };
    NiPoint3* pkPoints = new NiPoint3[PointCount(m)];
    for (uint32_t e = 0; e < 3; ++e)
    {
        NiPoint3 akE[5];
        GetEdgePoints(e, akE);
        NiPoint3 akNew[4];
        akNew[0] = akE[0];
        akNew[m] = akE[n];
        if (n == 3)
        {
            akNew[1] = (akE[0] * -1.0f + akE[1] * 3.0f + akE[2] * 3.0f + akE[3] * -1.0f) / 4.0f;
        }
        else if (m == 2)
        {
            akNew[1] =
                (akE[0] * -11.0f + akE[1] * 16.0f + akE[2] * 18.0f + akE[3] * 16.0f + akE[4] * -11.0f) /
                28.0f;
        }
        else
        {
            akNew[1] =
                (akE[0] * -11.0f + akE[1] * 44.0f + akE[2] * 18.0f + akE[3] * -12.0f + akE[4] * 3.0f) / 42.0f;
            akNew[2] =
                (akE[0] * 3.0f + akE[1] * -12.0f + akE[2] * 18.0f + akE[3] * 44.0f + akE[4] * -11.0f) / 42.0f;
        }
        for (int32_t t = 0; t <= m; ++t)
        {
            const int32_t i = e == 0 ? t : (e == 1 ? 0 : m - t);
            const int32_t j = e == 0 ? 0 : t;
            pkPoints[Index(i, j)] = akNew[t];
        }
    }
    if (n == 4 && m == 3)
    {
        // The quartic's interior points, each read as the elevation of the cubic's interior
        // point and two new boundary points, give it three times; their mean inverts an
        // elevation exactly.
        const NiPoint3 kQ211 = ControlPoint(7), kQ121 = ControlPoint(10), kQ112 = ControlPoint(6);
        const NiPoint3 kBoundary = pkPoints[Index(2, 0)] + pkPoints[Index(2, 1)] + pkPoints[Index(0, 2)] +
                                   pkPoints[Index(1, 2)] + pkPoints[Index(0, 1)] + pkPoints[Index(1, 0)];
        pkPoints[Index(1, 1)] = ((kQ211 + kQ121 + kQ112) * 4.0f - kBoundary) / 6.0f;
    }
    return pkPoints;
}

//--- Field strings -------------------------------------------------------------------------------------

void NiBezierTriangle::AddFieldStrings(NiFieldStringList& kList) const
{
    NiBezierPatch::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBezierTriangle"));
    for (uint32_t e = 0; e < 3; ++e)
        kList.push_back(NiFieldString("m_asNeighborEdge", m_asNeighborEdge[e]));
}
