#pragma once

#include "scene/graph/NiLight.h"

// Light from a point, falling off with distance d as 1 / (c0 + c1 d + c2 d^2).
class NiPointLight : public NiLight
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiPointLight();
    ~NiPointLight() override;

    int32_t GetEffectKind() const override { return POINT_LIGHT; }

    // Each setter advances the revision.
    void SetConstantAttenuation(float fAtten);
    float GetConstantAttenuation() const { return m_fAtten0; }
    void SetLinearAttenuation(float fAtten);
    float GetLinearAttenuation() const { return m_fAtten1; }
    void SetQuadraticAttenuation(float fAtten);
    float GetQuadraticAttenuation() const { return m_fAtten2; }

    void UpdateWorldTransform() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiPointLight* pkClone);

    float m_fAtten0 = 0.0f;
    float m_fAtten1 = 1.0f;
    float m_fAtten2 = 0.0f;
};
