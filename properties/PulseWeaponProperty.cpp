#include "properties/PulseWeaponProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <memory>

PulseWeaponProperty::PulseWeaponProperty(int32_t iID) : ArcWeaponProperty(iID)
{
    SetDumbfire(true);
    SetDamageRadiusFactor(0.3f);
}

PulseWeaponProperty* PulseWeaponProperty::Create(const char* pcName)
{
    auto* pkProperty = new PulseWeaponProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void PulseWeaponProperty::SetModuleName(const char* pcName)
{
    if (!pcName)
    {
        m_kModuleName.reset();
        return;
    }
    // Copied before the old text goes: the argument may be the stored text.
    std::string kName(pcName);
    m_kModuleName = std::move(kName);
}

bool PulseWeaponProperty::SaveToStream(SKStream& kStream) const
{
    if (!ArcWeaponProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fCooldownTime);
    kStream.WriteNewCString(GetModuleName());
    return true;
}

bool PulseWeaponProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!ArcWeaponProperty::LoadFromStream(kStream))
        return false;
    m_fCooldownTime = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcName = kStream.ReadNewCString(-1);
    if (kCheck.Failed())
        return false;
    SetModuleName(pcName.get());
    return true;
}

void PulseWeaponProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    ArcWeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    WriteOrientationLines(kWriter, pcVariable);
    WriteArcLines(kWriter, pcVariable);
    kWriter.Line(pcVariable, ".SetCooldownTime(", m_fCooldownTime, ")");
    kWriter.Line(pcVariable, ".SetModuleName(", SKScriptWriter::Quoted{GetModuleName()}, ")");
}

bool PulseWeaponProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const PulseWeaponProperty*>(pkOther);
    if (!pkSource || !ArcWeaponProperty::CopyFrom(pkOther))
        return false;
    SetCooldownTime(pkSource->GetCooldownTime());
    SetModuleName(pkSource->GetModuleName());
    return true;
}
