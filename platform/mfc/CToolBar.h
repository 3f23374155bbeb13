#pragma once

#include "platform/mfc/CWnd.h"

// The frame's tool bar, loaded from a tool-bar resource; its buttons send their commands
// through the frame, show the command's short help as a tip and follow update handlers.
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

protected:
    bool WantsKeys() const override { return false; }
};
