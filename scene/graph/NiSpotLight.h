#pragma once

#include "scene/graph/NiPointLight.h"

// A point light limited to a cone about the first column of the world rotation.
class NiSpotLight : public NiPointLight
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiSpotLight();
    ~NiSpotLight() override;

    int32_t GetEffectKind() const override { return SPOT_LIGHT; }

    // Valid after a world transform update.
    const NiPoint3& GetWorldDirection() const { return m_wDir; }
    // The cone's half angle in degrees. Each setter advances the revision.
    void SetSpotAngle(float fAngle);
    float GetSpotAngle() const { return m_fSpotAngle; }
    void SetSpotExponent(float fExponent);
    float GetSpotExponent() const { return m_fSpotExponent; }

    void UpdateWorldTransform() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiSpotLight* pkClone);

    NiPoint3 m_wDir = NiPoint3::UNIT_X;
    float m_fSpotAngle = 0.0f;
    float m_fSpotExponent = 0.0f;
};
