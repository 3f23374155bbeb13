#include "properties/BeamWeaponProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <memory>

void BeamWeaponProperty::SetTextureName(const char* pcName)
{
    if (!pcName)
    {
        m_kTextureName.reset();
        return;
    }
    // Copied before the old text goes: the argument may be the stored text.
    std::string kName(pcName);
    m_kTextureName = std::move(kName);
}

bool BeamWeaponProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const BeamWeaponProperty*>(pkOther);
    if (!pkSource || !ArcWeaponProperty::CopyFrom(pkOther))
        return false;
    m_iTextureStart = pkSource->m_iTextureStart;
    m_iTextureEnd = pkSource->m_iTextureEnd;
    SetOuterShellColor(pkSource->GetOuterShellColor());
    SetInnerShellColor(pkSource->GetInnerShellColor());
    SetOuterCoreColor(pkSource->GetOuterCoreColor());
    SetInnerCoreColor(pkSource->GetInnerCoreColor());
    SetNumSides(pkSource->GetNumSides());
    SetMainRadius(pkSource->GetMainRadius());
    SetTaperRadius(pkSource->GetTaperRadius());
    SetCoreScale(pkSource->GetCoreScale());
    SetTaperRatio(pkSource->GetTaperRatio());
    SetTaperMinLength(pkSource->GetTaperMinLength());
    SetTaperMaxLength(pkSource->GetTaperMaxLength());
    SetLengthTextureTilePerUnit(pkSource->GetLengthTextureTilePerUnit());
    SetPerimeterTile(pkSource->GetPerimeterTile());
    SetTextureSpeed(pkSource->GetTextureSpeed());
    SetTextureName(pkSource->GetTextureName());
    return true;
}

void BeamWeaponProperty::SaveLook(SKStream& kStream) const
{
    for (const NiColorA* pkColor :
         {&m_kOuterShellColor, &m_kInnerShellColor, &m_kOuterCoreColor, &m_kInnerCoreColor})
    {
        kStream.WriteFloat(pkColor->r);
        kStream.WriteFloat(pkColor->g);
        kStream.WriteFloat(pkColor->b);
        kStream.WriteFloat(pkColor->a);
    }
    kStream.WriteInt(m_iNumSides);
    for (float fValue : {m_fMainRadius, m_fTaperRadius, m_fCoreScale, m_fTaperRatio, m_fTaperMinLength,
                         m_fTaperMaxLength, m_fLengthTextureTilePerUnit, m_fPerimeterTile, m_fTextureSpeed})
        kStream.WriteFloat(fValue);
    kStream.WriteNewCString(GetTextureName());
}

bool BeamWeaponProperty::LoadLook(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    for (NiColorA* pkColor :
         {&m_kOuterShellColor, &m_kInnerShellColor, &m_kOuterCoreColor, &m_kInnerCoreColor})
    {
        pkColor->r = kStream.ReadFloat();
        pkColor->g = kStream.ReadFloat();
        pkColor->b = kStream.ReadFloat();
        pkColor->a = kStream.ReadFloat();
    }
    m_iNumSides = kStream.ReadInt();
    for (float* pfValue :
         {&m_fMainRadius, &m_fTaperRadius, &m_fCoreScale, &m_fTaperRatio, &m_fTaperMinLength,
          &m_fTaperMaxLength, &m_fLengthTextureTilePerUnit, &m_fPerimeterTile, &m_fTextureSpeed})
        *pfValue = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcName = kStream.ReadNewCString(-1);
    if (kCheck.Failed())
        return false;
    SetTextureName(pcName.get());
    return true;
}

void BeamWeaponProperty::WriteLookLines(SKScriptWriter& kWriter, const char* pcVariable) const
{
    kWriter.Line("kColor = App.SKColorA()");
    const struct
    {
        const NiColorA* pkColor;
        const char* pcSetter;
    } akColors[] = {{&m_kOuterShellColor, ".SetOuterShellColor(kColor)"},
                    {&m_kInnerShellColor, ".SetInnerShellColor(kColor)"},
                    {&m_kOuterCoreColor, ".SetOuterCoreColor(kColor)"},
                    {&m_kInnerCoreColor, ".SetInnerCoreColor(kColor)"}};
    for (const auto& kColor : akColors)
    {
        const NiColorA& kValue = *kColor.pkColor;
        kWriter.Line("kColor.SetRGBA(", kValue.r, ", ", kValue.g, ", ", kValue.b, ", ", kValue.a, ")");
        kWriter.Line(pcVariable, kColor.pcSetter);
    }
    kWriter.Line(pcVariable, ".SetNumSides(", m_iNumSides, ")");
    kWriter.Line(pcVariable, ".SetMainRadius(", m_fMainRadius, ")");
    kWriter.Line(pcVariable, ".SetTaperRadius(", m_fTaperRadius, ")");
    kWriter.Line(pcVariable, ".SetCoreScale(", m_fCoreScale, ")");
    kWriter.Line(pcVariable, ".SetTaperRatio(", m_fTaperRatio, ")");
    kWriter.Line(pcVariable, ".SetTaperMinLength(", m_fTaperMinLength, ")");
    kWriter.Line(pcVariable, ".SetTaperMaxLength(", m_fTaperMaxLength, ")");
    kWriter.Line(pcVariable, ".SetLengthTextureTilePerUnit(", m_fLengthTextureTilePerUnit, ")");
    kWriter.Line(pcVariable, ".SetPerimeterTile(", m_fPerimeterTile, ")");
    kWriter.Line(pcVariable, ".SetTextureSpeed(", m_fTextureSpeed, ")");
    kWriter.Line(pcVariable, ".SetTextureName(", SKScriptWriter::Quoted{GetTextureName()}, ")");
}
