#pragma once

#include "scene/graph/NiNode.h"
#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiGrowArray.h"

#include <cstdint>

// A group node that shows one child at a time: the child at the active index, or none at -1.
// With update-only-active set, an update pass updates no child; the active child is brought up
// to date once per pass, with the pass's time, when it is about to be drawn.
//
// Unlike the group node, the update pass runs neither the node's own controllers nor those of
// its properties.
class NiSwitchNode : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t UPDATE_ONLY_ACTIVE_MASK = 0x0020;

    NiSwitchNode();
    ~NiSwitchNode() override;

    // The active child's slot; -1 (or a slot that is empty or out of range) shows none.
    void SetIndex(int32_t iIndex) { m_iIndex = iIndex; }
    int32_t GetIndex() const { return m_iIndex; }
    // The child the index names, or null.
    NiAVObject* GetActiveChild() const;
    void SetUpdateOnlyActive(bool bOnlyActive);
    bool GetUpdateOnlyActive() const { return (m_usFlags & UPDATE_ONLY_ACTIVE_MASK) != 0; }
    const NiBoundingSphere& GetModelBound() const { return m_modelBound; }
    float GetUpdateTime() const { return m_fUpdateTime; }

    void AddChild(NiAVObject* pkChild, bool bFirstFree = false) override;
    NiRefPtr<NiAVObject> RemoveChild(NiAVObject* pkChild) override;
    NiRefPtr<NiAVObject> RemoveChildAt(uint32_t uiIndex) override;
    NiRefPtr<NiAVObject> SetChildAt(uint32_t uiIndex, NiAVObject* pkChild) override;
    void PropagateBoundUp() override;

    void PropagateUpdate(float fTime) override;
    void Draw(NiCamera* pkCamera) override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;
    void PassedCulling(NiCamera* pkCamera) override;
    // With update-only-active only the active child is kept current, so the other side meets it
    // alone (nothing at -1); else the group node's rule.
    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    // The group node's copy (the clone's stamps start at 0), then the index.
    void CopyToClone(NiSwitchNode* pkClone);
    // The visual children's world bounds taken into the node's model space and merged.
    void RecomputeModelBound();
    // With update-only-active, updates the child in the slot once per update pass.
    void BringChildUpToDate(uint32_t uiIndex);

    int32_t m_iIndex = -1;
    float m_fUpdateTime = 0.0f;
    uint32_t m_uiUpdateStamp = 1;
    // The update stamp at which each child was last brought up to date (0: never).
    NiGrowArray<uint32_t> m_kChildStamps{1, 1};
    NiBoundingSphere m_modelBound;
};
