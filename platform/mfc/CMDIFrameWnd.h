#pragma once

#include "platform/mfc/CFrameWnd.h"

class CMDIChildWnd;

// The main frame of a multiple-document application: its children are the document frames,
// one of which is active; commands go to the active child's route first.
class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIFrameWnd)

public:
    CMDIFrameWnd() = default;

    CMDIChildWnd* MDIGetActive() const;
    void MDIActivate(CWnd* pWndActivate);
    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override;
    void EnableDocking(DWORD) {}

protected:
    wxFrame* CreateToolkitFrame(CWnd* pParentWnd) override;
};
