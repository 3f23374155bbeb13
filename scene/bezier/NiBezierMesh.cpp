#include "scene/bezier/NiBezierMesh.h"

#include "scene/bezier/NiBezierRectangle2.h"
#include "scene/bezier/NiBezierRectangle3.h"
#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/bezier/NiBezierTriangle4.h"
#include "scene/graph/NiPicker.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

// Contents: construction / building / neighbours / level and mode / controllers' entry points /
// picking / stream / clone and comparison.

NiImplementRTTI(NiBezierMesh, NiNode);
NiImplementCreateObject(NiBezierMesh);

namespace
{
template <class T> std::unique_ptr<T[]> CopyOf(const std::unique_ptr<T[]>& spSource, size_t uiCount)
{
    if (!spSource)
        return nullptr;
    std::unique_ptr<T[]> spCopy(new T[uiCount]);
    std::copy_n(spSource.get(), uiCount, spCopy.get());
    return spCopy;
}

template <class T> bool SameBytes(const T* pkA, const T* pkB, size_t uiCount)
{
    if (!pkA || !pkB)
        return pkA == pkB;
    return std::memcmp(pkA, pkB, uiCount * sizeof(T)) == 0;
}

template <class T> std::unique_ptr<T[]> LoadValues(NiStream& kStream, uint32_t uiCount)
{
    if (!kStream.RequireArray<T>(uiCount))
        return nullptr;
    std::unique_ptr<T[]> spValues(new T[uiCount]);
    kStream.Read(spValues.get(), uiCount * sizeof(T));
    return spValues;
}

// The end control points of each edge of a patch, from its start to its end.
std::vector<std::pair<uint32_t, uint32_t>> PatchEdges(const NiBezierPatch& kPatch)
{
    const uint32_t d = kPatch.GetDegree();
    if (NiDynamicCast<NiBezierTriangle>(&kPatch))
    {
        const uint32_t T = (d + 1) * (d + 2) / 2;
        return {{0, d}, {0, T - 1}, {d, T - 1}};
    }
    if (NiDynamicCast<NiBezierRectangle>(&kPatch))
        return {{0, d}, {0, d * (d + 1)}, {d, d * (d + 2)}, {d * (d + 1), d * (d + 2)}};
    return {};
}

// Whether a cubic edge is the entry's, as stored or reversed.
bool MatchesEdge(const uint16_t* pusEdge, const uint16_t* pusEntry, bool& bReversed)
{
    bReversed = false;
    if (std::equal(pusEdge, pusEdge + 4, pusEntry))
        return true;
    bReversed = std::equal(pusEdge, pusEdge + 4, std::reverse_iterator<const uint16_t*>(pusEntry + 4));
    return bReversed;
}

void SetNeighbor(NiBezierPatch& kPatch, uint16_t usEdge, uint32_t uiIndex, int16_t sCode)
{
    if (NiBezierTriangle* pkTriangle = NiDynamicCast<NiBezierTriangle>(&kPatch))
        pkTriangle->SetEdgeNeighbor(usEdge, uiIndex, sCode);
    else if (NiBezierRectangle* pkRectangle = NiDynamicCast<NiBezierRectangle>(&kPatch))
        pkRectangle->SetEdgeNeighbor(usEdge, uiIndex, sCode);
}
} // namespace

//--- Construction -------------------------------------------------------------------------------

NiBezierMesh::NiBezierMesh() = default;

NiBezierMesh::NiBezierMesh(uint16_t usPoints, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                           NiColorA* pkColors, bool bNormals)
    : m_usNumPoints(usPoints), m_usNumTextureSets(pkTextureCoords ? 1 : 0), m_pkPoints(pkPoints),
      m_pkTextureCoords(pkTextureCoords), m_pkColors(pkColors), m_ucMaxLevel(255)
{
    if (bNormals)
        m_usFlags |= NORMALS_MASK;
}

