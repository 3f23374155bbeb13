#include "editor/COptionsDlg.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"

COptionsDlg::COptionsDlg(CWnd* pParent) : CDialog(IDD_OPTIONS, pParent) {}

void COptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_OPTIONS_MODELDIRECTORY, m_strModelDirectory);
    DDX_Text(pDX, IDC_OPTIONS_SCRIPTDIRECTORY, m_strScriptDirectory);
    DDX_Text(pDX, IDC_OPTIONS_MODELSCALE, m_fModelScale);
    DDX_Text(pDX, IDC_OPTIONS_TEXTUREPATH, m_strTexturePath);
}
