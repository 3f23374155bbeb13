#pragma once

#include "platform/mfc/CWnd.h"

constexpr int LB_ERR = -1;

// A list box control: texts with a pointer-sized value each, one selected at most. A list
// made sorted keeps its texts in order; a value stays with its text.
class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)

public:
    CListBox() = default;

    // The new entry's index; LB_ERR without a control.
    int AddString(const char* pcText);
    // Index of the entry now after it; LB_ERR for a bad index.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    // LB_ERR when nothing is selected.
    int GetCurSel() const;
    // -1 clears the selection. No notification is sent.
    int SetCurSel(int nSelect);
    int GetText(int nIndex, CString& kText) const;
    // LB_ERR for a bad index.
    int SetItemData(int nIndex, uintptr_t dwItemData);
    // 0 for a bad index (and for an entry that has no value).
    uintptr_t GetItemData(int nIndex) const;
};
