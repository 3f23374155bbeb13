#pragma once

#include "platform/mfc/Afx.h"

class CCmdTarget;

// One user-interface item (menu item, tool button, status pane) asking whether its command
// is enabled or checked. The toolkit side derives from it to apply the answer.
class CCmdUI
{
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}
    virtual ~CCmdUI();

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const char* pcText);
    // The handler leaves the item to the next target on the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's route for an update handler; when there is none and no command
    // handler either, the item is disabled (when bDisableIfNoHandler).
    BOOL DoUpdate(CCmdTarget* pkTarget, BOOL bDisableIfNoHandler);

    UINT m_nID;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    // What the handlers last asked for (the base class only records it).
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
};
