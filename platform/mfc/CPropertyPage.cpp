#include "platform/mfc/CPropertyPage.h"

#include "platform/mfc/DialogBuilder.h"
#include "platform/mfc/Resources.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption)
{
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
    {
        m_bFirstSetActive = false;
        return TRUE;
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

CString CPropertyPage::GetCaption() const
{
    CString kCaption;
    if (m_nIDCaption != 0 && AfxLoadString(m_nIDCaption, kCaption))
        return kCaption;
    const mfc::DialogResource* pkTemplate = mfc::Resources::FindDialog(m_nIDTemplate);
    return pkTemplate != nullptr ? CString(pkTemplate->kCaption) : CString();
}

BOOL CPropertyPage::CreatePage(wxWindow* pkTab)
{
    const mfc::DialogResource* pkTemplate = mfc::Resources::FindDialog(m_nIDTemplate);
    if (pkTemplate == nullptr || pkTab == nullptr || IsPageCreated())
        return FALSE;
    mfc::DialogBuilder::Build(pkTab, *pkTemplate);
    Attach(pkTab);
    mfc::DialogBuilder::BindNotifications(pkTab);
    OnInitDialog();
    return TRUE;
}
