#include "properties/PhaserProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

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

PhaserProperty* PhaserProperty::Create(const char* pcName)
{
    auto* pkProperty = new PhaserProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool PhaserProperty::SaveToStream(SKStream& kStream) const
{
    if (!BeamWeaponProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iTextureStart);
    kStream.WriteLong(m_iTextureEnd);
    kStream.WriteFloat(m_fPhaserWidth);
    kStream.WriteFloat(m_fWidth);
    kStream.WriteFloat(m_fLength);
    SaveLook(kStream);
    kStream.WriteInt(RECORD_END);
    return true;
}

bool PhaserProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!BeamWeaponProperty::LoadFromStream(kStream))
        return false;
    m_iTextureStart = kStream.ReadLong();
    m_iTextureEnd = kStream.ReadLong();
    m_fPhaserWidth = kStream.ReadFloat();
    m_fWidth = kStream.ReadFloat();
    m_fLength = kStream.ReadFloat();
    if (kCheck.Failed() || !LoadLook(kStream))
        return false;
    kStream.ReadInt();
    return !kCheck.Failed();
}

void PhaserProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    BeamWeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    WriteOrientationLines(kWriter, pcVariable);
    kWriter.Line(pcVariable, ".SetWidth(", m_fWidth, ")");
    kWriter.Line(pcVariable, ".SetLength(", m_fLength, ")");
    WriteArcLines(kWriter, pcVariable);
    kWriter.Line(pcVariable, ".SetPhaserTextureStart(", m_iTextureStart, ")");
    kWriter.Line(pcVariable, ".SetPhaserTextureEnd(", m_iTextureEnd, ")");
    kWriter.Line(pcVariable, ".SetPhaserWidth(", m_fPhaserWidth, ")");
    WriteLookLines(kWriter, pcVariable);
}

bool PhaserProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const PhaserProperty*>(pkOther);
    if (!pkSource || !BeamWeaponProperty::CopyFrom(pkOther))
        return false;
    SetLength(pkSource->GetLength());
    SetWidth(pkSource->GetWidth());
    SetPhaserWidth(pkSource->GetPhaserWidth());
    return true;
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
