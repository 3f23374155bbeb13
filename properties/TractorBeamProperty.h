#pragma once

#include "properties/BeamWeaponProperty.h"

#include <cstdint>

// A tractor beam emitter: an energy weapon with a firing arc, an orientation, the look of its
// beam and the beam's width. The main radius starts as a quarter of the default width; setting
// the width later leaves it alone. The 3D view shows the firing-arc display with axis lines of
// the subsystem radius.
//
// Binary record: the firing-arc part (see ArcWeaponProperty), then the texture start and end (Long
// each), the tractor beam width (Float) and the beam look (see BeamWeaponProperty). Its script
// lines write the texture name twice, after the texture range and last.
class TractorBeamProperty : public BeamWeaponProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8136;

    explicit TractorBeamProperty(int32_t iID = 0);

    static TractorBeamProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<TractorBeamProperty*>(pkObject)
                                                       : nullptr;
    }
    static TractorBeamProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new TractorBeamProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || BeamWeaponProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "TractorBeamProperty"; }
    const char* GetPointerTypeName() const override { return "_p_TractorBeamProperty"; }
    const char* GetShadowClassName() const override { return "TractorBeamPropertyPtr"; }

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    float GetTractorBeamWidth() const { return m_fTractorBeamWidth; }
    void SetTractorBeamWidth(float fValue) { m_fTractorBeamWidth = fValue; }
    int32_t GetTextureStart() const { return m_iTextureStart; }
    void SetTextureStart(int32_t iValue) { m_iTextureStart = iValue; }
    int32_t GetTextureEnd() const { return m_iTextureEnd; }
    void SetTextureEnd(int32_t iValue) { m_iTextureEnd = iValue; }

private:
    float m_fTractorBeamWidth = 0.3f;
};
