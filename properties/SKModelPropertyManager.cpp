// SKModelPropertyManager: templates; filters; binary record.
#include "properties/SKModelPropertyManager.h"

#include "core/SKStream.h"
#include "core/SKString.h"
#include "properties/SKModelProperty.h"
#include "properties/SKReadCheck.h"

SKModelPropertyManager g_kModelPropertyManager;

// ---------------------------------------------------------------------------------------------------------
// Templates

SKModelProperty* SKModelPropertyManager::Find(const Templates& kList, const char* pcName, bool bAnyType,
                                              int32_t iType)
{
    const SKString kName(pcName);
    for (SKModelProperty* pkTemplate : kList)
    {
        if ((bAnyType || pkTemplate->IsTypeOf(iType)) && pkTemplate->GetName().Compare(kName, true) == 0)
            return pkTemplate;
    }
    return nullptr;
}

SKModelProperty* SKModelPropertyManager::FindByNameAndType(const char* pcName, int32_t iType,
                                                           int32_t iWhich) const
{
    return Find(List(iWhich), pcName, false, iType);
}

SKModelProperty* SKModelPropertyManager::FindByName(const char* pcName, int32_t iWhich) const
{
    return Find(List(iWhich), pcName, true, 0);
}

bool SKModelPropertyManager::IsGlobalTemplate(const SKModelProperty* pkProperty) const
{
    return pkProperty && m_kGlobal.Contains(const_cast<SKModelProperty*>(pkProperty));
}

bool SKModelPropertyManager::IsLocalTemplate(const SKModelProperty* pkProperty) const
{
    return pkProperty && m_kLocal.Contains(const_cast<SKModelProperty*>(pkProperty));
}

bool SKModelPropertyManager::Register(Templates& kList, const Templates& kOtherList,
                                      SKModelProperty* pkProperty)
{
    if (!pkProperty)
        return false;
    // Registered again: releasing "the old one" would release the property itself.
    if (kList.Contains(pkProperty))
        return true;
    const auto pcName = pkProperty->GetName().GetCString();
    if (SKModelProperty* pkOld = Find(kList, pcName.get(), false, pkProperty->GetObjType()))
    {
        kList.Remove(pkOld);
        pkOld->DecRefCount();
    }
    // Each list holds its own reference: one creator's reference cannot serve two lists.
    if (kOtherList.Contains(pkProperty))
        pkProperty->IncRefCount();
    kList.AddTail(pkProperty);
    return true;
}

bool SKModelPropertyManager::RemoveTemplate(int32_t iWhich, SKModelProperty* pkProperty, int32_t iDelete)
{
    if (!pkProperty || !List(iWhich).Remove(pkProperty))
        return false;
    // Instances of other documents may still hold the template: only the list's hold goes.
    if (iDelete != 0)
        pkProperty->DecRefCount();
    return true;
}

void SKModelPropertyManager::Clear(Templates& kList)
{
    // Unlinked before it is released, so a template's destructor never finds itself listed.
    while (!kList.IsEmpty())
    {
        SKModelProperty* pkTemplate = kList.RemoveHead();
        pkTemplate->DecRefCount();
    }
    kList.RemoveAll();
}

// ---------------------------------------------------------------------------------------------------------
// Filters

void SKModelPropertyManager::RegisterFilter(FilterFunc pfnFilter, const char* pcTitle)
{
    m_kRegisteredFilters.AddTail(SKModelPropertyFilter{pfnFilter, pcTitle ? pcTitle : ""});
}

void SKModelPropertyManager::AddFilter(FilterFunc pfnFilter)
{
    if (pfnFilter)
        m_kCurrentFilters.AddTail(pfnFilter);
}

bool SKModelPropertyManager::RemoveFilter(FilterFunc pfnFilter)
{
    if (!pfnFilter)
        return false;
    m_kCurrentFilters.Remove(pfnFilter);
    return true;
}

bool SKModelPropertyManager::ApplyFilters(SKModelProperty* pkProperty) const
{
    for (FilterFunc pfnFilter : m_kCurrentFilters)
    {
        if (!pfnFilter(pkProperty))
            return false;
    }
    return true;
}

std::unique_ptr<SKModelPropertyManager::Templates>
SKModelPropertyManager::GetFilteredTemplates(int32_t iWhich) const
{
    auto spResult = std::make_unique<Templates>(2);
    for (SKModelProperty* pkTemplate : List(iWhich))
    {
        if (ApplyFilters(pkTemplate))
            spResult->AddTail(pkTemplate);
    }
    return spResult;
}

// ---------------------------------------------------------------------------------------------------------
// Binary record

bool SKModelPropertyManager::SaveList(const Templates& kList, SKStream& kStream)
{
    for (const SKModelProperty* pkTemplate : kList)
    {
        kStream.WriteBool(true);
        if (!pkTemplate->SaveToStream(kStream))
            return false;
    }
    kStream.WriteBool(false);
    return true;
}

bool SKModelPropertyManager::SaveToStream(SKStream& kStream) const
{
    return SaveList(m_kLocal, kStream) && SaveList(m_kGlobal, kStream);
}

bool SKModelPropertyManager::LoadList(Templates& kList, SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    while (!kCheck.Failed() && kStream.ReadBool())
    {
        // A record of no property (or of a class without factory) cannot become a template.
        SKModelProperty* pkTemplate = SKModelProperty::LoadPropertyRecord(kStream);
        if (!pkTemplate)
            return false;
        kList.AddTail(pkTemplate);
    }
    return !kCheck.Failed();
}

bool SKModelPropertyManager::LoadFromStream(SKStream& kStream)
{
    return LoadList(m_kLocal, kStream) && LoadList(m_kGlobal, kStream);
}
