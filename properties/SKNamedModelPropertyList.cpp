#include "properties/SKNamedModelPropertyList.h"

#include "core/SKStream.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKReadCheck.h"

#include <memory>

SKNamedModelPropertyList::~SKNamedModelPropertyList()
{
    for (SKModelPropertyInstance* pkInstance : m_kItems)
        delete pkInstance;
}

bool SKNamedModelPropertyList::SaveToStream(SKStream& kStream) const
{
    kStream.WriteNewCString(m_kName.c_str());
    for (const SKModelPropertyInstance* pkInstance : m_kItems)
    {
        kStream.WriteBool(true);
        if (!pkInstance->SaveToStream(kStream))
            return false;
    }
    kStream.WriteBool(false);
    return true;
}

bool SKNamedModelPropertyList::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    SetName(kStream.ReadNewCString(-1).get());
    while (!kCheck.Failed() && kStream.ReadBool())
    {
        auto spInstance = std::make_unique<SKModelPropertyInstance>();
        if (!spInstance->LoadFromStream(kStream))
            return false;
        AddInstance(spInstance.release());
    }
    return !kCheck.Failed();
}

bool SKNamedModelPropertyList::CheckLinks()
{
    for (SKModelPropertyInstance* pkInstance : m_kItems)
    {
        if (!pkInstance->CheckLinks())
            return false;
    }
    return true;
}

void SKNamedModelPropertyList::ResolveLinks()
{
    for (SKModelPropertyInstance* pkInstance : m_kItems)
        pkInstance->ResolveLinks();
}
