#pragma once

#include "scene/graph/NiProperty.h"

// Which material colours the vertex colours stand in for, and which lighting terms are used.
// The flag word has no meaning in this class.
class NiVertexColorProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum SourceVertexMode : uint32_t
    {
        SOURCE_IGNORE = 0, // vertex colours are not used
        SOURCE_EMISSIVE = 1,
        SOURCE_AMB_DIFF = 2,
        SOURCE_MAX = 3
    };

    enum LightingMode : uint32_t
    {
        LIGHTING_E = 0,     // emissive only
        LIGHTING_E_A_D = 1, // emissive, ambient and diffuse
        LIGHTING_MAX = 2
    };

    NiVertexColorProperty();

    static NiRefPtr<NiVertexColorProperty> GetDefault();

    // Values read from a file are kept as they come; the getters may answer unnamed values.
    void SetSourceMode(SourceVertexMode eMode) { m_eSource = eMode; }
    uint32_t GetSourceMode() const { return m_eSource; }
    void SetLightingMode(LightingMode eMode) { m_eLighting = eMode; }
    uint32_t GetLightingMode() const { return m_eLighting; }

    int32_t GetPropertyType() const override { return VERTEX_COLOR; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiVertexColorProperty* pkClone);

private:
    uint32_t m_eSource = SOURCE_IGNORE;
    uint32_t m_eLighting = LIGHTING_E_A_D;
};
