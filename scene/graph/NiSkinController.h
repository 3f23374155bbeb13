#pragma once

#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <vector>

class NiBone;

// One vertex a bone moves: its position in the bone's model space, and its weight.
struct NiSkinInfluence
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float weight = 0.0f;
};

// What a skin controller keeps between LoadBinary and ResolveLinks: the bones' ids.
class NiSkinControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    std::vector<uint32_t> m_kBoneIDs;
};

// The abstract skin: for every bone of a skeleton the vertices of the target that the bone
// moves, each with its position in the bone's space and a weight. A deformation writes each
// vertex as the weighted sum of its bone-space positions carried into the skeleton's space by
// the bones' skin transforms. Concrete skins say what their target is and when they deform.
//
// The bones are not counted (the scene graph owns them); a bone that goes away leaves an empty
// slot, which every operation skips. Vertex indices at or beyond the target's vertex count are
// skipped too.
class NiSkinController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiSkinControllerLinkRecord;

    ~NiSkinController() override;

    //--- Bones and influences. ---
    // Replaces the bones (slots may be empty) and their influences: one list of influences and
    // one of vertex indices per bone, of equal lengths.
    void SetBones(std::vector<NiBone*> kBones, std::vector<std::vector<NiSkinInfluence>> kInfluences,
                  std::vector<std::vector<uint16_t>> kVertices);
    uint32_t GetBoneCount() const { return static_cast<uint32_t>(m_kBones.size()); }
    NiBone* GetBone(uint32_t uiBone) const { return uiBone < m_kBones.size() ? m_kBones[uiBone] : nullptr; }
    const std::vector<NiSkinInfluence>& GetInfluences(uint32_t uiBone) const { return m_kInfluences[uiBone]; }
    const std::vector<uint16_t>& GetInfluenceVertices(uint32_t uiBone) const { return m_kVertices[uiBone]; }
    // Each bone's bound in its own space; empty until computed.
    const std::vector<NiBoundingSphere>& GetBoneBounds() const { return m_kBoneBounds; }

    // A bone that is going away.
    void ForgetBone(NiBone* pkBone);

    // The bone bounds, when there are bones, influences and a target with vertices, and no
    // bounds yet.
    void ComputeBoneBounds();
    // The merged bound of the bones' bounds in the skeleton's space; unchanged without bones.
    void ComputeSkinBound(NiBoundingSphere& kBound);

    // The first controller of the object's chain that is a skin, or null.
    static NiSkinController* FindSkinController(NiObjectNET* pkObject);

    //--- The operations after the time controller's, in their fixed order. ---
    // Renumbers the influences through the map (map[v]: the new index of old vertex v, negative
    // for a vertex that goes away): each bone keeps the influences of the vertices that stay, in
    // their order, under their new indices, one per new vertex.
    virtual void RemapVertices(uint16_t usOldCount, uint32_t uiUnused, uint16_t usNewCount,
                               const int32_t* piMap);
    // The deformed positions, GetVertexCount of them; a vertex no bone moves ends at the origin.
    virtual void Deform(NiPoint3* pkPositions);
    virtual uint16_t GetVertexCount() const = 0;
    // A new empty controller of the concrete class.
    virtual NiSkinController* CreateClone() const = 0;

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

protected:
    NiSkinController();

    void CopyToClone(NiSkinController* pkClone) const;

private:
    void AttachToBones();
    void DetachFromBones();

    std::vector<NiBone*> m_kBones;
    std::vector<NiBoundingSphere> m_kBoneBounds;
    std::vector<std::vector<NiSkinInfluence>> m_kInfluences;
    std::vector<std::vector<uint16_t>> m_kVertices;
};
