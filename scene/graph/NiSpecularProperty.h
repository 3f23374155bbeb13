#pragma once

#include "scene/graph/NiProperty.h"

// Specular highlights on or off; off by default.
// The switch is bit 0 of the flag word; the class has no other field.
class NiSpecularProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiSpecularProperty();

    static NiRefPtr<NiSpecularProperty> GetDefault();

    void SetSpecular(bool bOn) { SetBit(bOn, 0); }
    bool GetSpecular() const { return GetBit(0); }

    int32_t GetPropertyType() const override { return SPECULAR; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
