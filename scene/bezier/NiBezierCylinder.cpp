#include "scene/bezier/NiBezierCylinder.h"

#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>

// Contents: construction and tables / rows and limits / basis and evaluation / uniform and
// adaptive tessellation / stream and clone.

NiImplementRTTI(NiBezierCylinder, NiBezierPatch);
NiImplementCreateObject(NiBezierCylinder);

//--- Construction and tables --------------------------------------------------------------------

NiBezierCylinder::NiBezierCylinder() = default;

NiBezierCylinder::NiBezierCylinder(uint16_t usDegree, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                                   NiColorA* pkColors, bool bNormals)
    : NiBezierPatch(usDegree, static_cast<uint16_t>(2 * usDegree + 2), pkPoints, pkTextureCoords, pkColors,
                    bNormals)
{
    BuildTables();
}

NiBezierCylinder::~NiBezierCylinder() = default;

void NiBezierCylinder::BuildTables()
{
    m_usNumCurvePoints = static_cast<uint16_t>(m_usDegree + 1);
    m_usNumSecondWeights = static_cast<uint16_t>(m_usDegree >= 1 ? m_usDegree - 1 : 0);
    AllocatePowerTables();
    ComputeBinomials();
}

void NiBezierCylinder::AllocatePowerTables()
{
    m_pfPowers.assign(m_usNumCurvePoints, 0.0f);
    m_pfComplementPowers.assign(m_usNumCurvePoints, 0.0f);
    if (m_usNumCurvePoints > 0)
        m_pfPowers[0] = m_pfComplementPowers[0] = 1.0f;
}

namespace
{
// C(n, 0..k) by the multiplicative rule in double, so each is finite up to MAX_DEGREE and the
// table costs time linear in the degree.
std::vector<float> BinomialRow(uint32_t n, uint32_t uiCount)
{
    std::vector<float> kRow(uiCount);
    double dValue = 1.0;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        kRow[i] = static_cast<float>(dValue);
        dValue = dValue * double(n - i) / double(i + 1);
    }
    return kRow;
}
} // namespace

void NiBezierCylinder::ComputeBinomials()
{
    const uint32_t n = m_usDegree;
    m_pfBinomials = BinomialRow(n, n + 1);
    m_pfSecondBinomials = n >= 2 ? BinomialRow(n - 2, m_usNumSecondWeights) : std::vector<float>();
}

bool NiBezierCylinder::IsValidShape(uint16_t usDegree, uint16_t usCount) const
{
    return usDegree >= 1 && usDegree <= MAX_DEGREE && usCount == 2u * usDegree + 2u;
}

//--- Rows and limits ----------------------------------------------------------------------------

uint8_t NiBezierCylinder::GetMaxLevel() const
{
    const float fLevel = 15.0f - std::log2(3.0f * (m_ucInnerRows + 1.0f));
    return static_cast<uint8_t>(std::max(0.0f, fLevel));
}

uint8_t NiBezierCylinder::GetMaxInnerRows() const
{
    const float fRows = std::ldexp(1.0f, 15 - int32_t(m_ucLevel)) * (1.0f / 3.0f) - 1.0f;
    return static_cast<uint8_t>(std::clamp(fRows, 0.0f, 255.0f));
}

uint16_t NiBezierCylinder::GetGridWidth() const
{
    return static_cast<uint16_t>((1u << GetMaxLevel()) + 1);
}

uint16_t NiBezierCylinder::GetRowCount() const
{
    return static_cast<uint16_t>(m_ucInnerRows + 2);
}

float NiBezierCylinder::RowParameter(uint32_t uiRow) const
{
    return uiRow * (1.0f / static_cast<float>(GetRowCount() - 1));
}

void NiBezierCylinder::SetInnerRows(uint8_t ucRows)
{
    if (ucRows == m_ucInnerRows || ucRows > GetMaxInnerRows())
        return;
    m_ucInnerRows = ucRows;
    Tessellate(m_ucLevel);
}

void NiBezierCylinder::SetLevel(uint8_t ucLevel)
{
    if (ucLevel == m_ucLevel || ucLevel > GetMaxLevel())
        return;
    m_ucLevel = ucLevel;
    Tessellate(ucLevel);
}

//--- Basis and evaluation -----------------------------------------------------------------------

void NiBezierCylinder::ComputePowers(float t)
{
    for (uint32_t i = 0; i + 1 < m_usNumCurvePoints; ++i)
    {
        m_pfPowers[i + 1] = t * m_pfPowers[i];
        m_pfComplementPowers[i + 1] = (1.0f - t) * m_pfComplementPowers[i];
    }
}

