#pragma once

#include "scene/graph/NiProperty.h"

// Dithering on or off; off by default.
// The switch is bit 0 of the flag word; the class has no other field.
class NiDitherProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiDitherProperty();

    static NiRefPtr<NiDitherProperty> GetDefault();

    void SetDither(bool bOn) { SetBit(bOn, 0); }
    bool GetDither() const { return GetBit(0); }

    int32_t GetPropertyType() const override { return DITHER; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
