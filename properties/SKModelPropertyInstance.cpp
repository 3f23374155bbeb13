#include "properties/SKModelPropertyInstance.h"

#include "core/SKScriptBridge.h"
#include "core/SKStream.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKReadCheck.h"

#include <cstring>

namespace
{
std::unique_ptr<char[]> CopyText(const char* pcText)
{
    if (!pcText)
        return nullptr;
    const size_t uiLength = std::strlen(pcText) + 1;
    std::unique_ptr<char[]> pcCopy(new char[uiLength]);
    std::memcpy(pcCopy.get(), pcText, uiLength);
    return pcCopy;
}

// A hold that a link resolved in the same load already counted (the saved count counts its holders)
// is not added again; a hold on anything else is.
void HoldResolved(SKModelProperty* pkProperty)
{
    if (pkProperty && !pkProperty->IsCountFromStream())
        pkProperty->IncRefCount();
}
} // namespace

SKModelPropertyInstance::SKModelPropertyInstance(SKModelProperty* pkTemplate, const char* pcHardpointName)
    : m_pcHardpointName(CopyText(pcHardpointName))
{
    if (!pkTemplate)
        return;
    Hold(m_pkTemplate, pkTemplate);
    // Duplicate hands over the copy's only reference.
    m_pkProperty = pkTemplate->Duplicate();
}

SKModelPropertyInstance::~SKModelPropertyInstance()
{
    SKScriptBridge::ObjectGone(this);
    Hold(m_pkTemplate, nullptr);
    Hold(m_pkProperty, nullptr);
}

void SKModelPropertyInstance::Hold(SKModelProperty*& pkField, SKModelProperty* pkProperty)
{
    // The new hold first: releasing the old one may otherwise delete a property held again.
    if (pkProperty)
        pkProperty->IncRefCount();
    if (pkField)
        pkField->DecRefCount();
    pkField = pkProperty;
}

void SKModelPropertyInstance::UseOriginalTemplate()
{
    Hold(m_pkProperty, m_pkTemplate);
}

void SKModelPropertyInstance::SetProperty(SKModelProperty* pkProperty)
{
    Hold(m_pkProperty, pkProperty);
}

void SKModelPropertyInstance::SetOriginalTemplate(SKModelProperty* pkTemplate)
{
    Hold(m_pkTemplate, pkTemplate);
}

// ---------------------------------------------------------------------------------------------------------
// Binary record

bool SKModelPropertyInstance::SaveToStream(SKStream& kStream) const
{
    if (!m_pkTemplate || g_kModelPropertyManager.IsGlobalTemplate(m_pkTemplate) ||
        g_kModelPropertyManager.IsLocalTemplate(m_pkTemplate))
    {
        // Id 0 loads back as no template.
        kStream.WriteBool(true);
        kStream.WriteID(m_pkTemplate ? m_pkTemplate->GetObjID() : 0);
    }
    else
    {
        kStream.WriteBool(false);
        if (!m_pkTemplate->SaveToStream(kStream))
            return false;
    }

    // An instance without a property of its own (its template's class has no factory) saves as one
    // using its template: there is no record to write for it.
    if (!m_pkProperty || m_pkProperty == m_pkTemplate)
    {
        kStream.WriteBool(true);
    }
    else
    {
        kStream.WriteBool(false);
        if (!m_pkProperty->SaveToStream(kStream))
            return false;
    }

    kStream.WriteNewCString(m_pcHardpointName.get());
    return true;
}

bool SKModelPropertyInstance::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (kStream.ReadBool())
    {
        m_iTemplateID = kStream.ReadID();
        m_bTemplateByID = true;
    }
    else
    {
        // The loaded record comes with the holds its saved count records.
        m_pkTemplate = SKModelProperty::LoadPropertyRecord(kStream);
        if (!m_pkTemplate)
            return false;
    }
    if (kCheck.Failed())
        return false;

    if (kStream.ReadBool())
    {
        if (m_bTemplateByID)
        {
            m_bPropertyByID = true;
        }
        else
        {
            m_pkProperty = m_pkTemplate;
            HoldResolved(m_pkProperty);
        }
    }
    else
    {
        m_pkProperty = SKModelProperty::LoadPropertyRecord(kStream);
        if (!m_pkProperty)
            return false;
    }

    m_pcHardpointName = kStream.ReadNewCString(-1);
    return !kCheck.Failed();
}

bool SKModelPropertyInstance::CheckLinks()
{
    if (!m_bTemplateByID || m_iTemplateID == 0)
        return true;
    // Ids begin again each run: an id may name an object that is no property at all.
    return SKModelProperty::Cast(SKObject::GetSKObjectPtr(m_iTemplateID)) != nullptr;
}

void SKModelPropertyInstance::ResolveLinks()
{
    if (!m_bTemplateByID)
        return;
    SKModelProperty* pkTemplate = SKModelProperty::Cast(SKObject::GetSKObjectPtr(m_iTemplateID));
    m_bTemplateByID = false;
    m_pkTemplate = pkTemplate;
    HoldResolved(m_pkTemplate);
    if (m_bPropertyByID)
    {
        m_bPropertyByID = false;
        m_pkProperty = pkTemplate;
        HoldResolved(m_pkProperty);
    }
}
