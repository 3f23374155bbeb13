#include "properties/SensorProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

SensorProperty* SensorProperty::Create(const char* pcName)
{
    auto* pkProperty = new SensorProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool SensorProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fBaseSensorRange);
    kStream.WriteInt(m_iMaxProbes);
    return true;
}

bool SensorProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fBaseSensorRange = kStream.ReadFloat();
    m_iMaxProbes = kStream.ReadInt();
    return !kCheck.Failed();
}

void SensorProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetBaseSensorRange(", m_fBaseSensorRange, ")");
    kWriter.Line(pcVariable, ".SetMaxProbes(", m_iMaxProbes, ")");
}

bool SensorProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const SensorProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetBaseSensorRange(pkSource->GetBaseSensorRange());
    SetMaxProbes(pkSource->GetMaxProbes());
    return true;
}
