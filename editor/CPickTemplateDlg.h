#pragma once

#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListBox.h"

class SKModelProperty;

// Picks one template, global or local, optionally narrowed to a property category. The
// category chosen stays the property manager's current filter after the dialog closes.
class CPickTemplateDlg : public CDialog
{
    DECLARE_DYNAMIC(CPickTemplateDlg)

public:
    CPickTemplateDlg();

    // The template picked with OK; null without one.
    SKModelProperty* GetPickedTemplate() const { return m_pkPickedTemplate; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnSelChangeTypes();
    void OnSelChangeGlobal();
    void OnSelChangeLocal();
    void OnDblClkTemplate();

    CListBox m_kTypes;
    CListBox m_kGlobal;
    CListBox m_kLocal;
    CButton m_kOK;
    SKModelProperty* m_pkPickedTemplate = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    void FillTemplateLists();
    // A selection in one list clears the other's; OK is on while either has one.
    void SelectionMoved(CListBox& kList, CListBox& kOther);
};
