#include "properties/SKModelPropertyList.h"

#include "core/SKScriptBridge.h"

SKModelPropertyList::~SKModelPropertyList()
{
    SKScriptBridge::ObjectGone(this);
}

SKModelPropertyInstance* SKModelPropertyList::SKGetNext()
{
    if (!m_pkCursor)
        return nullptr;
    SKModelPropertyInstance* pkInstance = m_pkCursor->m_item;
    m_pkCursor = m_pkCursor->m_pNext;
    return pkInstance;
}

bool SKModelPropertyList::RemoveInstance(SKModelPropertyInstance* pkInstance)
{
    Items::Node* pkNode = m_kItems.FindPos(pkInstance);
    if (!pkNode)
        return false;
    if (m_pkCursor == pkNode)
        m_pkCursor = pkNode->m_pNext;
    m_kItems.RemovePos(pkNode);
    return true;
}
