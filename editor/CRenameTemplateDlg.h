#pragma once

#include "platform/mfc/CDialog.h"

// Asks for a template's name (at most 60 characters; empty is accepted).
class CRenameTemplateDlg : public CDialog
{
    DECLARE_DYNAMIC(CRenameTemplateDlg)

public:
    CRenameTemplateDlg();

    void DoDataExchange(CDataExchange* pDX) override;

    CString m_kName;
};
