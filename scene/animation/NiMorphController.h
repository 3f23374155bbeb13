#pragma once

#include "scene/animation/FloatKey.h"
#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <memory>
#include <vector>

class NiMorpherController;

// The older morph controller: its targets and one key array of several weights per key
// (KEY_TCB_ARRAY: one weight per target; KEY_TCB_INDEX: the key names a target) live inside it.
// Loading one from a file gives an NiMorpherController with equivalent morph data in its place.
// Flag bit 4 stays set until KEY_TCB_ARRAY targets were made offsets from target 0; bit 5 asks
// for recomputed normals.
class NiMorphController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t NOT_RELATIVE_MASK = 0x0010;
    static constexpr uint16_t RECOMPUTE_NORMALS_MASK = 0x0020;

    NiMorphController();
    ~NiMorphController() override;

    // Takes the keys (allocated with new[], one weight per target each, derived values
    // computed); null or count 0 clears them.
    void SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType);
    // Takes the target vertex arrays (each allocated with new[]); then computes the bound.
    void SetTargets(std::vector<std::unique_ptr<NiPoint3[]>> kTargets, uint32_t uiNumVerts);
    void SetRecomputeNormals(bool bOn) { SetBit(bOn, RECOMPUTE_NORMALS_MASK); }

    uint32_t GetNumTargets() const { return static_cast<uint32_t>(m_kTargets.size()); }
    uint32_t GetNumVerts() const { return m_uiNumVerts; }
    uint32_t GetNumKeys() const { return m_uiNumKeys; }
    KeyType GetKeyType() const { return m_eKeyType; }
    FloatKey** GetKeys() const { return m_ppKeys; }
    const NiPoint3* GetTarget(uint32_t uiIndex) const { return m_kTargets[uiIndex].get(); }
    const NiBoundingSphere* GetBound() const { return m_spBound.get(); }

    // Writes the morph at the key time into the target's points (unchanged with fewer than two
    // keys, or when the target's point count differs from the targets').
    void InterpolateVertices(float fKeyTime);
    // The union of the bounds of every key's pose; the target is left at the last key's pose.
    void ComputeBound();

    static NiMorphController* FindController(const NiObjectNET* pkObject);

    void Update(float fTime) override;
    void SetTarget(NiObjectNET* pkTarget) override;
    bool IsTargetValid() const override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    // A run of old keys, first to last, that one target keeps in its own key array.
    struct KeyWindow
    {
        uint32_t m_uiTarget;
        uint32_t m_uiFirst;
        uint32_t m_uiLast;
    };

    void FreeKeys();
    // What old key k gives target i as its weight.
    float OldWeight(uint32_t uiKey, uint32_t uiTarget) const;
    // The keys each target keeps, in target order: those within two of a key that gives it a
    // weight other than 0 (the rest of its weight curve is 0, as it is without keys).
    std::vector<KeyWindow> PlanKeyWindows() const;
    // The record as the morpher controller that takes this controller's place; null (the load
    // failed) when its memory goes past the load's bound.
    NiMorpherController* ConvertToMorpher(NiStream& kStream) const;

    uint32_t m_uiNumVerts = 0;
    uint32_t m_uiNumKeys = 0;
    KeyType m_eKeyType = KEY_TCB_ARRAY;
    uint32_t m_uiLastIndex = 0;
    std::unique_ptr<NiBoundingSphere> m_spBound;
    FloatKey** m_ppKeys = nullptr;
    std::vector<std::unique_ptr<NiPoint3[]>> m_kTargets;
};
