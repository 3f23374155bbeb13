#pragma once

#include "platform/mfc/CWnd.h"

#include <vector>

// The frame's status bar: a message pane and panes named by indicator ids, each showing the
// string of its id at first (and sized by it). The lock indicators show their text only
// while their lock is on.
class CStatusBar : public CWnd
{
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar() = default;

    BOOL Create(CWnd* pParentWnd);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, const char* pcText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_kIDs.size()); }
    UINT GetItemID(int nIndex) const { return m_kIDs[static_cast<size_t>(nIndex)]; }

    // Refreshes the lock indicators from the keyboard.
    void UpdateIndicators();

protected:
    bool WantsKeys() const override { return false; }

private:
    std::vector<UINT> m_kIDs;
};
