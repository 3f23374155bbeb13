#pragma once

#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListBox.h"

class SKModelProperty;
class SKModelPropertySet;

// The modeless list of global and local templates: create, move between the lists, copy to
// local, duplicate, rename, edit and delete. It is made (and shown by the caller) with the
// main frame as parent; it deletes itself when its window goes, and OK only hides it.
class CAvailableTemplatesDlg : public CDialog
{
    DECLARE_DYNAMIC(CAvailableTemplatesDlg)

public:
    CAvailableTemplatesDlg();
    ~CAvailableTemplatesDlg() override;

    // Refills both lists from the property manager.
    void FillLists();
    // Runs New Template and then Rename Template; the new property, or null.
    static SKModelProperty* CreateNewTemplate();
    // Removes and destroys the active document's instances made from the template.
    static void RemoveInstancesOfTemplate(SKModelProperty* pkTemplate);
    // The same in one property set, their geometry hidden first; true when any went.
    static bool RemoveInstancesFromSet(SKModelPropertySet& kSet, SKModelProperty* pkTemplate);
    // Refills the lists of every open dialog: after a change that may have freed a template,
    // no list may keep an entry for it.
    static void FillAllLists();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void PostNcDestroy() override;

    void OnMoveToLocal();
    void OnMoveToGlobal();
    void OnNewGlobal();
    void OnNewLocal();
    void OnDelete();
    void OnEdit();
    void OnRename();
    void OnCopyToLocal();
    void OnDuplicate();
    void OnSelChangeGlobal();
    void OnSelChangeLocal();

    CListBox m_kGlobal;
    CListBox m_kLocal;
    CButton m_kMoveToLocal;
    CButton m_kMoveToGlobal;
    CButton m_kDelete;
    CButton m_kEdit;
    CButton m_kRename;
    CButton m_kCopyToLocal;
    CButton m_kDuplicate;

    DECLARE_MESSAGE_MAP()

private:
    // The selected global template, else the selected local one; null without either. The
    // list it was found in is given back.
    SKModelProperty* SelectedTemplate(int32_t* piWhich = nullptr) const;
    void MoveSelected(CListBox& kFrom, int32_t iFrom);
    void AddNew(int32_t iWhich);
    void Register(int32_t iWhich, SKModelProperty* pkTemplate);
};
