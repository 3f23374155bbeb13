#pragma once

#include "scene/graph/NiProperty.h"

// How the base texture is applied (flag bits 0-2), filtered (bits 3-5) and wrapped (bits 6-7),
// with the two values m_sL and m_sK beside them. The filter and clamp texts serve the
// multi-texture maps and the texture effect too.
class NiTextureModeProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum ApplyMode : uint16_t
    {
        APPLY_REPLACE = 0,
        APPLY_DECAL = 1,
        APPLY_MODULATE = 2,
        APPLY_MODULATE_VERTEX = 3,
        APPLY_HILIGHT = 4,
        APPLY_HILIGHT2 = 5
    };

    enum FilterMode : uint16_t
    {
        FILTER_NEAREST = 0,
        FILTER_BILERP = 1,
        FILTER_TRILERP = 2,
        FILTER_NEAREST_MIPNEAREST = 3,
        FILTER_NEAREST_MIPLERP = 4,
        FILTER_BILERP_MIPNEAREST = 5
    };

    enum ClampMode : uint16_t
    {
        CLAMP_S_CLAMP_T = 0,
        CLAMP_S_WRAP_T = 1,
        WRAP_S_CLAMP_T = 2,
        WRAP_S_WRAP_T = 3
    };

    NiTextureModeProperty();

    static NiRefPtr<NiTextureModeProperty> GetDefault();

    void SetApplyMode(ApplyMode eMode) { SetField(eMode, APPLY_MASK, APPLY_SHIFT); }
    ApplyMode GetApplyMode() const { return ApplyMode(GetField(APPLY_MASK, APPLY_SHIFT)); }
    void SetFilterMode(FilterMode eMode) { SetField(eMode, FILTER_MASK, FILTER_SHIFT); }
    FilterMode GetFilterMode() const { return FilterMode(GetField(FILTER_MASK, FILTER_SHIFT)); }
    void SetClampMode(ClampMode eMode) { SetField(eMode, CLAMP_MASK, CLAMP_SHIFT); }
    ClampMode GetClampMode() const { return ClampMode(GetField(CLAMP_MASK, CLAMP_SHIFT)); }
    void SetL(int16_t sL) { m_sL = sL; }
    int16_t GetL() const { return m_sL; }
    void SetK(int16_t sK) { m_sK = sK; }
    int16_t GetK() const { return m_sK; }

    // "name = APPLY_REPLACE" ..., "name = FILTER_NEAREST" ..., "name = CLAMP_S_CLAMP_T" ...
    static std::string ApplyFieldString(const char* pcName, uint32_t uiMode);
    static std::string FilterFieldString(const char* pcName, uint32_t uiMode);
    static std::string ClampFieldString(const char* pcName, uint32_t uiMode);

    int32_t GetPropertyType() const override { return TEXTURE_MODE; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    static constexpr uint16_t APPLY_MASK = 7;
    static constexpr uint16_t APPLY_SHIFT = 0;
    static constexpr uint16_t FILTER_MASK = 7;
    static constexpr uint16_t FILTER_SHIFT = 3;
    static constexpr uint16_t CLAMP_MASK = 3;
    static constexpr uint16_t CLAMP_SHIFT = 6;
    static constexpr int16_t DEFAULT_K = -75;

protected:
    void CopyToClone(NiTextureModeProperty* pkClone);

private:
    int16_t m_sL = 0;
    int16_t m_sK = DEFAULT_K;
};
