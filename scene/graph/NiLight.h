#pragma once

#include "scene/graph/NiDynamicEffect.h"
#include "scene/object/NiColor.h"

// The base of the four lights: a dimmer and three colours. The renderer treats a light whose
// dimmer is below 0.01 as off. Every setter advances the revision, so that the renderer's
// device light follows edits and not only moves.
class NiLight : public NiDynamicEffect
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    void SetDimmer(float fDimmer);
    float GetDimmer() const { return m_fDimmer; }
    void SetAmbientColor(const NiColor& kColor);
    const NiColor& GetAmbientColor() const { return m_amb; }
    void SetDiffuseColor(const NiColor& kColor);
    const NiColor& GetDiffuseColor() const { return m_diff; }
    void SetSpecularColor(const NiColor& kColor);
    const NiColor& GetSpecularColor() const { return m_spec; }

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiLight();

    void CopyToClone(NiLight* pkClone);

    float m_fDimmer = 1.0f;
    NiColor m_amb = NiColor::WHITE;
    NiColor m_diff = NiColor::WHITE;
    NiColor m_spec = NiColor::WHITE;
};
