#pragma once

#include "platform/mfc/CWnd.h"

// A drop-down list control: its items in the order added, and the selected one.
class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)

public:
    CComboBox() = default;

    // The new item's index; CB_ERR without a control.
    int AddString(const char* pcText);
    void ResetContent();
    int GetCount() const;
    // CB_ERR when nothing is selected.
    int GetCurSel() const;
    // -1 (or any index past the items) selects nothing; CB_ERR then.
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, CString& kText) const;
};

constexpr int CB_ERR = -1;
