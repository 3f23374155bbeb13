#include "properties/ShipProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <memory>

ShipProperty::ShipProperty(int32_t iID) : SKModelProperty(iID) {}

ShipProperty* ShipProperty::Create(const char* pcName)
{
    auto* pkProperty = new ShipProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void ShipProperty::Set(Text& kText, const char* pcText)
{
    if (!pcText)
    {
        kText.reset();
        return;
    }
    // Copied before the old text goes: the argument may be the stored text.
    std::string kCopy(pcText);
    kText = std::move(kCopy);
}

bool ShipProperty::SaveToStream(SKStream& kStream) const
{
    if (!SKModelProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iGenus);
    kStream.WriteLong(m_iSpecies);
    kStream.WriteFloat(m_fMass);
    kStream.WriteFloat(m_fRotationalInertia);
    kStream.WriteNewCString(GetShipName());
    kStream.WriteNewCString(GetModelFilename());
    kStream.WriteFloat(m_fDamageResolution);
    kStream.WriteLong(m_iAffiliation);
    kStream.WriteBool(m_bStationary);
    kStream.WriteNewCString(GetAIString());
    kStream.WriteNewCString(GetDeathExplosionSound());
    return true;
}

bool ShipProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SKModelProperty::LoadFromStream(kStream))
        return false;
    const int32_t iGenus = kStream.ReadLong();
    const int32_t iSpecies = kStream.ReadLong();
    const float fMass = kStream.ReadFloat();
    const float fInertia = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcShipName = kStream.ReadNewCString(-1);
    const std::unique_ptr<char[]> pcModelFilename = kStream.ReadNewCString(-1);
    const float fResolution = kStream.ReadFloat();
    const int32_t iAffiliation = kStream.ReadLong();
    const bool bStationary = kStream.ReadBool();
    const std::unique_ptr<char[]> pcAIString = kStream.ReadNewCString(-1);
    const std::unique_ptr<char[]> pcSound = kStream.ReadNewCString(-1);
    // A text length past the end gives null too: the status tells it from a stored "none".
    if (kCheck.Failed())
        return false;
    m_iGenus = iGenus;
    m_iSpecies = iSpecies;
    m_fMass = fMass;
    m_fRotationalInertia = fInertia;
    SetShipName(pcShipName.get());
    SetModelFilename(pcModelFilename.get());
    m_fDamageResolution = fResolution;
    m_iAffiliation = iAffiliation;
    m_bStationary = bStationary;
    SetAIString(pcAIString.get());
    SetDeathExplosionSound(pcSound.get());
    return true;
}

void ShipProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SKModelProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetGenus(", m_iGenus, ")");
    kWriter.Line(pcVariable, ".SetSpecies(", m_iSpecies, ")");
    kWriter.Line(pcVariable, ".SetMass(", m_fMass, ")");
    kWriter.Line(pcVariable, ".SetRotationalInertia(", m_fRotationalInertia, ")");
    kWriter.Line(pcVariable, ".SetShipName(", SKScriptWriter::Quoted{GetShipName()}, ")");
    kWriter.Line(pcVariable, ".SetModelFilename(", SKScriptWriter::Quoted{GetModelFilename()}, ")");
    kWriter.Line(pcVariable, ".SetDamageResolution(", m_fDamageResolution, ")");
    kWriter.Line(pcVariable, ".SetAffiliation(", m_iAffiliation, ")");
    kWriter.Line(pcVariable, ".SetStationary(", m_bStationary, ")");
    kWriter.Line(pcVariable, ".SetAIString(", SKScriptWriter::Quoted{GetAIString()}, ")");
    kWriter.Line(pcVariable, ".SetDeathExplosionSound(", SKScriptWriter::Quoted{GetDeathExplosionSound()},
                 ")");
}

bool ShipProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const ShipProperty*>(pkOther);
    if (!pkSource || !SKModelProperty::CopyFrom(pkOther))
        return false;
    SetGenus(pkSource->GetGenus());
    SetSpecies(pkSource->GetSpecies());
    SetMass(pkSource->GetMass());
    SetRotationalInertia(pkSource->GetRotationalInertia());
    SetShipName(pkSource->GetShipName());
    SetModelFilename(pkSource->GetModelFilename());
    SetDamageResolution(pkSource->GetDamageResolution());
    SetAffiliation(pkSource->GetAffiliation());
    SetStationary(pkSource->IsStationary());
    SetAIString(pkSource->GetAIString());
    SetDeathExplosionSound(pkSource->GetDeathExplosionSound());
    return true;
}