NiBezierMesh::~NiBezierMesh()
{
    // A patch someone else still holds must not keep reading the arrays that go now.
    ForEachPatch([](NiBezierPatch& kPatch) { kPatch.SetControlPointArrays(nullptr, nullptr, nullptr); });
}

void NiBezierMesh::ForEachPatch(const std::function<void(NiBezierPatch&)>& kVisit) const
{
    for (uint32_t i = 0; i < GetArrayCount(); ++i)
    {
        if (NiBezierPatch* pkPatch = NiDynamicCast<NiBezierPatch>(GetAt(i)))
            kVisit(*pkPatch);
    }
}

//--- Building -----------------------------------------------------------------------------------

NiBezierPatch* NiBezierMesh::AttachPatch(NiBezierPatch* pkPatch)
{
    m_ucMaxLevel = std::min(m_ucMaxLevel, pkPatch->GetMaxLevel());
    AddChild(pkPatch);
    return pkPatch;
}

bool NiBezierMesh::IndicesFit(const uint16_t* pusIndices, uint32_t uiCount) const
{
    return pusIndices && std::all_of(pusIndices, pusIndices + uiCount,
                                     [this](uint16_t usIndex) { return usIndex < m_usNumPoints; });
}

template <class TPatch> NiBezierPatch* NiBezierMesh::AddIndexedPatch(uint16_t* pusIndices, uint32_t uiCount)
{
    if (!IndicesFit(pusIndices, uiCount))
        return nullptr;
    return AttachPatch(new TPatch(pusIndices, m_pkPoints.get(), m_pkTextureCoords.get(), m_pkColors.get(),
                                  (m_usFlags & NORMALS_MASK) != 0, m_usNumPoints));
}

NiBezierPatch* NiBezierMesh::AddTrianglePatch(uint16_t usDegree, uint16_t* pusIndices)
{
    switch (usDegree)
    {
    case 2:
        return AddIndexedPatch<NiBezierTriangle2>(pusIndices, 6);
    case 3:
        return AddIndexedPatch<NiBezierTriangle3>(pusIndices, 10);
    case 4:
        return AddIndexedPatch<NiBezierTriangle4>(pusIndices, 15);
    default:
        return nullptr;
    }
}

NiBezierPatch* NiBezierMesh::AddRectanglePatch(uint16_t usDegree, uint16_t* pusIndices)
{
    switch (usDegree)
    {
    case 2:
        return AddIndexedPatch<NiBezierRectangle2>(pusIndices, 9);
    case 3:
        return AddIndexedPatch<NiBezierRectangle3>(pusIndices, 16);
    default:
        return nullptr;
    }
}

