#pragma once

#include "platform/mfc/CDialog.h"

// The Options dialog (148): the folders the file dialogs start in, the model scale and the
// texture folders of newly opened models.
class COptionsDlg : public CDialog
{
public:
    explicit COptionsDlg(CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    CString m_strModelDirectory;
    CString m_strScriptDirectory;
    float m_fModelScale = 0.0f;
    CString m_strTexturePath;
};
