#pragma once

#include "scene/animation/NiMorphData.h"
#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>

class NiObjectNET;

// What a morpher keeps between LoadBinary and ResolveLinks: its data's id.
class NiMorpherControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiDataID = 0;
};

// Morphs its target's vertices (triangle geometry, or a point target registered with
// NiMorphTargetPoints) from shared morph data. The morph is deferred: Update only notes the
// time, and the vertices are computed when the target passes culling, so objects out of view
// cost nothing. Flag bit 4 asks for recomputed normals.
class NiMorpherController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiMorpherControllerLinkRecord;

    static constexpr uint16_t RECOMPUTE_NORMALS_MASK = 0x0010;

    explicit NiMorpherController(NiMorphData* pkData = nullptr);
    ~NiMorpherController() override;

    NiMorphData* GetData() const { return m_spData; }
    bool IsPending() const { return m_bPending; }
    void SetRecomputeNormals(bool bOn) { SetBit(bOn, RECOMPUTE_NORMALS_MASK); }

    // Takes the targets into the data (made when missing).
    void SetTargets(MorphTarget* pkTargets, uint32_t uiNumTargets, uint32_t uiNumVerts, bool bUpdateRange);
    // The key range spanning every target's keys.
    void UpdateKeyTimeRange();
    // Writes the weighted sum of the targets at the key time into the target's points; nothing
    // when the target's point count differs from the data's vertex count.
    void InterpolateVertices(float fKeyTime);

    static NiMorpherController* FindController(const NiObjectNET* pkObject);

    void Update(float fTime) override;
    void TargetPassedCulling() override;
    void OnDisplayed() override;
    bool IsTargetValid() const override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    friend class NiMorphController; // the old controller's loader builds a morpher

    // The inline morph of files older than "3.05".
    void LoadInlineMorph(NiStream& kStream);

    NiRefPtr<NiMorphData> m_spData;
    bool m_bPending = false;
    float m_fPendingTime = 0.0f;
};
