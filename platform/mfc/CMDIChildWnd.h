#pragma once

#include "platform/mfc/CFrameWnd.h"

class CMDIFrameWnd;

// The frame of one document inside the main frame. Its menu replaces the main frame's while
// it is active; closing it closes its document when it is that document's last frame.
class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIChildWnd)

public:
    CMDIChildWnd() = default;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnClose() override;
    void PostNcDestroy() override;

protected:
    wxFrame* CreateToolkitFrame(CWnd* pParentWnd) override;
};
