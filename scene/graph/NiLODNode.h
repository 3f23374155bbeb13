#pragma once

#include "scene/graph/NiSwitchNode.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <memory>
#include <vector>

// One distance range of a level-of-detail node, for the child of the same index: near is
// inclusive, far exclusive. The world values follow the node's transform.
struct NiLODRange
{
    float m_fNear = 0.0f;
    float m_fWorldNear = 0.0f;
    float m_fFar = 0.0f;
    float m_fWorldFar = 0.0f;
    NiPoint3 m_kLoc = NiPoint3::ZERO;
    NiPoint3 m_kWorldLoc = NiPoint3::ZERO;
};

// A switch node that chooses its child by the camera's distance, scaled by the camera's
// level-of-detail adjustment: child i shows when the distance falls into range i. The distance
// is measured from child 0's world-bound centre, or with position-in-range from each range's
// own centre. Where ranges overlap the highest index wins.
class NiLODNode : public NiSwitchNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t POSITION_IN_RANGE_MASK = 0x0040;

    NiLODNode();
    ~NiLODNode() override;

    // Replaces the range at the index (both centres at the origin until set).
    void SetRange(uint32_t uiIndex, float fNear, float fFar);
    // The range at the index, or null.
    NiLODRange* GetRange(uint32_t uiIndex) const;
    uint32_t GetRangeCount() const { return static_cast<uint32_t>(m_kRanges.size()); }
    void SetPositionInRange(bool bInRange);
    bool GetPositionInRange() const { return (m_usFlags & POSITION_IN_RANGE_MASK) != 0; }

    // The world values of the ranges from the node's world transform.
    void UpdateWorldRanges();

    void PassedCulling(NiCamera* pkCamera) override;
    void UpdateWorldTransform() override;
    // The other side meets the active child alone with update-only-active, else each child that
    // has a range slot in turn, up to the first that answers.
    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    // Offers the children as above to the other side's operation, with the roles exchanged,
    // until one offer answers true.
    template <class TOffer> bool OfferChildren(const NiCollisionRecord& kRecord0, TOffer&& kOffer) const;

    // Empty entries are slots without a range.
    std::vector<std::unique_ptr<NiLODRange>> m_kRanges;
};
