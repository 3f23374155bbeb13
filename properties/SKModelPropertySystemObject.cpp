#include "properties/SKModelPropertySystemObject.h"

#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"

namespace
{
bool s_bGenericFilterRegistered = false;

SKObject* CreateModelProperty(int32_t iID)
{
    return new SKModelProperty(iID);
}

SKObject* CreateModelPropertySet(int32_t iID)
{
    return new SKModelPropertySet(iID);
}

bool IsGenericProperty(SKModelProperty* pkProperty)
{
    return pkProperty && pkProperty->IsTypeOf(SKModelProperty::TYPE_ID);
}
} // namespace

SKModelPropertySystemObject& SKModelPropertySystemObject::Instance()
{
    static SKModelPropertySystemObject s_kInstance;
    return s_kInstance;
}

void SKModelPropertySystemObject::Init()
{
    SKObject::RegisterFactory(SKModelProperty::TYPE_ID, &CreateModelProperty);
    SKObject::RegisterFactory(SKModelPropertySet::TYPE_ID, &CreateModelPropertySet);
    if (!s_bGenericFilterRegistered)
    {
        g_kModelPropertyManager.RegisterFilter(&IsGenericProperty, GENERIC_FILTER_TITLE);
        s_bGenericFilterRegistered = true;
    }
}

void SKModelPropertySystemObject::ReleaseResources()
{
    g_kModelPropertyManager.ClearLocalTemplates();
    g_kModelPropertyManager.ClearGlobalTemplates();
}

void SKModelPropertySystemObject::Shutdown()
{
    g_kModelPropertyManager.ClearRegisteredFilters();
}
