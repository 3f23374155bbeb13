#pragma once

#include "platform/mfc/CDialog.h"

// The Edit Parent Script Name dialog (149): the module whose properties a model's script
// builds on, in package notation.
class CParentScriptDlg : public CDialog
{
public:
    explicit CParentScriptDlg(CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    CString m_strParentScript;
};
