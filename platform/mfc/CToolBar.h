#pragma once

#include "platform/mfc/CWnd.h"
#include "platform/mfc/Resources.h"

#include <vector>

// The frame's tool bar, loaded from a tool-bar resource and its pictures from the bitmap of the
// same id; its buttons send their commands through the frame, show the command's short help as
// a tip and follow update handlers. A check-group button stays down when pressed and lets the
// others of its group up, so one of them at a time shows as chosen.
class CToolBar : public CWnd
{
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar() = default;

    // Docking, grippers and fly-by styles have no meaning here; the bar sits at the top.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE);
    BOOL LoadToolBar(UINT nIDResource);
    void EnableDocking(DWORD) {}
    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    // The button's kind from the resource (TBBS_BUTTON, TBBS_CHECKBOX or TBBS_CHECKGROUP).
    UINT GetButtonStyle(int nIndex) const;
    // Puts a check or check-group button down or up; one of a group going down lets the
    // others of its group up. FALSE when no such button is on the bar.
    BOOL CheckButton(UINT nID, BOOL bCheck = TRUE);
    BOOL IsButtonChecked(UINT nID) const;

protected:
    bool WantsKeys() const override { return false; }

private:
    // The kind of each item in bar order (TBBS_BUTTON for separators too), and their commands.
    std::vector<UINT> m_kStyles;
    std::vector<UINT> m_kCommands;
};
