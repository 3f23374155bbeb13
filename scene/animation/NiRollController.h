#pragma once

#include "scene/animation/NiFloatController.h"

// Turns its target about its local z axis by the keys' angle (radians) on every update, on
// top of the rotation the target already has, so a roll adds to a look-at or path turn that
// ran before it.
class NiRollController : public NiFloatController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiRollController() = default;

    static NiRollController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiRollController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
};
