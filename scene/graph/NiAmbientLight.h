#pragma once

#include "scene/graph/NiLight.h"

// Light that reaches every surface equally, from no direction.
class NiAmbientLight : public NiLight
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiAmbientLight();
    ~NiAmbientLight() override;

    int32_t GetEffectKind() const override { return AMBIENT_LIGHT; }

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