NiBezierPatch* NiBezierMesh::AddElevatedTrianglePatch(uint16_t, uint16_t* pusIn)
{
    // The edge points go after the points there are and are made all at once: once made, a new
    // edge would have no place among them.
    if ((m_usNumSharedEdges != 0 && !m_bEdgePointsPending) || !IndicesFit(pusIn, 12))
        return nullptr;
    const uint16_t aausEdge[3][4] = {{pusIn[0], pusIn[1], pusIn[2], pusIn[3]},
                                     {pusIn[0], pusIn[4], pusIn[8], pusIn[11]},
                                     {pusIn[3], pusIn[7], pusIn[10], pusIn[11]}};
    const uint16_t* pusTable = m_pkSharedEdges ? m_pkSharedEdges->GetBase() : nullptr;
    uint32_t uiNewEdges = 0;
    for (uint32_t e = 0; e < 3; ++e)
    {
        bool bReversed = false;
        bool bKnown = false;
        for (uint32_t t = 0; t < m_usNumSharedEdges && !bKnown; ++t)
            bKnown = MatchesEdge(aausEdge[e], pusTable + 4 * t, bReversed);
        for (uint32_t f = 0; f < e && !bKnown; ++f)
            bKnown = MatchesEdge(aausEdge[e], aausEdge[f], bReversed);
        uiNewEdges += bKnown ? 0 : 1;
    }
    // Every point, edge points included, must stay reachable through 16-bit indices.
    if (uint32_t(m_usNumPoints) + 3u * (m_usNumSharedEdges + uiNewEdges) > UINT16_MAX)
        return nullptr;

    if (!m_pkSharedEdges)
        m_pkSharedEdges = std::make_unique<NiBezierIndexArray>(12);
    uint16_t* pusOut = new uint16_t[15];
    pusOut[0] = pusIn[0];
    pusOut[4] = pusIn[3];
    pusOut[14] = pusIn[11];
    pusOut[6] = pusIn[5];
    pusOut[7] = pusIn[6];
    pusOut[10] = pusIn[9];

    const uint32_t aauiSlots[3][3] = {{1, 2, 3}, {5, 9, 12}, {8, 11, 13}};
    for (uint32_t e = 0; e < 3; ++e)
    {
        const uint16_t* pusEdge = aausEdge[e];
        int32_t iFound = -1;
        bool bReversed = false;
        for (uint32_t t = 0; t < m_usNumSharedEdges && iFound < 0; ++t)
        {
            if (MatchesEdge(pusEdge, m_pkSharedEdges->GetBase() + 4 * t, bReversed))
                iFound = int32_t(t);
        }
        if (iFound < 0)
        {
            for (uint32_t c = 0; c < 4; ++c)
                m_pkSharedEdges->Add(pusEdge[c]);
            iFound = m_usNumSharedEdges++;
        }
        const uint16_t q = static_cast<uint16_t>(3 * iFound + m_usNumPoints);
        for (uint32_t s = 0; s < 3; ++s)
            pusOut[aauiSlots[e][s]] = static_cast<uint16_t>(bReversed ? q + 2 - s : q + s);
    }
    delete[] pusIn;
    m_bEdgePointsPending = true;
    // No arrays yet: the patch names edge points past their end until AppendEdgePoints.
    return AttachPatch(new NiBezierTriangle4(pusOut, nullptr, nullptr, nullptr,
                                             (m_usFlags & NORMALS_MASK) != 0, m_usNumPoints));
}

void NiBezierMesh::AppendEdgePoints()
{
    const uint32_t uiNew = uint32_t(m_usNumPoints) + 3u * m_usNumSharedEdges;
    if (!m_bEdgePointsPending || uiNew > UINT16_MAX)
        return;
    auto Grow = [&](auto& spArray)
    {
        if (!spArray)
            return;
        using T = std::remove_reference_t<decltype(spArray[0])>;
        std::unique_ptr<T[]> spGrown(new T[uiNew]());
        std::copy_n(spArray.get(), m_usNumPoints, spGrown.get());
        spArray = std::move(spGrown);
    };
    Grow(m_pkPoints);
    Grow(m_pkTextureCoords);
    Grow(m_pkColors);
    m_usNumPoints = static_cast<uint16_t>(uiNew);
    m_bEdgePointsPending = false;
    InterpolateEdgeVertices();
    LinkPatches();
}