void NiBezierCylinder::ComputeBasis(float fU, float)
{
    const uint32_t n = m_usDegree;
    ComputePowers(fU);
    for (uint32_t i = 0; i <= n; ++i)
        m_pfBasis[i] = m_pfComplementPowers[n - i] * m_pfPowers[i] * m_pfBinomials[i];
    if (!m_pkNormalArray)
        return;
    const float t = fU, s = 1.0f - fU;
    m_pfBasisU[0] = -float(n) * m_pfComplementPowers[n - 1];
    m_pfBasisU[n] = float(n) * m_pfPowers[n - 1];
    for (uint32_t j = 1; j < n; ++j)
        m_pfBasisU[j] =
            (j * s - (n - j) * t) * m_pfComplementPowers[n - j - 1] * m_pfPowers[j - 1] * m_pfBinomials[j];
}

uint16_t NiBezierCylinder::Evaluate(float fU, float fV)
{
    ComputeBasis(fU, fV);
    const uint32_t n = m_usDegree;
    const float* pfW = m_pfBasis.get();
    const float fBottom = 1.0f - fV;

    NiPoint3 kBottom(0.0f, 0.0f, 0.0f), kTop(0.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i <= n; ++i)
    {
        kBottom += m_pkControlPoints[i] * pfW[i];
        kTop += m_pkControlPoints[n + 1 + i] * pfW[i];
    }
    if (m_pkTextureArray)
    {
        const uint32_t uiStride = m_usControlPointStride;
        for (uint16_t s = 0; s < m_usNumTextureSets; ++s)
        {
            const NiTexCoord* pkSet =
                m_pkTextureCoords + std::min<uint32_t>(s, m_usSourceTextureSets - 1u) * uiStride;
            float fBU = 0.0f, fBV = 0.0f, fTU = 0.0f, fTV = 0.0f;
            for (uint32_t i = 0; i <= n; ++i)
            {
                fBU += pfW[i] * pkSet[i].x, fBV += pfW[i] * pkSet[i].y;
                fTU += pfW[i] * pkSet[n + 1 + i].x, fTV += pfW[i] * pkSet[n + 1 + i].y;
            }
            m_pkTextureArray->Add(s, fBottom * fBU + fV * fTU, fBottom * fBV + fV * fTV);
        }
    }
    if (m_pkColorArray)
    {
        NiColorA kB(0, 0, 0, 0), kT(0, 0, 0, 0);
        for (uint32_t i = 0; i <= n; ++i)
        {
            const NiColorA& kCB = m_pkColors[i];
            const NiColorA& kCT = m_pkColors[n + 1 + i];
            kB.r += pfW[i] * kCB.r, kB.g += pfW[i] * kCB.g, kB.b += pfW[i] * kCB.b, kB.a += pfW[i] * kCB.a;
            kT.r += pfW[i] * kCT.r, kT.g += pfW[i] * kCT.g, kT.b += pfW[i] * kCT.b, kT.a += pfW[i] * kCT.a;
        }
        m_pkColorArray->Add(fBottom * kB.r + fV * kT.r, fBottom * kB.g + fV * kT.g,
                            fBottom * kB.b + fV * kT.b, fBottom * kB.a + fV * kT.a);
    }
    if (m_pkNormalArray)
    {
        // The bottom curve's tangent across the rung, whatever the row.
        NiPoint3 kTangent(0.0f, 0.0f, 0.0f), kRung(0.0f, 0.0f, 0.0f);
        for (uint32_t i = 0; i <= n; ++i)
        {
            kTangent += m_pkControlPoints[i] * m_pfBasisU[i];
            kRung += (m_pkControlPoints[n + 1 + i] - m_pkControlPoints[i]) * pfW[i];
        }
        NiPoint3 kNormal;
        kTangent.UnitCross(kNormal, kRung);
        m_pkNormalArray->Append(kNormal);
    }
    return static_cast<uint16_t>(m_pkPositionArray->Append(kBottom * fBottom + kTop * fV));
}

//--- Tessellation -------------------------------------------------------------------------------

void NiBezierCylinder::TessellateUniform(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    const uint32_t R = GetRowCount();
    m_usNumVertices = static_cast<uint16_t>(R * (n + 1));
    m_usNumTriangles = static_cast<uint16_t>(2 * n * (R - 1));
    AllocateOutput();
    const float fStep = 1.0f / static_cast<float>(n);
    for (uint32_t r = 0; r < R; ++r)
        for (uint32_t i = 0; i <= n; ++i)
            Evaluate(i * fStep, RowParameter(r));
    AddGridTriangles(R - 1, n);
    FinishOutput();
}

