#pragma once

#include "platform/mfc/CDialog.h"

// The About box (dialog 100).
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
