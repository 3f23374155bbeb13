#include "properties/RepairSubsystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

RepairSubsystemProperty* RepairSubsystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new RepairSubsystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool RepairSubsystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fMaxRepairPoints);
    kStream.WriteLong(m_iNumRepairTeams);
    return true;
}

bool RepairSubsystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fMaxRepairPoints = kStream.ReadFloat();
    m_iNumRepairTeams = kStream.ReadLong();
    return !kCheck.Failed();
}

void RepairSubsystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetMaxRepairPoints(", m_fMaxRepairPoints, ")");
    kWriter.Line(pcVariable, ".SetNumRepairTeams(", m_iNumRepairTeams, ")");
}

bool RepairSubsystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const RepairSubsystemProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetMaxRepairPoints(pkSource->GetMaxRepairPoints());
    SetNumRepairTeams(pkSource->GetNumRepairTeams());
    return true;
}