void NiBezierMesh::FindPatchNeighbors()
{
    // Compact the children so that neighbour indices are positions among patches that stay.
    std::vector<NiRefPtr<NiAVObject>> kChildren;
    for (uint32_t i = 0; i < GetArrayCount(); ++i)
    {
        if (GetAt(i))
            kChildren.emplace_back(GetAt(i));
    }
    for (uint32_t i = GetArrayCount(); i-- > 0;)
        RemoveChildAt(i);
    m_kChildren.SetMaxSize(std::max<uint32_t>(1, uint32_t(kChildren.size())));
    for (uint32_t i = 0; i < kChildren.size(); ++i)
        SetChildAt(i, kChildren[i]);

    auto EndPoint = [this](const NiBezierPatch& kPatch, uint32_t uiPoint) -> const NiPoint3*
    {
        const uint16_t* pusIndices = kPatch.GetIndices();
        if (!pusIndices)
            return kPatch.GetControlPoints() ? &kPatch.GetControlPoints()[uiPoint] : nullptr;
        return pusIndices[uiPoint] < m_usNumPoints ? &m_pkPoints[pusIndices[uiPoint]] : nullptr;
    };
    for (uint32_t i = 0; i < kChildren.size(); ++i)
    {
        NiBezierPatch* pkA = NiDynamicCast<NiBezierPatch>(kChildren[i].Get());
        if (!pkA)
            continue;
        const auto kEdgesA = PatchEdges(*pkA);
        for (uint32_t j = i + 1; j < kChildren.size(); ++j)
        {
            NiBezierPatch* pkB = NiDynamicCast<NiBezierPatch>(kChildren[j].Get());
            if (!pkB)
                continue;
            const auto kEdgesB = PatchEdges(*pkB);
            for (uint16_t k = 0; k < kEdgesA.size(); ++k)
            {
                for (uint16_t m = 0; m < kEdgesB.size(); ++m)
                {
                    const NiPoint3* pkAS = EndPoint(*pkA, kEdgesA[k].first);
                    const NiPoint3* pkAE = EndPoint(*pkA, kEdgesA[k].second);
                    const NiPoint3* pkBS = EndPoint(*pkB, kEdgesB[m].first);
                    const NiPoint3* pkBE = EndPoint(*pkB, kEdgesB[m].second);
                    if (!pkAS || !pkAE || !pkBS || !pkBE)
                        continue;
                    if (*pkAS == *pkBS && *pkAE == *pkBE)
                    {
                        SetNeighbor(*pkA, k, j, int16_t(m + 1));
                        SetNeighbor(*pkB, m, i, int16_t(k + 1));
                    }
                    else if (*pkAS == *pkBE && *pkAE == *pkBS)
                    {
                        SetNeighbor(*pkA, k, j, int16_t(-(m + 1)));
                        SetNeighbor(*pkB, m, i, int16_t(-(k + 1)));
                    }
                }
            }
        }
    }
}

//--- Level and mode -----------------------------------------------------------------------------

void NiBezierMesh::SetLevel(uint8_t ucLevel)
{
    if (ucLevel == m_ucLevel || ucLevel > m_ucMaxLevel)
        return;
    ForEachPatch([ucLevel](NiBezierPatch& kPatch) { kPatch.SetLevel(ucLevel); });
    m_ucLevel = ucLevel;
}

void NiBezierMesh::SetAdaptive(bool bAdaptive)
{
    if (bAdaptive == GetAdaptive())
        return;
    ForEachPatch([bAdaptive](NiBezierPatch& kPatch) { kPatch.SetAdaptive(bAdaptive); });
    m_usFlags = static_cast<uint16_t>(bAdaptive ? (m_usFlags | ADAPTIVE_MASK) : (m_usFlags & ~ADAPTIVE_MASK));
}

void NiBezierMesh::SetFlatnessTolerance(float fTolerance)
{
    ForEachPatch([fTolerance](NiBezierPatch& kPatch) { kPatch.SetFlatnessTolerance(fTolerance); });
}

void NiBezierMesh::SetScreenTolerance(float fTolerance)
{
    ForEachPatch([fTolerance](NiBezierPatch& kPatch) { kPatch.SetScreenTolerance(fTolerance); });
}

void NiBezierMesh::SetCamera(NiCamera* pkCamera)
{
    ForEachPatch([pkCamera](NiBezierPatch& kPatch) { kPatch.SetCamera(pkCamera); });
}

void NiBezierMesh::SetTextureSetCount(uint16_t usCount)
{
    if (usCount == m_usNumTextureSets)
        return;
    ForEachPatch(
        [usCount](NiBezierPatch& kPatch)
        {
            const bool bDrawn = kPatch.GetRenderData() != nullptr;
            kPatch.SetTextureSetCount(usCount);
            // The render data pointed at the coordinate block just made again.
            if (bDrawn)
                kPatch.Tessellate(kPatch.GetLevel());
        });
    m_usNumTextureSets = usCount;
}

