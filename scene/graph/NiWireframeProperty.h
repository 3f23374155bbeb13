#pragma once

#include "scene/graph/NiProperty.h"

// Wireframe fill when on, solid fill when off; off by default.
// The switch is bit 0 of the flag word; the class has no other field.
class NiWireframeProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiWireframeProperty();

    static NiRefPtr<NiWireframeProperty> GetDefault();

    void SetWireframe(bool bOn) { SetBit(bOn, 0); }
    bool GetWireframe() const { return GetBit(0); }

    int32_t GetPropertyType() const override { return WIREFRAME; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
