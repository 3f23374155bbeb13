#include "properties/EffectEmitterProperty.h"

EffectEmitterProperty* EffectEmitterProperty::Create(const char* pcName)
{
    auto* pkProperty = new EffectEmitterProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
