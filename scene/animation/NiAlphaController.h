#pragma once

#include "scene/animation/NiFloatController.h"

// Animates the alpha of a material (not clamped) and marks the material changed, so that the
// renderer takes the new value.
class NiAlphaController : public NiFloatController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiAlphaController() = default;

    static NiAlphaController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiAlphaController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
};
