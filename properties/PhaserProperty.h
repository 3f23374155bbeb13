#pragma once

#include "properties/BeamWeaponProperty.h"
#include "properties/SKPropertyClass.h"

#include <cstdint>

// A phaser bank: an energy weapon that fires a beam, with a firing arc, an orientation, the look
// of its beam and the bank's extent, Width along its right axis and Length along its forward
// axis. The 3D view shows the firing-arc display with axis lines of Length (forward), the
// subsystem radius (up) and Width (right), and the ellipse of Width and Length.
//
// Binary record: the firing-arc part (see ArcWeaponProperty), then the phaser texture start and
// end (Long each), the phaser width, Width, Length (Float each), the beam look (see
// BeamWeaponProperty) and the Int 45, which a load reads and ignores.
class PhaserProperty : public BeamWeaponProperty
{
    SK_PROPERTY_FIELD_COPY(PhaserProperty, BeamWeaponProperty)
    SK_PROPERTY_CLASS(PhaserProperty, BeamWeaponProperty, 0x8132)

public:
    // The value that ends every phaser record.
    static constexpr int32_t RECORD_END = 45;

    explicit PhaserProperty(int32_t iID = 0);

    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;

    void WriteInit(SKStream& kStream, const char* pcVariable) override;

    float GetWidth() const { return m_fWidth; }
    void SetWidth(float fValue) { m_fWidth = fValue; }
    float GetLength() const { return m_fLength; }
    void SetLength(float fValue) { m_fLength = fValue; }
    float GetPhaserWidth() const { return m_fPhaserWidth; }
    void SetPhaserWidth(float fValue) { m_fPhaserWidth = fValue; }
    int32_t GetPhaserTextureStart() const { return m_iTextureStart; }
    void SetPhaserTextureStart(int32_t iValue) { m_iTextureStart = iValue; }
    int32_t GetPhaserTextureEnd() const { return m_iTextureEnd; }
    void SetPhaserTextureEnd(int32_t iValue) { m_iTextureEnd = iValue; }

protected:
    // Axis lines of Length along forward, the subsystem radius along up and Width along right.
    void GetAxisLengths(float& fForward, float& fUp, float& fRight) const override;
    bool GetExtent(float& fWidth, float& fLength) const override;

private:
    float m_fPhaserWidth = 0.3f;
    float m_fWidth = 1.8f;
    float m_fLength = 1.4f;
};
