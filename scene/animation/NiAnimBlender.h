#pragma once

#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/PositionKey.h"
#include "scene/animation/RotationKey.h"
#include "scene/animation/TextKey.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiAVObject;
class NiKeyframeData;
class NiNode;

// What a blender keeps between LoadBinary and ResolveLinks: the ids of its root, nodes and
// controllers.
class NiAnimBlenderLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiRootID = 0;
    std::vector<uint32_t> m_kNodeIDs;
    std::vector<uint32_t> m_kControllerIDs;
};

// Keeps several animation sequences for one subtree of nodes and changes from one to another:
// playing one installs its key arrays into the nodes' keyframe controllers; blending moves every
// node from the pose it had to the destination's pose at a text key; morphing runs the current
// and the destination sequence in step through their "morph:" text keys and mixes their poses.
//
// The blender animates its target's subtree: without a target it reaches none of its nodes.
// The key arrays of the sequences are shared between a blender and its clones (each array goes
// with the last of them); whatever a blender installed into keyframe data is taken out again
// before the data could free it.
class NiAnimBlender : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiAnimBlenderLinkRecord;
    using PositionArray = std::shared_ptr<NiPositionKeyArray>;
    using RotationArray = std::shared_ptr<NiRotationKeyArray>;

    NiAnimBlender();
    ~NiAnimBlender() override;

    // The subtree: the root and every node below it reached through nodes, in pre-order, each
    // with its first keyframe controller (a new one without data when it has none).
    void Init(NiNode* pkRoot);
    // A sequence from a tree of the root's shape; -1 for another shape. With the copy flag the
    // keys are copied; without it the blender takes the tree's key arrays out of its data.
    int32_t AddSequence(NiNode* pkSequenceRoot, int32_t iCycleType, bool bCopy);
    uint32_t ClearControllers();
    void ApplyActiveSequence();
    float BlendToSequence(int32_t iDestination, const char* pcTextKey, float fStart, float fDuration);
    void MorphToSequence(int32_t iDestination, float fTime, float fDuration);
    uint32_t PoseAtTime(int32_t iSequence, float fKeyTime);
    bool SequencesJoin(int32_t iFirst, int32_t iSecond) const;
    float GetTimeToTextKey(float fTime, const char* pcName);

    uint32_t GetNodeCount() const { return static_cast<uint32_t>(m_kControllers.size()); }
    int32_t GetSequenceCount() const { return static_cast<int32_t>(m_kSequences.size()); }
    int32_t GetActiveSequence() const { return m_iActive; }
    void SetActiveSequence(int32_t iSequence) { m_iActive = iSequence; }
    float GetDuration(int32_t iSequence) const { return m_kSequences[iSequence].m_fDuration; }
    float GetMorphDestinationOffset() const { return m_fMorphOffset; }
    bool IsBlending() const { return m_bBlending; }
    bool IsMorphing() const { return m_bMorphing; }
    NiNode* GetRoot() const { return Root(); }
    NiAVObject* GetNode(uint32_t i) const;
    NiKeyframeController* GetController(uint32_t i) const { return Controller(i); }
    const PositionArray& GetPositionKeys(int32_t iSequence, uint32_t i) const
    {
        return m_kSequences[iSequence].m_kPositions[i];
    }
    const RotationArray& GetRotationKeys(int32_t iSequence, uint32_t i) const
    {
        return m_kSequences[iSequence].m_kRotations[i];
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    struct Sequence
    {
        std::vector<PositionArray> m_kPositions; // one per node, never null
        std::vector<RotationArray> m_kRotations;
        float m_fDuration = 0.0f;
        std::vector<TextKey> m_kTextKeys;
        int32_t m_iCycleType = CLAMP;
    };

    // The root and the controllers, reached only while the blender has its target: the target's
    // subtree is what keeps them (uncounted here) alive.
    NiNode* Root() const { return m_pTarget ? m_pkRoot : nullptr; }
    NiKeyframeController* Controller(uint32_t i) const { return m_pTarget ? m_kControllers[i] : nullptr; }
    // The nodes a sequence's rows reach: its rows and the node list can differ in length (a
    // file's node count against the tree of a later AddSequence, or Init after sequences).
    uint32_t NodesIn(const Sequence& kSequence) const;
    void CollectNodes(NiNode* pkNode);
    void EmptyController(uint32_t i);
    void SamplePose(float fTime, int32_t iSequence, std::vector<NiPoint3>& kPositions,
                    std::vector<NiQuaternion>& kRotations);
    void SetDestinationPose(const char* pcTextKey, float& fKeyTime);
    void CaptureCurrentPose();
    void WritePose(float fWeight, uint32_t uiNodes);
    void UpdateBlend(float fTime);
    void UpdateMorph(float fTime);
    void FinishTransition(int32_t iDestination, float fStartTime);
    static void FindMorphKeys(float fKeyTime, int32_t& iNext, int32_t& iPrevious,
                              const std::vector<TextKey>& kKeys, int32_t iCycleType);
    static void FindTextKeyPair(const char* pcFirst, const char* pcSecond, int32_t& iSecond, int32_t& iFirst,
                                const std::vector<TextKey>& kKeys, int32_t iCycleType);
    // Remembers keyframe data this blender installs into, to take its arrays out when it goes.
    void NoteData(uint32_t i);

    NiNode* m_pkRoot = nullptr;
    // Uncounted, as the nodes are: the controllers sit in the chains of nodes of the tree that
    // usually holds this blender as well, and counting them would close a loop of references.
    std::vector<NiKeyframeController*> m_kControllers;
    std::vector<Sequence> m_kSequences;
    int32_t m_iActive = -1;

    int32_t m_iBlendDestination = -1;
    float m_fBlendKeyOffset;
    float m_fBlendStart;
    float m_fBlendDuration;
    int32_t m_iMorphDestination = -1;
    int32_t m_iMorphSource = -1;
    float m_fMorphOffset;
    float m_fMorphStart;
    float m_fMorphDuration;
    std::vector<NiPoint3> m_kFromPositions;
    std::vector<NiQuaternion> m_kFromRotations;
    std::vector<NiPoint3> m_kToPositions;
    std::vector<NiQuaternion> m_kToRotations;
    bool m_bBlending = false;
    bool m_bMorphing = false;

    std::vector<NiRefPtr<NiKeyframeData>> m_kTouchedData;
};
