#include "platform/mfc/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
