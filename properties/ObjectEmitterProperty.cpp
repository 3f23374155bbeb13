#include "properties/ObjectEmitterProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

namespace
{
const char* EmittedObjectConstant(int32_t iType)
{
    switch (iType)
    {
    case ObjectEmitterProperty::OEP_SHUTTLE:
        return "OEP_SHUTTLE";
    case ObjectEmitterProperty::OEP_PROBE:
        return "OEP_PROBE";
    case ObjectEmitterProperty::OEP_DECOY:
        return "OEP_DECOY";
    default:
        return "OEP_UNKNOWN";
    }
}
} // namespace

ObjectEmitterProperty* ObjectEmitterProperty::Create(const char* pcName)
{
    auto* pkProperty = new ObjectEmitterProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool ObjectEmitterProperty::SaveToStream(SKStream& kStream) const
{
    if (!PositionOrientationProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iEmittedObjectType);
    return true;
}

bool ObjectEmitterProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PositionOrientationProperty::LoadFromStream(kStream))
        return false;
    const int32_t iType = kStream.ReadLong();
    if (kCheck.Failed())
        return false;
    m_iEmittedObjectType = iType;
    return true;
}

void ObjectEmitterProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PositionOrientationProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetEmittedObjectType(", pcVariable, ".",
                 EmittedObjectConstant(m_iEmittedObjectType), ")");
}

bool ObjectEmitterProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const ObjectEmitterProperty*>(pkOther);
    if (!pkSource || !PositionOrientationProperty::CopyFrom(pkOther))
        return false;
    SetEmittedObjectType(pkSource->GetEmittedObjectType());
    return true;
}
