#pragma once

#include "scene/graph/NiProperty.h"
#include "scene/object/NiColor.h"

// Fog: on or off (flag bit 1), its function (bits 3-4), depth and colour. The renderer derives
// the fog's start and end from the depth and the camera's depth range.
class NiFogProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // 3 has no meaning.
    enum FogFunction : uint16_t
    {
        FOG_Z_LINEAR = 0,
        FOG_RANGE_SQ = 1,
        FOG_VERTEX_ALPHA = 2
    };

    NiFogProperty();

    static NiRefPtr<NiFogProperty> GetDefault();

    void SetFog(bool bOn) { SetBit(bOn, FOG_BIT); }
    bool GetFog() const { return GetBit(FOG_BIT); }
    void SetFogFunction(FogFunction eFunction) { SetField(eFunction, FUNCTION_MASK, FUNCTION_SHIFT); }
    FogFunction GetFogFunction() const { return FogFunction(GetField(FUNCTION_MASK, FUNCTION_SHIFT)); }
    void SetDepth(float fDepth) { m_fDepth = fDepth; }
    float GetDepth() const { return m_fDepth; }
    void SetFogColor(const NiColor& kColor) { m_color = kColor; }
    const NiColor& GetFogColor() const { return m_color; }

    int32_t GetPropertyType() const override { return FOG; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    static constexpr uint16_t FOG_BIT = 1;
    static constexpr uint16_t FUNCTION_MASK = 3;
    static constexpr uint16_t FUNCTION_SHIFT = 3;

protected:
    void CopyToClone(NiFogProperty* pkClone);

private:
    float m_fDepth = 1.0f;
    NiColor m_color{0.0f, 0.0f, 0.0f};
};
