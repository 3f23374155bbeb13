#include "properties/TractorBeamProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

TractorBeamProperty::TractorBeamProperty(int32_t iID) : BeamWeaponProperty(iID)
{
    const NiColorA kBlue(0.4f, 0.4f, 1.0f, 1.0f);
    m_kOuterShellColor = kBlue;
    m_kInnerShellColor = kBlue;
    m_kOuterCoreColor = kBlue;
    m_kInnerCoreColor = kBlue;
    m_iNumSides = 12;
    m_fMainRadius = m_fTractorBeamWidth * 0.25f;
    m_fTaperRadius = 0.0f;
    m_fCoreScale = 0.45f;
    m_fTaperRatio = 0.2f;
    m_fTaperMinLength = 1.0f;
    m_fTaperMaxLength = 5.0f;
    m_fLengthTextureTilePerUnit = 0.25f;
    m_fPerimeterTile = 1.0f;
    m_fTextureSpeed = 0.2f;
    SetTextureName("data/Textures/Tactical/TractorBeam.tga");
}

TractorBeamProperty* TractorBeamProperty::Create(const char* pcName)
{
    auto* pkProperty = new TractorBeamProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool TractorBeamProperty::SaveToStream(SKStream& kStream) const
{
    if (!BeamWeaponProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iTextureStart);
    kStream.WriteLong(m_iTextureEnd);
    kStream.WriteFloat(m_fTractorBeamWidth);
    SaveLook(kStream);
    return true;
}

bool TractorBeamProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!BeamWeaponProperty::LoadFromStream(kStream))
        return false;
    m_iTextureStart = kStream.ReadLong();
    m_iTextureEnd = kStream.ReadLong();
    m_fTractorBeamWidth = kStream.ReadFloat();
    return !kCheck.Failed() && LoadLook(kStream);
}

void TractorBeamProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    BeamWeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    WriteOrientationLines(kWriter, pcVariable);
    WriteArcLines(kWriter, pcVariable);
    kWriter.Line(pcVariable, ".SetTractorBeamWidth(", m_fTractorBeamWidth, ")");
    kWriter.Line(pcVariable, ".SetTextureStart(", m_iTextureStart, ")");
    kWriter.Line(pcVariable, ".SetTextureEnd(", m_iTextureEnd, ")");
    kWriter.Line(pcVariable, ".SetTextureName(", SKScriptWriter::Quoted{GetTextureName()}, ")");
    WriteLookLines(kWriter, pcVariable);
}

bool TractorBeamProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const TractorBeamProperty*>(pkOther);
    if (!pkSource || !BeamWeaponProperty::CopyFrom(pkOther))
        return false;
    SetTractorBeamWidth(pkSource->GetTractorBeamWidth());
    return true;
}
