#include "editor/CParentScriptDlg.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"

CParentScriptDlg::CParentScriptDlg(CWnd* pParent) : CDialog(IDD_PARENTSCRIPT, pParent) {}

void CParentScriptDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PARENTSCRIPT_NAME, m_strParentScript);
}
