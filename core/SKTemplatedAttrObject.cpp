#include "core/SKTemplatedAttrObject.h"

#include "core/SKStream.h"

bool SKTemplatedAttrObject::SaveToStream(SKStream& kStream) const
{
    if (!SKAttrObject::SaveToStream(kStream))
        return false;
    kStream.WriteID(m_pkTemplate ? m_pkTemplate->GetObjID() : m_iTemplateID);
    return true;
}

bool SKTemplatedAttrObject::LoadFromStream(SKStream& kStream)
{
    if (!SKAttrObject::LoadFromStream(kStream))
        return false;
    m_iTemplateID = kStream.ReadID();
    m_pkTemplate = nullptr;
    return true;
}

bool SKTemplatedAttrObject::CheckLinks()
{
    return m_iTemplateID == 0 || FindTemplate(m_iTemplateID);
}

void SKTemplatedAttrObject::ResolveLinks()
{
    if (m_iTemplateID == 0)
        return;
    m_pkTemplate = FindTemplate(m_iTemplateID);
    m_iTemplateID = 0;
}

// The attribute object under the id, unless its template chain leads back here: lookups walk the chain to
// its end, so a cycle read from a file must never be linked.
SKAttrObject* SKTemplatedAttrObject::FindTemplate(int32_t iID) const
{
    auto* pkTemplate = dynamic_cast<SKAttrObject*>(GetSKObjectPtr(iID));
    for (const SKAttrObject* pkLink = pkTemplate; pkLink;)
    {
        if (pkLink == this)
            return nullptr;
        auto* pkTemplated = dynamic_cast<const SKTemplatedAttrObject*>(pkLink);
        pkLink = pkTemplated ? pkTemplated->m_pkTemplate : nullptr;
    }
    return pkTemplate;
}

bool SKTemplatedAttrObject::LookupAttrValue(AttrType iKey, float& fValue) const
{
    if (SKAttrObject::LookupAttrValue(iKey, fValue))
        return true;
    return m_pkTemplate && m_pkTemplate->LookupAttrValue(iKey, fValue);
}

float SKTemplatedAttrObject::GetAttrValue(AttrType iKey) const
{
    float fValue = 0.0f;
    return LookupAttrValue(iKey, fValue) ? fValue : 0.0f;
}

bool SKTemplatedAttrObject::LookupLocalAttrValue(AttrType iKey, float& fValue) const
{
    return SKAttrObject::LookupAttrValue(iKey, fValue);
}
