#pragma once

#include "platform/mfc/CButton.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CListBox.h"

class SKModelProperty;

// Picks a property type and, on OK, creates a property of it named "NewProperty" (reference
// count 1, the caller's to keep or release).
class CNewTemplateDlg : public CDialog
{
    DECLARE_DYNAMIC(CNewTemplateDlg)

public:
    CNewTemplateDlg();

    SKModelProperty* GetCreatedProperty() const { return m_pkCreatedProperty; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnSelChangeTypes();
    void OnDblClkTypes();

    CListBox m_kTypes;
    CButton m_kOK;
    SKModelProperty* m_pkCreatedProperty = nullptr;

    DECLARE_MESSAGE_MAP()
};
