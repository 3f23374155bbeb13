#include "properties/SparkEmitterProperty.h"

SparkEmitterProperty* SparkEmitterProperty::Create(const char* pcName)
{
    auto* pkProperty = new SparkEmitterProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
