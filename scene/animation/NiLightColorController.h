#pragma once

#include "scene/animation/NiPosColorController.h"

// Animates a light's colours: in ambient mode (flag bit 4) the ambient colour with black
// diffuse and specular, otherwise black ambient with the diffuse and specular colour. Each
// colour written advances the light's revision.
class NiLightColorController : public NiPosColorController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t AMBIENT_MASK = 0x0010;

    explicit NiLightColorController(NiPosData* pkData = nullptr);

    void SetAmbient(bool bAmbient) { SetBit(bAmbient, AMBIENT_MASK); }
    bool GetAmbient() const { return GetBit(AMBIENT_MASK); }

    static NiLightColorController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiLightColorController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
};
