#pragma once

#include "scene/animation/MorphTarget.h"
#include "scene/object/NiObject.h"

#include <cstdint>
#include <memory>

// The morph targets of one vertex array: per target a vertex array and the keys of its weight.
// When relative, target 0 holds the base vertices and every later target offsets from them.
// Shared by the morpher controllers that use it and their clones.
class NiMorphData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiMorphData() = default;
    ~NiMorphData() override;

    // Takes the targets (allocated with new[]), destroying the old ones.
    void SetTargets(MorphTarget* pkTargets, uint32_t uiNumTargets, uint32_t uiNumVertsPerTarget);
    // Converts the targets between absolute vertices and offsets from target 0.
    void SetRelativeTargets(bool bRelative);
    // Marks the form of targets that are already in it.
    void SetRelative(bool bRelative) { m_bRelative = bRelative; }

    uint32_t GetNumTargets() const { return m_uiNumTargets; }
    uint32_t GetNumVertsPerTarget() const { return m_uiNumVertsPerTarget; }
    bool GetRelativeTargets() const { return m_bRelative; }
    MorphTarget* GetTargets() const { return m_spTargets.get(); }

    NiObject* MakeClone() override { return this; }
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    uint32_t m_uiNumTargets = 0;
    uint32_t m_uiNumVertsPerTarget = 0;
    std::unique_ptr<MorphTarget[]> m_spTargets;
    bool m_bRelative = false;
};
