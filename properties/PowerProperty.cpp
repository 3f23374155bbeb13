#include "properties/PowerProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

PowerProperty* PowerProperty::Create(const char* pcName)
{
    auto* pkProperty = new PowerProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool PowerProperty::SaveToStream(SKStream& kStream) const
{
    if (!SubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fMainBatteryLimit);
    kStream.WriteFloat(m_fBackupBatteryLimit);
    kStream.WriteFloat(m_fMainConduitCapacity);
    kStream.WriteFloat(m_fBackupConduitCapacity);
    kStream.WriteFloat(m_fPowerOutput);
    return true;
}

bool PowerProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fMainBatteryLimit = kStream.ReadFloat();
    m_fBackupBatteryLimit = kStream.ReadFloat();
    m_fMainConduitCapacity = kStream.ReadFloat();
    m_fBackupConduitCapacity = kStream.ReadFloat();
    m_fPowerOutput = kStream.ReadFloat();
    return !kCheck.Failed();
}

void PowerProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetMainBatteryLimit(", m_fMainBatteryLimit, ")");
    kWriter.Line(pcVariable, ".SetBackupBatteryLimit(", m_fBackupBatteryLimit, ")");
    kWriter.Line(pcVariable, ".SetMainConduitCapacity(", m_fMainConduitCapacity, ")");
    kWriter.Line(pcVariable, ".SetBackupConduitCapacity(", m_fBackupConduitCapacity, ")");
    kWriter.Line(pcVariable, ".SetPowerOutput(", m_fPowerOutput, ")");
}

bool PowerProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const PowerProperty*>(pkOther);
    if (!pkSource || !SubsystemProperty::CopyFrom(pkOther))
        return false;
    SetMainBatteryLimit(pkSource->GetMainBatteryLimit());
    SetBackupBatteryLimit(pkSource->GetBackupBatteryLimit());
    SetMainConduitCapacity(pkSource->GetMainConduitCapacity());
    SetBackupConduitCapacity(pkSource->GetBackupConduitCapacity());
    SetPowerOutput(pkSource->GetPowerOutput());
    return true;
}
