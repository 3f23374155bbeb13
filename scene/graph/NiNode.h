#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/object/NiGrowArray.h"
#include "scene/object/NiPtrList.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

class NiDynamicEffect;

// What NiNode keeps between LoadBinary and ResolveLinks: its child and effect ids.
class NiNodeLinkRecord : public NiAVObjectLinkRecord
{
public:
    NiGrowArray<uint32_t> m_kChildIDs{1, 1};
    NiGrowArray<uint32_t> m_kEffectIDs{1, 1};
};

// The group node: an ordered array of child slots (empty slots allowed), each child holding
// the node as its parent, and the list of dynamic effects that shine on the subtree. It carries
// the passes down the tree: controllers and world transforms down, bounds merged back up,
// property tables and effect lists pushed down.
//
// Contents: children / effects / the passes / the scene-object operations it overrides /
// stream and clone.
class NiNode : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiNodeLinkRecord;

    static constexpr uint16_t VISUAL_MASK = 0x0008;

    NiNode();
    ~NiNode() override;

    //--- Children. The node holds one reference on each; a child taken from another node leaves
    // that node first. A child that is this node or one of its ancestors is refused, as a loop
    // would make every pass recurse for ever. ---
    // Into the first empty slot with the flag, else after the last used slot.
    virtual void AddChild(NiAVObject* pkChild, bool bFirstFree = false);
    // Empties the first slot holding the child and hands its reference back; null when absent.
    virtual NiRefPtr<NiAVObject> RemoveChild(NiAVObject* pkChild);
    virtual NiRefPtr<NiAVObject> RemoveChildAt(uint32_t uiIndex);
    // Puts the child into the slot (growing the array); null empties the slot. Answers the
    // previous child of the slot.
    virtual NiRefPtr<NiAVObject> SetChildAt(uint32_t uiIndex, NiAVObject* pkChild);
    // The node's bound from its children as they are, then the same up to the root.
    virtual void PropagateBoundUp();

    // The number of child slots, empty ones included.
    uint32_t GetArrayCount() const { return m_kChildren.GetSize(); }
    uint32_t GetChildCount() const { return m_kChildren.GetEffectiveSize(); }
    NiAVObject* GetAt(uint32_t uiIndex) const { return m_kChildren.GetAt(uiIndex); }

    // True when a and b are the same object, or have the same class and, for nodes, slot by
    // slot the same shape.
    static bool SameStructure(const NiAVObject* pkA, const NiAVObject* pkB);

    //--- Effects. The node and the effect list each other, without references; both sides are
    // changed together. ---
    void AttachEffect(NiDynamicEffect* pkEffect);
    void DetachEffect(NiDynamicEffect* pkEffect);
    void DetachAllEffects();
    const NiPtrList<NiDynamicEffect>& GetEffectList() const { return m_kEffectList; }

    //--- Property tables and effect lists (see NiAVObject::RefreshPropertyStates). ---
    // The table in force at this node: a new default table with the properties of every
    // ancestor and of this node stored into it, from the root down.
    NiRefPtr<NiPropertyTable> GetInheritedPropertyTable() const;
    // The lists in force below this node: the given ones when the node has no effects; else a
    // new object, a clone of the given lists (with the flag) or the given lists themselves, with
    // this node's effects added.
    NiRefPtr<NiEffectLists> BuildEffectLists(NiEffectLists* pkLists, bool bClone) const;
    NiRefPtr<NiEffectLists> GetInheritedEffectLists() const;

    bool IsVisualFlag() const { return (m_usFlags & VISUAL_MASK) != 0; }

    void BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                       bool bInParentFrame) override;
    void AllocWorldVertices() override;
    void ComputeWorldVertices() override;
    void FreeWorldVertices() override;
    void AllocWorldNormals() override;
    void ComputeWorldNormals() override;
    void FreeWorldNormals() override;
    NiAVObject* FindObjectByName(const char* pcName) override;
    void BuildCollisionData(int32_t iBoxTriangles) override;
    void FreeCollisionData() override;
    bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                        const NiCollisionRecord& kRecord1) override;
    int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                              const NiCollisionRecord& kRecord1) override;
    void PropagateUpdate(float fTime) override;
    bool IsVisual() const override;
    void PropagatePropertyTable(NiPropertyTable* pkTable) override;
    void PropagateEffectLists(NiEffectLists* pkLists) override;
    void RecomputeWorldBound() override;
    // Culls and draws the children in slot order; nothing when the node is not visual.
    void Draw(NiCamera* pkCamera) override;
    // Passes the ray to the children whose subtree its bound lets it reach; a bounds-only query
    // for the nearest hit takes the node itself.
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    void ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit) override;

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void RemoveCloneData() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    // The scene-object part, then clones of the children in their slots.
    void CopyToClone(NiNode* pkClone);
    // Merges the bounds of the visual children into the node's and sets m_bVisual.
    void MergeChildBounds();
    // The update pass's last steps: every child's update at the time, then the merged bound.
    void PropagateUpdateToChildren(float fTime);
    // The node's own part of a pick: false when the ray misses the node (or the picker skips
    // it); true otherwise, with bTookNode set when a bounds-only first-hit query took the node.
    bool BeginPick(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker, bool& bTookNode);
    // The transform a bake hands the children: the given one without bInParentFrame, else the
    // given one moved into this node's frame. False for a node of scale 0, which has no frame.
    bool ChildBakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, bool bInParentFrame,
                            NiRotationMatrix& kChildRotate, NiPoint3& kChildTranslate) const;
    void SetVisual(bool bVisual);
    // True when the object is this node or one of its ancestors.
    bool IsSelfOrAncestor(const NiAVObject* pkObject) const;

    NiGrowArray<NiRefPtr<NiAVObject>> m_kChildren{1, 1};
    NiPtrList<NiDynamicEffect> m_kEffectList;
};
