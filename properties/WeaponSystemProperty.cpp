#include "properties/WeaponSystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

WeaponSystemProperty* WeaponSystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new WeaponSystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

const char* WeaponSystemProperty::GetTypeConstantName(int32_t iType)
{
    switch (iType)
    {
    case WST_PHASER:
        return "WST_PHASER";
    case WST_TORPEDO:
        return "WST_TORPEDO";
    case WST_PULSE:
        return "WST_PULSE";
    case WST_TRACTOR:
        return "WST_TRACTOR";
    default:
        return "WST_UNKNOWN";
    }
}

bool WeaponSystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iWeaponSystemType);
    kStream.WriteBool(m_bSingleFire);
    kStream.WriteBool(m_bAimedWeapon);
    return m_kFiringChain.SaveToStream(kStream);
}

bool WeaponSystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_iWeaponSystemType = kStream.ReadLong();
    m_bSingleFire = kStream.ReadBool();
    m_bAimedWeapon = kStream.ReadBool();
    if (kCheck.Failed() || !m_kFiringChain.LoadFromStream(kStream))
        return false;
    return !kCheck.Failed();
}

void WeaponSystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetWeaponSystemType(", pcVariable, ".",
                 GetTypeConstantName(m_iWeaponSystemType), ")");
    kWriter.Line(pcVariable, ".SetSingleFire(", m_bSingleFire, ")");
    kWriter.Line(pcVariable, ".SetAimedWeapon(", m_bAimedWeapon, ")");
    kWriter.Line("kFiringChainString = App.SKString()");
    const std::unique_ptr<char[]> pcChain = m_kFiringChain.GetCString();
    kWriter.Line("kFiringChainString.SetString(", SKScriptWriter::Quoted{pcChain.get()}, ")");
    kWriter.Line(pcVariable, ".SetFiringChainString(kFiringChainString)");
}

bool WeaponSystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const WeaponSystemProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetWeaponSystemType(pkSource->GetWeaponSystemType());
    SetSingleFire(pkSource->IsSingleFire());
    SetAimedWeapon(pkSource->IsAimedWeapon());
    SetFiringChainString(pkSource->GetFiringChainString());
    return true;
}
