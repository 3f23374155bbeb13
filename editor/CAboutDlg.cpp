#include "editor/CAboutDlg.h"

#include "editor/resources/Resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
