#pragma once

#include "platform/mfc/CWnd.h"

class CDataExchange;

// A dialog built from a dialog template: modal (DoModal, through the modal service) or
// modeless (Create). OK exchanges the controls' data and ends it; Cancel ends it.
class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual int DoModal();
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // The base exchanges data into the controls and answers TRUE.
    virtual BOOL OnInitDialog();
    // The base exchanges data out of the controls and, when that worked, ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    // A modal dialog stops with the result; a modeless one is hidden.
    void EndDialog(int nResult);
    // Exchanges the data of DoDataExchange; FALSE when a field failed (its message shown).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The same out of the controls without a message or a focus change: whether every value
    // parsed (for checks while the user is still typing).
    BOOL UpdateDataQuietly();
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    bool IsModal() const { return m_bModal; }
    void OnClose() override;

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateToolkitDialog(CWnd* pParentWnd);
    BOOL Exchange(BOOL bSaveAndValidate, BOOL bQuiet);

    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
};
