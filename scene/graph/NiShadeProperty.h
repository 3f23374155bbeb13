#pragma once

#include "scene/graph/NiProperty.h"

// Smooth (interpolated) shading when on, flat shading when off; on by default.
// The switch is bit 0 of the flag word; the class has no other field.
class NiShadeProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiShadeProperty();

    static NiRefPtr<NiShadeProperty> GetDefault();

    void SetSmooth(bool bOn) { SetBit(bOn, 0); }
    bool GetSmooth() const { return GetBit(0); }

    int32_t GetPropertyType() const override { return SHADE; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