//--- Controllers' entry points ------------------------------------------------------------------

void NiBezierMesh::InterpolateEdgeVertices()
{
    const uint32_t uiEdges = m_usNumSharedEdges;
    // While the edge points are pending, the last 3E points are the caller's own.
    if (!m_pkSharedEdges || !m_pkPoints || m_bEdgePointsPending || 3 * uiEdges > m_usNumPoints)
        return;
    const uint32_t uiBase = m_usNumPoints - 3 * uiEdges;
    const uint16_t* pusTable = m_pkSharedEdges->GetBase();
    static constexpr float afWeight[3][2] = {{0.25f, 0.75f}, {0.5f, 0.5f}, {0.75f, 0.25f}};
    for (uint32_t e = 0; e < uiEdges; ++e)
    {
        const uint16_t* pusEdge = pusTable + 4 * e;
        if (*std::max_element(pusEdge, pusEdge + 4) >= m_usNumPoints)
            continue;
        for (uint32_t s = 0; s < 3; ++s)
        {
            // Points s and s + 1 of the cubic edge.
            const uint16_t a = pusEdge[s], b = pusEdge[s + 1];
            const float fA = afWeight[s][0], fB = afWeight[s][1];
            const uint32_t q = uiBase + 3 * e + s;
            m_pkPoints[q] = m_pkPoints[a] * fA + m_pkPoints[b] * fB;
            if (m_pkTextureCoords)
                m_pkTextureCoords[q] = NiTexCoord(m_pkTextureCoords[a].x * fA + m_pkTextureCoords[b].x * fB,
                                                  m_pkTextureCoords[a].y * fA + m_pkTextureCoords[b].y * fB);
            if (m_pkColors)
            {
                const NiColorA& kA = m_pkColors[a];
                const NiColorA& kB = m_pkColors[b];
                m_pkColors[q] = NiColorA(kA.r * fA + kB.r * fB, kA.g * fA + kB.g * fB, kA.b * fA + kB.b * fB,
                                         kA.a * fA + kB.a * fB);
            }
        }
    }
}

void NiBezierMesh::RetessellatePatches()
{
    ForEachPatch([](NiBezierPatch& kPatch) { kPatch.Tessellate(kPatch.GetLevel()); });
}

void NiBezierMesh::LinkPatches(NiStream* pkLoad)
{
    const uint8_t ucLevel = m_ucLevel;
    const bool bTextures = m_pkTextureCoords != nullptr;
    ForEachPatch(
        [&](NiBezierPatch& kPatch)
        {
            const uint16_t* pusIndices = kPatch.GetIndices();
            if (!pusIndices)
                return; // a patch with arrays of its own keeps them
            // Indices past the shared arrays would read outside them: such a patch gets none.
            const uint16_t usCount = kPatch.GetControlPointCount();
            if (usCount == 0 || *std::max_element(pusIndices, pusIndices + usCount) >= m_usNumPoints)
            {
                kPatch.SetControlPointArrays(nullptr, nullptr, nullptr);
                return;
            }
            kPatch.SetControlPointArrays(m_pkPoints.get(), m_pkTextureCoords.get(), m_pkColors.get());
            if (bTextures)
                kPatch.SetTextureSetCount(1);
            // A patch's output takes up to a few megabytes from a record of a few words: counted
            // against the load's bound, which one patch at most passes before the rest stop.
            if (pkLoad && pkLoad->IsLoadFailed())
                return;
            kPatch.Tessellate(std::min(ucLevel, kPatch.GetMaxLevel()));
            if (pkLoad)
                pkLoad->ReserveMemory(1, kPatch.GetOutputBytes());
        });
}

