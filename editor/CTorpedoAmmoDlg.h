#pragma once

#include "platform/mfc/CDialog.h"

// The modal dialog of one torpedo ammo type: its maximum count and its torpedo script.
class CTorpedoAmmoDlg : public CDialog
{
    DECLARE_DYNAMIC(CTorpedoAmmoDlg)

public:
    CTorpedoAmmoDlg();

    void DoDataExchange(CDataExchange* pDX) override;

    int m_iMaxAmmo = 0;
    CString m_strScript;
};
