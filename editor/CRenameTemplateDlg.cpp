#include "editor/CRenameTemplateDlg.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"

IMPLEMENT_DYNAMIC(CRenameTemplateDlg, CDialog)

CRenameTemplateDlg::CRenameTemplateDlg() : CDialog(IDD_RENAMETEMPLATE) {}

void CRenameTemplateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEMPLATE_NAME, m_kName);
    DDV_MaxChars(pDX, m_kName, 60);
}
