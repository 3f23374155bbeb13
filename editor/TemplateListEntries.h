#pragma once
// The template lists of the template dialogs: each entry shows a template's name and carries
// the template as its value.

#include "properties/SKModelPropertyManager.h"

class CListBox;
class SKModelProperty;

// The new entry's index; LB_ERR (and no value) when the list refused it.
int AddTemplateEntry(CListBox& kList, SKModelProperty* pkTemplate);
void AddTemplateEntries(CListBox& kList, const SKModelPropertyManager::Templates& kTemplates);
// The template of the list's selected entry; null without a selection.
SKModelProperty* SelectedTemplate(const CListBox& kList);
