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
    // A scale of 0 makes every model vanish, a negative one turns Pan and Zoom round.
    if (pDX->m_bSaveAndValidate && !(m_fModelScale > 0.0f))
    {
        if (!pDX->m_bQuiet)
            AfxMessageBox("Please enter a model scale greater than 0.", MB_OK | MB_ICONWARNING);
        pDX->Fail();
    }
    DDX_Text(pDX, IDC_OPTIONS_TEXTUREPATH, m_strTexturePath);
}