//--- Picking ------------------------------------------------------------------------------------

bool NiBezierMesh::FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker)
{
    if (kPicker.GetSkipAppCulled() && GetAppCulled())
        return false;
    bool bHit = false;
    ForEachPatch([&](NiBezierPatch& kPatch)
                 { bHit = kPatch.FindPickHits(kOrigin, kDirection, kPicker) || bHit; });
    return bHit;
}

//--- Stream -------------------------------------------------------------------------------------

void NiBezierMesh::LoadBinary(NiStream& kStream)
{
    NiNode::LoadBinary(kStream);
    kStream.Load(m_usNumPoints);
    kStream.Load(m_ucLevel);
    kStream.Load(m_ucMaxLevel);
    m_pkPoints = LoadValues<NiPoint3>(kStream, m_usNumPoints);
    uint32_t uiTextures = 0;
    kStream.Load(uiTextures);
    if (uiTextures != 0)
    {
        m_pkTextureCoords = LoadValues<NiTexCoord>(kStream, m_usNumPoints);
        m_usNumTextureSets = 1;
    }
    uint32_t uiColors = 0;
    kStream.Load(uiColors);
    if (uiColors != 0)
        m_pkColors = LoadValues<NiColorA>(kStream, m_usNumPoints);
    kStream.Load(m_usNumSharedEdges);
    if (m_usNumSharedEdges != 0 && kStream.RequireArray<uint16_t>(4u * m_usNumSharedEdges))
    {
        m_pkSharedEdges = std::make_unique<NiBezierIndexArray>(4u * m_usNumSharedEdges);
        for (uint32_t i = 0; i < 4u * m_usNumSharedEdges; ++i)
        {
            uint16_t usIndex = 0;
            kStream.Load(usIndex);
            m_pkSharedEdges->Add(usIndex);
        }
    }
    // The edge points are the last 3E points, and each edge names four of the points; a level
    // above every patch grid would overflow the patches' 16-bit output counts.
    bool bValid = m_ucLevel <= 7 && 3u * m_usNumSharedEdges <= m_usNumPoints;
    for (uint32_t i = 0; bValid && m_pkSharedEdges && i < m_pkSharedEdges->GetCount(); ++i)
        bValid = m_pkSharedEdges->GetAt(i) < m_usNumPoints;
    if (!bValid)
        kStream.MarkLoadFailed();
}

void NiBezierMesh::ResolveLinks(NiStream& kStream)
{
    NiNode::ResolveLinks(kStream);
    // The record does not say whether the edge points were made: a mesh saved before
    // AppendEdgePoints has patches naming the edge points to come, just past the arrays, and
    // its last 3E points are still the caller's.
    const uint32_t uiPoints = m_usNumPoints;
    const uint32_t uiEnd = uiPoints + 3u * m_usNumSharedEdges;
    bool bWaiting = false;
    ForEachPatch(
        [&](NiBezierPatch& kPatch)
        {
            const uint16_t* pusIndices = kPatch.GetIndices();
            if (pusIndices)
                bWaiting = bWaiting || std::any_of(pusIndices, pusIndices + kPatch.GetControlPointCount(),
                                                   [&](uint16_t usIndex)
                                                   { return usIndex >= uiPoints && usIndex < uiEnd; });
        });
    m_bEdgePointsPending = bWaiting;
    LinkPatches(&kStream);
}

