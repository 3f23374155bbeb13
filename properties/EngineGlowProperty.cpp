#include "properties/EngineGlowProperty.h"

EngineGlowProperty* EngineGlowProperty::Create(const char* pcName)
{
    auto* pkProperty = new EngineGlowProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
