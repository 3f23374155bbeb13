#include "properties/HullProperty.h"

HullProperty* HullProperty::Create(const char* pcName)
{
    auto* pkProperty = new HullProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
