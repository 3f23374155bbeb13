#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/object/NiPtrList.h"

#include <cstdint>

class NiNode;

// The base of lights and texture effects: a scene object that changes how the subtree of every
// node it is attached to is drawn. The effect and its nodes list each other without references
// (either side's destructor removes both links); the index orders effects and names their
// device state in the renderer, and the revision tells the renderer when to rebuild that state.
class NiDynamicEffect : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum EffectKind : int32_t
    {
        AMBIENT_LIGHT = 0,
        DIR_LIGHT = 1,
        POINT_LIGHT = 2,
        SPOT_LIGHT = 3,
        TEXTURE_EFFECT = 4
    };

    ~NiDynamicEffect() override;

    virtual int32_t GetEffectKind() const = 0;

    bool GetSwitch() const { return m_bOn; }
    void SetSwitch(bool bOn) { m_bOn = bOn; }
    int32_t GetIndex() const { return m_iIndex; }
    int32_t GetRevisionID() const { return m_iRevision; }
    void IncrementRevisionID() { ++m_iRevision; }

    //--- Affected nodes: each node once, the newest first. Both operations keep the node's
    // effect list in step; a null node is ignored. ---
    void AddAffectedNode(NiNode* pkNode);
    void RemoveAffectedNode(NiNode* pkNode);
    void DetachAllNodes();
    const NiPtrList<NiNode>& GetAffectedNodeList() const { return m_kAffectedNodes; }

    bool IsVisual() const override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiDynamicEffect();

    // The scene-object part and the revision; the clone keeps its own index and no nodes.
    void CopyToClone(NiDynamicEffect* pkClone);
    // Tells every live renderer to forget the effect. The most derived destructor calls it,
    // while the effect still answers its own kind; later calls do nothing.
    void PurgeFromRenderers();

    bool m_bOn = true;
    int32_t m_iIndex;
    int32_t m_iRevision = 1;
    NiPtrList<NiNode> m_kAffectedNodes;

private:
    bool m_bPurged = false;

    static int32_t ms_iNextIndex;
};
