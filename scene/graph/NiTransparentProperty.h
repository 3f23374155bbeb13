#pragma once

#include "scene/graph/NiProperty.h"

// Colour-key transparency: the switch in bit 0 of the flag word and the key colour beside it.
// Off with colour 0 by default.
class NiTransparentProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTransparentProperty();

    static NiRefPtr<NiTransparentProperty> GetDefault();

    void SetTransparent(bool bOn) { SetBit(bOn, 0); }
    bool GetTransparent() const { return GetBit(0); }
    void SetColor(uint32_t uiColor) { m_uiColor = uiColor; }
    uint32_t GetColor() const { return m_uiColor; }

    int32_t GetPropertyType() const override { return TRANSPARENT; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiTransparentProperty* pkClone);

private:
    uint32_t m_uiColor = 0;
};
