#pragma once

#include "scene/graph/NiProperty.h"

// Depth comparison (bit 0; less-or-equal when on, every fragment passes when off) and depth
// writes (bit 1). Both are off by default, so a scene without a z-buffer property draws
// without either; the editor attaches one with both on to every model.
class NiZBufferProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiZBufferProperty();

    static NiRefPtr<NiZBufferProperty> GetDefault();

    void SetZBufferTest(bool bOn) { SetBit(bOn, 0); }
    bool GetZBufferTest() const { return GetBit(0); }
    void SetZBufferWrite(bool bOn) { SetBit(bOn, 1); }
    bool GetZBufferWrite() const { return GetBit(1); }

    int32_t GetPropertyType() const override { return ZBUFFER; }
    NiObject* MakeClone() override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
