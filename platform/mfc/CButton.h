#pragma once

#include "platform/mfc/CWnd.h"

// A push button, check box or radio button control.
class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)

public:
    CButton() = default;
};
