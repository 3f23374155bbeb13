#pragma once

#include "platform/mfc/CWnd.h"

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

    UINT GetTemplateId() const { return m_nIDTemplate; }
    bool IsModal() const { return m_bModal; }
    void OnClose() override;

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateToolkitDialog(CWnd* pParentWnd);

    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
};
