#pragma once

#include "scene/bezier/NiBezierPatch.h"
#include "scene/bezier/NiBezierVertexCache.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// What the patch families with shared edges (triangles, rectangles) keep per edge: the index
// among the mesh's children of the patch sharing it, the code of its edge (0 none, e + 1 same
// direction, -(e + 1) opposite), and the bits of the grid points decided on it in the last
// adaptive pass, which a neighbour reads when it asks later in the same pass (the pass parity
// tells). The record adds the indices and the codes after the patch's.
template <uint32_t EDGES, uint32_t GRID> class NiBezierEdgePatch : public NiBezierPatch
{
public:
    // Codes name an edge of any patch family: at most four edges.
    static constexpr int16_t MAX_EDGE_CODE = 4;

    void SetEdgeNeighbor(uint16_t usEdge, uint32_t uiIndex, int16_t sCode)
    {
        if (usEdge >= EDGES)
            return;
        m_auiNeighborIndex[usEdge] = uiIndex;
        m_asNeighborEdge[usEdge] = sCode;
    }
    uint32_t GetNeighborIndex(uint16_t usEdge) const
    {
        return usEdge < EDGES ? m_auiNeighborIndex[usEdge] : 0;
    }
    int16_t GetNeighborEdge(uint16_t usEdge) const { return usEdge < EDGES ? m_asNeighborEdge[usEdge] : 0; }
    uint8_t GetPassParity() const { return m_bPassParity; }
    // Whether grid point t of the edge was decided in the last adaptive tessellation.
    bool GetSplitBit(uint16_t usEdge, uint16_t usT) const
    {
        return usEdge < EDGES && usT <= GRID && (m_aaucSplitBits[usEdge][usT / 8] & (1u << (usT % 8))) != 0;
    }

    void LoadBinary(NiStream& kStream) override
    {
        NiBezierPatch::LoadBinary(kStream);
        for (uint32_t& uiIndex : m_auiNeighborIndex)
            kStream.Load(uiIndex);
        for (int16_t& sCode : m_asNeighborEdge)
        {
            kStream.Load(sCode);
            // A code naming no edge of any patch would index past the neighbour's bits.
            if (sCode > MAX_EDGE_CODE || sCode < -MAX_EDGE_CODE)
                sCode = 0;
        }
    }

    void SaveBinary(NiStream& kStream) override
    {
        NiBezierPatch::SaveBinary(kStream);
        for (const uint32_t uiIndex : m_auiNeighborIndex)
            kStream.Save(uiIndex);
        for (const int16_t sCode : m_asNeighborEdge)
            kStream.Save(sCode);
    }

    bool IsEquivalent(const NiObject* pkObject) const override
    {
        if (!NiBezierPatch::IsEquivalent(pkObject))
            return false;
        const NiBezierEdgePatch& kOther = *static_cast<const NiBezierEdgePatch*>(pkObject);
        return std::equal(m_auiNeighborIndex, m_auiNeighborIndex + EDGES, kOther.m_auiNeighborIndex) &&
               std::equal(m_asNeighborEdge, m_asNeighborEdge + EDGES, kOther.m_asNeighborEdge);
    }

protected:
    using NiBezierPatch::NiBezierPatch;

    // A neighbour's question in this patch's grid: the segment [t0, t1] (span d, 2^log) of the
    // edge, and whether it is the second half of its parent (in the caller's units).
    struct EdgeQuery
    {
        uint16_t m_usEdge = 0;
        int32_t m_iT0 = 0;
        int32_t m_iT1 = 0;
        int32_t m_iSpan = 0;
        uint32_t m_uiLog = 0;
        bool m_bOdd = false;
    };
    // Reads the segment of the code's edge from a caller's grid of 2^max units: mirrored when
    // the edges run opposite ways, rescaled to this grid. False for a question that names no
    // edge of this patch or no power-of-two segment, or a patch without control points: such a
    // question imposes nothing.
    bool ReadEdgeQuery(uint16_t usT0, uint16_t usT1, uint8_t ucCallerMax, int16_t sCode,
                       EdgeQuery& kQuery) const
    {
        if (sCode == 0 || sCode > int16_t(EDGES) || sCode < -int16_t(EDGES) || ucCallerMax > 15 ||
            !m_pkControlPoints)
            return false;
        const int32_t S = 1 << ucCallerMax;
        int32_t t0 = sCode < 0 ? S - usT1 : usT0;
        int32_t t1 = sCode < 0 ? S - usT0 : usT1;
        int32_t d = t1 - t0;
        if (d <= 0 || t0 < 0 || t1 > S || !std::has_single_bit(uint32_t(d)))
            return false;
        kQuery.m_bOdd = ((t0 >> std::countr_zero(uint32_t(d))) & 1) != 0;
        const int32_t iShift = std::countr_zero(GRID) - int32_t(ucCallerMax);
        if (iShift > 0)
            t0 <<= iShift, t1 <<= iShift, d <<= iShift;
        else
            t0 >>= -iShift, t1 >>= -iShift, d >>= -iShift;
        if (d <= 0)
            return false;
        kQuery.m_usEdge = static_cast<uint16_t>((sCode < 0 ? -sCode : sCode) - 1);
        kQuery.m_iT0 = t0;
        kQuery.m_iT1 = t1;
        kQuery.m_iSpan = d;
        kQuery.m_uiLog = static_cast<uint32_t>(std::countr_zero(uint32_t(d)));
        return true;
    }
    // The answer of a patch tessellated earlier in the pass: its record of the segment's middle.
    bool ReadSplitBit(const EdgeQuery& kQuery) const
    {
        return GetSplitBit(kQuery.m_usEdge, static_cast<uint16_t>((kQuery.m_iT0 + kQuery.m_iT1) / 2));
    }

    // The patch part, then the indices and codes (the clone's bits and parity start afresh).
    void CopyToClone(NiBezierEdgePatch* pkClone)
    {
        NiBezierPatch::CopyToClone(pkClone);
        std::copy_n(m_auiNeighborIndex, EDGES, pkClone->m_auiNeighborIndex);
        std::copy_n(m_asNeighborEdge, EDGES, pkClone->m_asNeighborEdge);
    }

    // Before an adaptive pass: a neighbour asking during it reads no decision of this patch.
    void ClearSplitBits() { std::memset(m_aaucSplitBits, 0, sizeof(m_aaucSplitBits)); }
    // After an adaptive pass: bit t of edge e is set when the cache holds a decision for the
    // grid point at t along it; then the parity flips.
    template <class TIndex> void RecordSplitBits(TIndex&& kGridIndexOnEdge)
    {
        const NiBezierVertexCache& kCache = NiBezierVertexCache::Get();
        for (uint32_t e = 0; e < EDGES; ++e)
            for (uint32_t t = 0; t <= GRID; ++t)
                if (kCache.IsCurrent(kGridIndexOnEdge(e, t)))
                    m_aaucSplitBits[e][t / 8] |= static_cast<uint8_t>(1u << (t % 8));
        m_bPassParity = static_cast<uint8_t>(!m_bPassParity);
    }

    uint32_t m_auiNeighborIndex[EDGES] = {};
    int16_t m_asNeighborEdge[EDGES] = {};
    uint8_t m_bPassParity = 0;
    // Zeroed so that a query before the first adaptive pass reads "undecided" rather than
    // whatever the memory held.
    uint8_t m_aaucSplitBits[EDGES][GRID / 8 + 1] = {};
};
