#include "properties/PhaserProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"

PhaserProperty::PhaserProperty(int32_t iID) : BeamWeaponProperty(iID)
{
    SetDamageRadiusFactor(0.25f);
    m_kOuterShellColor = NiColorA(1.0f, 44.0f / 255.0f, 2.0f / 255.0f, 1.0f);
    m_kInnerShellColor = NiColorA(1.0f, 44.0f / 255.0f, 2.0f / 255.0f, 1.0f);
    m_kOuterCoreColor = NiColorA(253.0f / 255.0f, 213.0f / 255.0f, 163.0f / 255.0f, 1.0f);
    m_kInnerCoreColor = NiColorA(253.0f / 255.0f, 230.0f / 255.0f, 220.0f / 255.0f, 1.0f);
    m_iNumSides = 6;
    m_fMainRadius = 0.15f;
    m_fTaperRadius = 0.01f;
    m_fCoreScale = 0.5f;
    m_fTaperRatio = 0.25f;
    m_fTaperMinLength = 5.0f;
    m_fTaperMaxLength = 30.0f;
    m_fLengthTextureTilePerUnit = 0.5f;
    m_fPerimeterTile = 1.0f;
    m_fTextureSpeed = 2.5f;
    SetTextureName("data/phaser.tga");
}

const SKFieldSet& PhaserProperty::GetFieldSet()
{
    using F = SKPropertyField;
    // The extent sits between the orientation and the arc in the script, after the texture
    // range and the phaser width in the record.
    static const F FIELDS[] = {
        F::Member<&PhaserProperty::m_fLength>("Length").Record(14).Script(11, "SetLength"),
        F::Member<&PhaserProperty::m_fWidth>("Width").Record(13).Script(10, "SetWidth"),
        F::Member<&PhaserProperty::m_iTextureStart>("PhaserTextureStart")
            .Record(10)
            .Script(30, "SetPhaserTextureStart"),
        F::Member<&PhaserProperty::m_iTextureEnd>("PhaserTextureEnd")
            .Record(11)
            .Script(31, "SetPhaserTextureEnd"),
        F::Member<&PhaserProperty::m_fPhaserWidth>("PhaserWidth").Record(12).Script(32, "SetPhaserWidth"),
    };
    static const SKFieldSet s_kSet({ArcFields(), FIELDS, LookFields()});
    return s_kSet;
}

bool PhaserProperty::SaveToStream(SKStream& kStream) const
{
    if (!BeamWeaponProperty::SaveToStream(kStream))
        return false;
    GetFieldSet().Save(*this, kStream);
    kStream.WriteInt(RECORD_END);
    return true;
}

bool PhaserProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!BeamWeaponProperty::LoadFromStream(kStream) || !GetFieldSet().Load(*this, kStream))
        return false;
    kStream.ReadInt();
    return !kCheck.Failed();
}

void PhaserProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    BeamWeaponProperty::WriteInit(kStream, pcVariable);
    GetFieldSet().WriteLines(*this, kStream, pcVariable);
}

void PhaserProperty::GetAxisLengths(float& fForward, float& fUp, float& fRight) const
{
    fForward = m_fLength;
    fUp = GetRadius();
    fRight = m_fWidth;
}

bool PhaserProperty::GetExtent(float& fWidth, float& fLength) const
{
    fWidth = m_fWidth;
    fLength = m_fLength;
    return true;
}
