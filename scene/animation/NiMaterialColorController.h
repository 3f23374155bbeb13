#pragma once

#include "scene/animation/NiPosColorController.h"

// Animates one colour of a material, chosen by the selector in flag bits 4-6, and marks the
// material changed. Selectors 4 to 7 name no colour and write nothing.
class NiMaterialColorController : public NiPosColorController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum Field : uint16_t
    {
        AMB = 0,
        DIFF = 1,
        SPEC = 2,
        SELF_ILLUM = 3
    };
    static constexpr uint16_t FIELD_MASK = 0x0070;
    static constexpr int FIELD_POS = 4;

    explicit NiMaterialColorController(NiPosData* pkData = nullptr);

    void SetField(uint16_t usField) { NiTimeController::SetField(usField, FIELD_MASK, FIELD_POS); }
    uint16_t GetField() const { return NiTimeController::GetField(FIELD_MASK, FIELD_POS); }

    static NiMaterialColorController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiMaterialColorController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
};
