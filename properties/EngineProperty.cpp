#include "properties/EngineProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

EngineProperty* EngineProperty::Create(const char* pcName)
{
    auto* pkProperty = new EngineProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool EngineProperty::SaveToStream(SKStream& kStream) const
{
    if (!SubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iEngineType);
    return true;
}

bool EngineProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SubsystemProperty::LoadFromStream(kStream))
        return false;
    m_iEngineType = kStream.ReadLong();
    return !kCheck.Failed();
}

void EngineProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter(kStream).Line(pcVariable, ".SetEngineType(", pcVariable, ".",
                                 m_iEngineType == EP_IMPULSE ? "EP_IMPULSE" : "EP_WARP", ")");
}

bool EngineProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const EngineProperty*>(pkOther);
    if (!pkSource || !SubsystemProperty::CopyFrom(pkOther))
        return false;
    SetEngineType(pkSource->GetEngineType());
    return true;
}
