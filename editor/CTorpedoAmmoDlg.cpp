#include "editor/CTorpedoAmmoDlg.h"

#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"

IMPLEMENT_DYNAMIC(CTorpedoAmmoDlg, CDialog)

CTorpedoAmmoDlg::CTorpedoAmmoDlg() : CDialog(IDD_TORPEDO_AMMO) {}

void CTorpedoAmmoDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_MAX_AMMO, m_iMaxAmmo);
    DDX_Text(pDX, IDC_TORPEDO_SCRIPT, m_strScript);
}
