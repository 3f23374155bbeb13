#include "properties/SKModelPropertySet.h"

#include "core/SKStream.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKReadCheck.h"

#include <cstring>

namespace
{
// The smallest node list record: an empty name's length and the closing bool.
constexpr int64_t MIN_NODE_LIST_RECORD = 5;
} // namespace

SKModelPropertySet::SKModelPropertySet(int32_t iID) : SKObject(iID) {}

SKModelPropertySet::~SKModelPropertySet()
{
    for (SKNamedModelPropertyList* pkList : m_kNodeLists)
        delete pkList;
}

// ---------------------------------------------------------------------------------------------------------
// Contents

bool SKModelPropertySet::AddToSet(const char* pcNodeName, SKModelProperty* pkProperty)
{
    if (!pkProperty)
        return false;
    SKNamedModelPropertyList* pkList = GetPropertyList(pcNodeName);
    if (!pkList)
    {
        pkList = new SKNamedModelPropertyList(pcNodeName);
        m_kNodeLists.AddTail(pkList);
    }

    for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
    {
        SKModelProperty* pkTemplate = pkInstance->GetOriginalTemplate();
        if (!pkTemplate || pkTemplate->GetName().Compare(pkProperty->GetName(), true) != 0)
            continue;
        // The instance keeps only the duplicate's own reference.
        SKModelProperty* pkCopy = pkProperty->Duplicate();
        pkInstance->SetProperty(pkCopy);
        if (pkCopy)
            pkCopy->DecRefCount();
        pkInstance->SetOriginalTemplate(pkProperty);
        return true;
    }

    pkList->AddInstance(new SKModelPropertyInstance(pkProperty, pcNodeName));
    return true;
}

SKNamedModelPropertyList* SKModelPropertySet::GetPropertyList(const char* pcNodeName) const
{
    const char* pcName = pcNodeName ? pcNodeName : "";
    for (SKNamedModelPropertyList* pkList : m_kNodeLists)
    {
        if (std::strcmp(pkList->GetName(), pcName) == 0)
            return pkList;
    }
    return nullptr;
}

std::unique_ptr<SKModelPropertyList> SKModelPropertySet::GetPropertiesByType(int32_t iType) const
{
    auto spResult = std::make_unique<SKModelPropertyList>();
    for (const SKNamedModelPropertyList* pkList : m_kNodeLists)
    {
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
        {
            const SKModelProperty* pkProperty = pkInstance->GetProperty();
            if (pkProperty && pkProperty->IsTypeOf(iType))
                spResult->AddInstance(pkInstance);
        }
    }
    return spResult;
}

// ---------------------------------------------------------------------------------------------------------
// Binary record and fix-up

bool SKModelPropertySet::SaveToStream(SKStream& kStream) const
{
    if (!SKObject::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_kNodeLists.GetCount());
    for (const SKNamedModelPropertyList* pkList : m_kNodeLists)
    {
        if (!pkList->SaveToStream(kStream))
            return false;
    }
    return true;
}

bool SKModelPropertySet::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!kStream.CheckRemaining(4))
        return false;
    const int32_t iCount = kStream.ReadLong();
    // The count comes from the file: it must fit in what the stream still holds.
    if (iCount < 0 || !kStream.CheckRemaining(iCount * MIN_NODE_LIST_RECORD))
        return false;
    for (int32_t i = 0; i < iCount; i++)
    {
        auto spList = std::make_unique<SKNamedModelPropertyList>();
        if (!spList->LoadFromStream(kStream) || kCheck.Failed())
            return false;
        m_kNodeLists.AddTail(spList.release());
    }
    return true;
}

bool SKModelPropertySet::CheckLinks()
{
    for (SKNamedModelPropertyList* pkList : m_kNodeLists)
    {
        if (!pkList->CheckLinks())
            return false;
    }
    return true;
}

void SKModelPropertySet::ResolveLinks()
{
    for (SKNamedModelPropertyList* pkList : m_kNodeLists)
        pkList->ResolveLinks();
}
