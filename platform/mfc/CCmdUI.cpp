#include "platform/mfc/CCmdUI.h"

#include "platform/mfc/CCmdTarget.h"

CCmdUI::~CCmdUI() = default;

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
}

void CCmdUI::SetText(const char*) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* pkTarget, BOOL bDisableIfNoHandler)
{
    if (pkTarget == nullptr)
        return FALSE;
    m_bEnableChanged = FALSE;
    const BOOL bHandled = pkTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO kInfo;
        Enable(pkTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &kInfo));
    }
    return bHandled;
}