void NiBezierMesh::SaveBinary(NiStream& kStream)
{
    NiNode::SaveBinary(kStream);
    kStream.Save(m_usNumPoints);
    kStream.Save(m_ucLevel);
    kStream.Save(m_ucMaxLevel);
    if (m_pkPoints)
        kStream.Write(m_pkPoints.get(), m_usNumPoints * sizeof(NiPoint3));
    kStream.Save(uint32_t(m_pkTextureCoords ? 1 : 0));
    if (m_pkTextureCoords)
        kStream.Write(m_pkTextureCoords.get(), m_usNumPoints * sizeof(NiTexCoord));
    kStream.Save(uint32_t(m_pkColors ? 1 : 0));
    if (m_pkColors)
        kStream.Write(m_pkColors.get(), m_usNumPoints * sizeof(NiColorA));
    const uint16_t usEdges = m_pkSharedEdges ? m_usNumSharedEdges : 0;
    kStream.Save(usEdges);
    if (usEdges != 0)
        kStream.Write(m_pkSharedEdges->GetBase(), 4u * usEdges * sizeof(uint16_t));
}

//--- Clone and comparison -----------------------------------------------------------------------

NiObject* NiBezierMesh::MakeClone()
{
    NiBezierMesh* pkClone = new NiBezierMesh;
    CopyToClone(pkClone);
    return pkClone;
}

void NiBezierMesh::CopyToClone(NiBezierMesh* pkClone)
{
    NiNode::CopyToClone(pkClone);
    pkClone->m_usNumPoints = m_usNumPoints;
    pkClone->m_usNumTextureSets = m_usNumTextureSets;
    pkClone->m_ucMaxLevel = m_ucMaxLevel;
    // The level is taken as it is: the cloned patches have no control arrays until
    // FixCloneLinks, so nothing may tessellate them yet.
    pkClone->m_ucLevel = m_ucLevel;
    pkClone->m_pkPoints = CopyOf(m_pkPoints, m_usNumPoints);
    pkClone->m_pkTextureCoords = CopyOf(m_pkTextureCoords, m_usNumPoints);
    pkClone->m_pkColors = CopyOf(m_pkColors, m_usNumPoints);
    if (m_pkSharedEdges)
    {
        pkClone->m_pkSharedEdges = std::make_unique<NiBezierIndexArray>(m_pkSharedEdges->GetCapacity());
        for (uint32_t i = 0; i < m_pkSharedEdges->GetCount(); ++i)
            pkClone->m_pkSharedEdges->Add(m_pkSharedEdges->GetAt(i));
        pkClone->m_usNumSharedEdges = m_usNumSharedEdges;
    }
    pkClone->m_bEdgePointsPending = m_bEdgePointsPending;
}

void NiBezierMesh::FixCloneLinks(NiObject* pkClone)
{
    NiNode::FixCloneLinks(pkClone);
    if (NiBezierMesh* pkMeshClone = NiDynamicCast<NiBezierMesh>(pkClone))
        pkMeshClone->LinkPatches();
}

bool NiBezierMesh::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiNode::IsEquivalent(pkObject))
        return false;
    const NiBezierMesh& kOther = *static_cast<const NiBezierMesh*>(pkObject);
    const size_t uiCount = m_usNumPoints;
    return GetAdaptive() == kOther.GetAdaptive() && m_usNumPoints == kOther.m_usNumPoints &&
           (m_usFlags & NORMALS_MASK) == (kOther.m_usFlags & NORMALS_MASK) && m_ucLevel == kOther.m_ucLevel &&
           m_ucMaxLevel == kOther.m_ucMaxLevel &&
           SameBytes(m_pkPoints.get(), kOther.m_pkPoints.get(), uiCount) &&
           SameBytes(m_pkTextureCoords.get(), kOther.m_pkTextureCoords.get(), uiCount) &&
           SameBytes(m_pkColors.get(), kOther.m_pkColors.get(), uiCount);
}

void NiBezierMesh::AddFieldStrings(NiFieldStringList& kList) const
{
    NiNode::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiBezierMesh"));
    kList.push_back(NiFieldString("m_usNumPoints", m_usNumPoints));
    kList.push_back(NiFieldString("m_ucLevel", m_ucLevel));
    kList.push_back(NiFieldString("m_ucMaxLevel", m_ucMaxLevel));
    kList.push_back(NiFieldString("m_usNumSharedEdges", m_usNumSharedEdges));
}
