#include "properties/WarpEngineProperty.h"

WarpEngineProperty* WarpEngineProperty::Create(const char* pcName)
{
    auto* pkProperty = new WarpEngineProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}
