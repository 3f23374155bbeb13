#include "properties/CloakingSubsystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

CloakingSubsystemProperty* CloakingSubsystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new CloakingSubsystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool CloakingSubsystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fCloakStrength);
    return true;
}

bool CloakingSubsystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fCloakStrength = kStream.ReadFloat();
    return !kCheck.Failed();
}

void CloakingSubsystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter(kStream).Line(pcVariable, ".SetCloakStrength(", m_fCloakStrength, ")");
}

bool CloakingSubsystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const CloakingSubsystemProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetCloakStrength(pkSource->GetCloakStrength());
    return true;
}
