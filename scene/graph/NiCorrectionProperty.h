#pragma once

#include "scene/graph/NiProperty.h"

// Perspective-correct texturing on or off; on by default.
// The switch is bit 0 of the flag word; the class has no other field.
class NiCorrectionProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiCorrectionProperty();

    static NiRefPtr<NiCorrectionProperty> GetDefault();

    void SetCorrect(bool bOn) { SetBit(bOn, 0); }
    bool GetCorrect() const { return GetBit(0); }

    int32_t GetPropertyType() const override { return CORRECTION; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
