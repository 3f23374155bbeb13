#include "platform/mfc/CDialog.h"

#include "platform/mfc/DialogBuilder.h"
#include "platform/mfc/ModalService.h"
#include "platform/mfc/Resources.h"

#include <wx/dialog.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::CreateToolkitDialog(CWnd* pParentWnd)
{
    const mfc::DialogResource* pkTemplate = mfc::Resources::FindDialog(m_nIDTemplate);
    if (pkTemplate == nullptr)
        return FALSE;
    CWnd* pkParent = pParentWnd != nullptr ? pParentWnd : AfxGetMainWnd();
    auto* pkDialog = new wxDialog(pkParent != nullptr ? pkParent->GetToolkitWindow() : nullptr, wxID_ANY,
                                  wxString::FromUTF8(pkTemplate->kCaption.c_str()));
    mfc::DialogBuilder::Build(pkDialog, *pkTemplate);
    Attach(pkDialog);
    mfc::DialogBuilder::BindNotifications(pkDialog);
    m_bEnded = false;
    m_nResult = IDCANCEL;
    return TRUE;
}

int CDialog::DoModal()
{
    m_bModal = true;
    if (!CreateToolkitDialog(m_pParentWnd))
        return -1;
    auto* pkDialog = static_cast<wxDialog*>(m_pkWindow);
    pkDialog->CentreOnParent();
    OnInitDialog();
    mfc::ModalRequest kRequest;
    kRequest.eKind = mfc::ModalRequest::Kind::Dialog;
    kRequest.pkDialog = this;
    int iAnswer = IDCANCEL;
    if (mfc::ModalService::AskHook(kRequest, iAnswer))
    {
        if (!m_bEnded)
        {
            if (iAnswer == IDOK)
                OnOK();
            else if (iAnswer == IDCANCEL)
                OnCancel();
            else
                EndDialog(iAnswer);
        }
        // A failed OK leaves the dialog up; the hook's answer stands as a cancel.
        if (!m_bEnded)
            EndDialog(IDCANCEL);
    }
    else if (!m_bEnded)
        pkDialog->ShowModal();
    const int nResult = m_nResult;
    DestroyWindow();
    m_bModal = false;
    return nResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = false;
    if (!CreateToolkitDialog(pParentWnd))
        return FALSE;
    OnInitDialog();
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    OnCancel();
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    auto* pkDialog = dynamic_cast<wxDialog*>(m_pkWindow);
    if (pkDialog == nullptr)
        return;
    if (pkDialog->IsModal())
        pkDialog->EndModal(nResult);
    else if (!m_bModal)
        pkDialog->Hide();
}
