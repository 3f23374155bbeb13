#include "properties/SmokeEmitterProperty.h"

SmokeEmitterProperty* SmokeEmitterProperty::Create(const char* pcName)
{
    auto* pkProperty = new SmokeEmitterProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
