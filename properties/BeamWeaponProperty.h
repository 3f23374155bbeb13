#pragma once

#include "properties/ArcWeaponProperty.h"
#include "scene/object/NiColorA.h"

#include <cstdint>
#include <span>

// What the phaser and the tractor beam share beyond the firing arc: the look of the beam, with
// its texture and texture range, four colours (outer and inner shell, outer and inner core),
// number of sides, radii, core scale, taper, tiling and texture speed. Each class sets its own
// defaults and writes the fields at its own places; the two blocks below are the same in both.
class BeamWeaponProperty : public ArcWeaponProperty
{
public:
    void SetOuterShellColor(const NiColorA& kColor) { m_kOuterShellColor = kColor; }
    void SetInnerShellColor(const NiColorA& kColor) { m_kInnerShellColor = kColor; }
    void SetOuterCoreColor(const NiColorA& kColor) { m_kOuterCoreColor = kColor; }
    void SetInnerCoreColor(const NiColorA& kColor) { m_kInnerCoreColor = kColor; }
    NiColorA GetOuterShellColor() const { return m_kOuterShellColor; }
    NiColorA GetInnerShellColor() const { return m_kInnerShellColor; }
    NiColorA GetOuterCoreColor() const { return m_kOuterCoreColor; }
    NiColorA GetInnerCoreColor() const { return m_kInnerCoreColor; }
    int32_t GetNumSides() const { return m_iNumSides; }
    void SetNumSides(int32_t iValue) { m_iNumSides = iValue; }
    float GetMainRadius() const { return m_fMainRadius; }
    void SetMainRadius(float fValue) { m_fMainRadius = fValue; }
    float GetTaperRadius() const { return m_fTaperRadius; }
    void SetTaperRadius(float fValue) { m_fTaperRadius = fValue; }
    float GetCoreScale() const { return m_fCoreScale; }
    void SetCoreScale(float fValue) { m_fCoreScale = fValue; }
    float GetTaperRatio() const { return m_fTaperRatio; }
    void SetTaperRatio(float fValue) { m_fTaperRatio = fValue; }
    float GetTaperMinLength() const { return m_fTaperMinLength; }
    void SetTaperMinLength(float fValue) { m_fTaperMinLength = fValue; }
    float GetTaperMaxLength() const { return m_fTaperMaxLength; }
    void SetTaperMaxLength(float fValue) { m_fTaperMaxLength = fValue; }
    float GetLengthTextureTilePerUnit() const { return m_fLengthTextureTilePerUnit; }
    void SetLengthTextureTilePerUnit(float fValue) { m_fLengthTextureTilePerUnit = fValue; }
    float GetPerimeterTile() const { return m_fPerimeterTile; }
    void SetPerimeterTile(float fValue) { m_fPerimeterTile = fValue; }
    float GetTextureSpeed() const { return m_fTextureSpeed; }
    void SetTextureSpeed(float fValue) { m_fTextureSpeed = fValue; }
    // The stored text, or null when cleared; valid until the next change.
    const char* GetTextureName() const { return SKPropertyField::TextOf(m_kTextureName); }
    // Stores a copy (null clears); the stored text itself may be passed.
    void SetTextureName(const char* pcName) { SKPropertyField::SetText(m_kTextureName, pcName); }

protected:
    explicit BeamWeaponProperty(int32_t iID) : ArcWeaponProperty(iID) {}

    // The declarations of the look, which each class puts in its own field set: record places 20
    // to 34 (the four colours, r, g, b, a Float each; NumSides (Int); main radius, taper radius,
    // core scale, taper ratio, taper min and max length, length texture tile per unit, perimeter
    // tile, texture speed (Float each); the texture name, a counted string, length 0 for none) and
    // script places 60 to 74 in the same order ("kColor = App.SKColorA()" once, then for each
    // colour its SetRGBA and its setter; one line for each of the others).
    static std::span<const SKPropertyField> LookFields();

    int32_t m_iTextureStart = 0;
    int32_t m_iTextureEnd = 0;
    NiColorA m_kOuterShellColor;
    NiColorA m_kInnerShellColor;
    NiColorA m_kOuterCoreColor;
    NiColorA m_kInnerCoreColor;
    int32_t m_iNumSides = 0;
    float m_fMainRadius = 0.0f;
    float m_fTaperRadius = 0.0f;
    float m_fCoreScale = 0.0f;
    float m_fTaperRatio = 0.0f;
    float m_fTaperMinLength = 0.0f;
    float m_fTaperMaxLength = 0.0f;
    float m_fLengthTextureTilePerUnit = 0.0f;
    float m_fPerimeterTile = 0.0f;
    float m_fTextureSpeed = 0.0f;

    SKPropertyField::Text m_kTextureName;
};
