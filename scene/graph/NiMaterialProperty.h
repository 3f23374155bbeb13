#pragma once

#include "scene/graph/NiProperty.h"
#include "scene/object/NiColor.h"

// The lit colours of the geometry below: ambient, diffuse, specular and emissive colour,
// specular exponent and alpha. The renderer keeps one device material per serial number and
// converts it again when the revision moves on; whoever changes the values of a material that
// may have been drawn sets the changed bit (flag bit 0), and NiPropertyTable::GetMaterial turns
// that bit into a new revision.
class NiMaterialProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiMaterialProperty();

    static NiRefPtr<NiMaterialProperty> GetDefault();

    void SetAmbientColor(const NiColor& kColor) { m_amb = kColor; }
    const NiColor& GetAmbientColor() const { return m_amb; }
    void SetDiffuseColor(const NiColor& kColor) { m_diff = kColor; }
    const NiColor& GetDiffuseColor() const { return m_diff; }
    void SetSpecularColor(const NiColor& kColor) { m_spec = kColor; }
    const NiColor& GetSpecularColor() const { return m_spec; }
    void SetEmittance(const NiColor& kColor) { m_emit = kColor; }
    const NiColor& GetEmittance() const { return m_emit; }
    void SetShineness(float fShine) { m_fShine = fShine; }
    float GetShineness() const { return m_fShine; }
    void SetAlpha(float fAlpha) { m_fAlpha = fAlpha; }
    float GetAlpha() const { return m_fAlpha; }

    void SetChanged(bool bChanged) { SetBit(bChanged, CHANGED_BIT); }
    bool GetChanged() const { return GetBit(CHANGED_BIT); }
    // Names the material in the renderer's cache: unique for the run, never streamed or copied.
    uint32_t GetSerial() const { return m_uiSerial; }
    uint32_t GetRevision() const { return m_uiRevision; }
    // The changed bit's hand-over to the renderer: clears the bit and counts a new revision
    // when it was set.
    void ConsumeChange();

    int32_t GetPropertyType() const override { return MATERIAL; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    static constexpr uint16_t CHANGED_BIT = 0;
    static constexpr float DEFAULT_SHINE = 4.0f;

protected:
    void CopyToClone(NiMaterialProperty* pkClone);

private:
    static uint32_t ms_uiNextSerial;

    uint32_t m_uiSerial;
    NiColor m_amb{0.5f, 0.5f, 0.5f};
    NiColor m_diff{0.5f, 0.5f, 0.5f};
    NiColor m_spec{0.0f, 0.0f, 0.0f};
    NiColor m_emit{0.0f, 0.0f, 0.0f};
    float m_fShine = DEFAULT_SHINE;
    float m_fAlpha = 1.0f;
    uint32_t m_uiRevision = 1;
};