uint16_t NiBezierCylinder::EvaluateAt(uint32_t uiIndex)
{
    const uint32_t W = GetGridWidth();
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    uint16_t usVertex;
    if (kCache.Lookup(uiIndex, usVertex))
        return usVertex;
    usVertex = Evaluate(float(uiIndex % W) / float(W - 1), RowParameter(uiIndex / W));
    kCache.Store(uiIndex, usVertex);
    return usVertex;
}

void NiBezierCylinder::TessellateAdaptive(uint8_t ucLevel)
{
    const uint32_t n = 1u << ucLevel;
    const uint32_t R = GetRowCount();
    const uint32_t W = GetGridWidth();
    m_usNumVertices = static_cast<uint16_t>(R * (n + 1));
    m_usNumTriangles = static_cast<uint16_t>(2 * n * (R - 1));
    AllocateOutput();
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    kCache.NextGeneration();
    for (uint32_t k = 0; k < 2 * R; ++k)
    {
        const bool bEnd = (k & 1) != 0;
        const uint16_t usVertex = Evaluate(bEnd ? 1.0f : 0.0f, RowParameter(k / 2));
        kCache.Store((k / 2) * W + (bEnd ? W - 1 : 0), usVertex);
    }
    std::vector<uint32_t> kScratch(3 * R);
    SubdivideInterval(0, ucLevel, 0, kScratch);
    FinishOutput();
}

bool NiBezierCylinder::TestSubdivision(uint16_t usUA, uint16_t usVA, uint16_t usUB, uint16_t)
{
    const uint32_t W = GetGridWidth();
    const uint32_t R = GetRowCount();
    const uint32_t r = usVA;
    const uint32_t m = (uint32_t(usUA) + usUB) / 2;
    NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
    uint16_t usA, usB, usMiddle;
    if (kCache.Lookup(m + r * W, usMiddle))
        return true;
    if (!kCache.Lookup(usUA + r * W, usA) || !kCache.Lookup(usUB + r * W, usB))
        return false;

    const uint32_t n = m_usDegree;
    const float t = float(m) / float(W - 1);
    const float s = float(r) / float(R - 1);
    const float fDelta = float(int32_t(usUB) - int32_t(usUA)) / float(W - 1);
    ComputePowers(t);
    NiPoint3 kBottom(0.0f, 0.0f, 0.0f), kTop(0.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i < m_usNumSecondWeights; ++i)
    {
        const float q = m_pfPowers[i] * m_pfSecondBinomials[i] * m_pfComplementPowers[n - 2 - i];
        kBottom += (m_pkControlPoints[i + 2] - m_pkControlPoints[i + 1] * 2.0f + m_pkControlPoints[i]) * q;
        kTop += (m_pkControlPoints[n + 3 + i] - m_pkControlPoints[n + 2 + i] * 2.0f +
                 m_pkControlPoints[n + 1 + i]) *
                q;
    }
    const NiPoint3 kD = (kBottom * (1.0f - s) + kTop * s) * float(n * (n - 1));
    const NiPoint3 kChord = GetOutputPosition(usB) - GetOutputPosition(usA);
    const float fDelta2 = fDelta * fDelta;
    if (!(m_fFlatnessTolerance * kChord.SqrLength() < fDelta2 * fDelta2 * kD.SqrLength()))
        return false;
    kCache.Store(m + r * W, Evaluate(t, s));
    return true;
}

