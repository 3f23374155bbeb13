#pragma once

#include "scene/graph/NiLight.h"

// Light from one direction: the first column of the world rotation, i.e. the model x axis.
class NiDirectionalLight : public NiLight
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiDirectionalLight();
    ~NiDirectionalLight() override;

    int32_t GetEffectKind() const override { return DIR_LIGHT; }
    // Valid after a world transform update.
    const NiPoint3& GetWorldDirection() const { return m_kWorldDir; }

    void UpdateWorldTransform() override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiDirectionalLight* pkClone);

    NiPoint3 m_kWorldDir = NiPoint3::UNIT_X;
};
