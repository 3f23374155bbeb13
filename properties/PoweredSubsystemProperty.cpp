#include "properties/PoweredSubsystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

PoweredSubsystemProperty* PoweredSubsystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new PoweredSubsystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool PoweredSubsystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!SubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fNormalPowerPerSecond);
    return true;
}

bool PoweredSubsystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fNormalPowerPerSecond = kStream.ReadFloat();
    return !kCheck.Failed();
}

void PoweredSubsystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter(kStream).Line(pcVariable, ".SetNormalPowerPerSecond(", m_fNormalPowerPerSecond, ")");
}

bool PoweredSubsystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const PoweredSubsystemProperty*>(pkOther);
    if (!pkSource || !SubsystemProperty::CopyFrom(pkOther))
        return false;
    SetNormalPowerPerSecond(pkSource->GetNormalPowerPerSecond());
    return true;
}
