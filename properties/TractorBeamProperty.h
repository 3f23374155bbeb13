#pragma once

#include "properties/BeamWeaponProperty.h"
#include "properties/SKPropertyClass.h"

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
    SK_PROPERTY_FIELD_COPY(TractorBeamProperty, BeamWeaponProperty)
    SK_PROPERTY_CLASS(TractorBeamProperty, BeamWeaponProperty, 0x8136)

public:
    explicit TractorBeamProperty(int32_t iID = 0);

    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;

    void WriteInit(SKStream& kStream, const char* pcVariable) override;

    float GetTractorBeamWidth() const { return m_fTractorBeamWidth; }
    void SetTractorBeamWidth(float fValue) { m_fTractorBeamWidth = fValue; }
    int32_t GetTextureStart() const { return m_iTextureStart; }
    void SetTextureStart(int32_t iValue) { m_iTextureStart = iValue; }
    int32_t GetTextureEnd() const { return m_iTextureEnd; }
    void SetTextureEnd(int32_t iValue) { m_iTextureEnd = iValue; }

private:
    float m_fTractorBeamWidth = 0.3f;
};
