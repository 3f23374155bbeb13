#include "editor/TemplateListEntries.h"

#include "platform/mfc/CListBox.h"
#include "properties/SKModelProperty.h"

int AddTemplateEntry(CListBox& kList, SKModelProperty* pkTemplate)
{
    const std::unique_ptr<char[]> pcName = pkTemplate->GetName().GetCString();
    const int iEntry = kList.AddString(pcName.get());
    if (iEntry != LB_ERR)
        kList.SetItemData(iEntry, reinterpret_cast<uintptr_t>(pkTemplate));
    return iEntry;
}

void AddTemplateEntries(CListBox& kList, const SKModelPropertyManager::Templates& kTemplates)
{
    for (SKModelProperty* pkTemplate : kTemplates)
        AddTemplateEntry(kList, pkTemplate);
}

SKModelProperty* SelectedTemplate(const CListBox& kList)
{
    const int iSelected = kList.GetCurSel();
    return iSelected == LB_ERR ? nullptr : reinterpret_cast<SKModelProperty*>(kList.GetItemData(iSelected));
}
