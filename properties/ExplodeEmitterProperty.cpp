#include "properties/ExplodeEmitterProperty.h"

ExplodeEmitterProperty* ExplodeEmitterProperty::Create(const char* pcName)
{
    auto* pkProperty = new ExplodeEmitterProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