void NiBezierCylinder::SubdivideInterval(uint8_t ucDepth, uint8_t ucMinLevel, uint32_t uiStart,
                                         std::vector<uint32_t>& kScratch)
{
    const uint8_t ucMax = GetMaxLevel();
    const uint32_t W = GetGridWidth();
    const uint32_t R = GetRowCount();
    const uint32_t uiLength = 1u << (ucMax - ucDepth);
    uint32_t* puiS = kScratch.data();
    uint32_t* puiE = puiS + R;
    uint32_t* puiM = puiE + R;
    for (uint32_t r = 0; r < R; ++r)
    {
        puiS[r] = uiStart + r * W;
        puiE[r] = puiS[r] + uiLength;
        puiM[r] = puiS[r] + uiLength / 2;
    }

    auto Recurse = [&]()
    {
        const uint32_t uiMiddle = puiM[0];
        SubdivideInterval(static_cast<uint8_t>(ucDepth + 1), ucMinLevel, puiS[0], kScratch);
        SubdivideInterval(static_cast<uint8_t>(ucDepth + 1), ucMinLevel, uiMiddle, kScratch);
    };
    if (ucDepth < ucMinLevel)
    {
        for (uint32_t r = 0; r < R; ++r)
            EvaluateAt(puiM[r]);
        Recurse();
        return;
    }

    uint32_t k = 0;
    uint32_t p = R - 1;
    if (ucDepth < ucMax)
    {
        auto Passes = [&](uint32_t r)
        {
            return TestSubdivision(static_cast<uint16_t>(puiS[r] % W), static_cast<uint16_t>(r),
                                   static_cast<uint16_t>(puiE[r] % W), static_cast<uint16_t>(r));
        };
        while (k < R && Passes(k))
            ++k;
        if (k == R)
        {
            Recurse();
            return;
        }
        p = R - 1;
        while (p > k && Passes(p))
            --p;
    }

    auto Emit = [&](uint32_t a, uint32_t b, uint32_t c) { AddCachedTriangle(a, b, c); };
    for (uint32_t i = 0; i + 1 < R; ++i)
    {
        const uint32_t S0 = puiS[i], S1 = puiS[i + 1], E0 = puiE[i], E1 = puiE[i + 1], M0 = puiM[i],
                       M1 = puiM[i + 1];
        const bool bEven = (i & 1) == 0;
        const bool bLower = i < k || i > p;
        const bool bUpper = i + 1 < k || i + 1 > p;
        if (bLower && bUpper)
        {
            if (bEven)
                Emit(S1, S0, M1), Emit(M0, M1, S0), Emit(M0, E0, M1), Emit(E1, M1, E0);
            else
                Emit(S0, M0, S1), Emit(M1, S1, M0), Emit(M1, M0, E1), Emit(E0, E1, M0);
        }
        else if (bLower)
        {
            Emit(S0, M0, S1), Emit(E1, S1, M0), Emit(E0, E1, M0);
        }
        else if (bUpper)
        {
            Emit(S1, S0, M1), Emit(E0, M1, S0), Emit(E1, M1, E0);
        }
        else if (bEven)
        {
            Emit(S1, S0, E1), Emit(E0, E1, S0);
        }
        else
        {
            Emit(S0, E0, S1), Emit(E1, S1, E0);
        }
    }
}

//--- Stream and clone ---------------------------------------------------------------------------

NiObject* NiBezierCylinder::MakeClone()
{
    NiBezierCylinder* pkClone = new NiBezierCylinder;
    CopyToClone(pkClone);
    return pkClone;
}

void NiBezierCylinder::CopyToClone(NiBezierCylinder* pkClone)
{
    NiBezierPatch::CopyToClone(pkClone);
    pkClone->m_ucInnerRows = m_ucInnerRows;
    pkClone->BuildTables();
    pkClone->Tessellate(pkClone->m_ucLevel);
}

void NiBezierCylinder::LoadBinary(NiStream& kStream)
{
    NiBezierPatch::LoadBinary(kStream);
    kStream.Load(m_ucInnerRows);
    // The cylinder reads its own points only; the level and the rows must fit one another, or
    // the 16-bit vertex indices (and the vertex cache) would overflow.
    if (IsIndexed() || m_ucLevel > GetMaxLevel() || m_ucInnerRows > GetMaxInnerRows())
        kStream.MarkLoadFailed();
    if (kStream.IsLoadFailed())
        return;
    BuildTables();
    Tessellate(m_ucLevel);
    kStream.ReserveMemory(1, GetOutputBytes());
}

void NiBezierCylinder::SaveBinary(NiStream& kStream)
{
    NiBezierPatch::SaveBinary(kStream);
    kStream.Save(m_ucInnerRows);
}

bool NiBezierCylinder::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiBezierPatch::IsEquivalent(pkObject))
        return false;
    const NiBezierCylinder& kOther = *static_cast<const NiBezierCylinder*>(pkObject);
    return m_ucInnerRows == kOther.m_ucInnerRows && m_usNumCurvePoints == kOther.m_usNumCurvePoints &&
           m_usNumSecondWeights == kOther.m_usNumSecondWeights;
}

void NiBezierCylinder::AddFieldStrings(NiFieldStringList& kList) const
{
    NiBezierPatch::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBezierCylinder"));
    kList.push_back(NiFieldString("m_ucInnerRows", m_ucInnerRows));
}
