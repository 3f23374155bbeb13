#pragma once

#include "scene/graph/NiAccumulator.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

// What a sort-adjust loader keeps between LoadBinary and ResolveLinks: the accumulator's id.
class NiSortAdjustNodeLinkRecord : public NiNodeLinkRecord
{
public:
    uint32_t m_uiAccumulatorID = 0;
};

// A group node that changes which accumulator collects the geometry of its subtree while it
// draws: the renderer's own (keep), none (the subtree draws at once, unsorted), or the node's
// own accumulator, which sorts and draws what the subtree queued when the subtree is done.
class NiSortAdjustNode : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiSortAdjustNodeLinkRecord;

    // Values other than these act as SORT_KEEP.
    enum SortMode : int32_t
    {
        SORT_KEEP = 0,
        SORT_DIRECT = 1,
        SORT_OWN_ACCUMULATOR = 2
    };
    // Files from this version on carry the accumulator's id.
    static constexpr const char* ACCUMULATOR_VERSION = "3.01";

    NiSortAdjustNode();
    ~NiSortAdjustNode() override;

    void SetSortingMode(int32_t eMode) { m_eSortMode = eMode; }
    int32_t GetSortingMode() const { return m_eSortMode; }
    void SetAccumulator(NiAccumulator* pkAccumulator) { m_spAccumulator = pkAccumulator; }
    NiAccumulator* GetAccumulator() const { return m_spAccumulator; }

    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    int32_t m_eSortMode = SORT_KEEP;
    NiRefPtr<NiAccumulator> m_spAccumulator;
};
