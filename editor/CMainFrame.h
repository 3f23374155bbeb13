#pragma once

#include "platform/mfc/CMDIFrameWnd.h"
#include "platform/mfc/CStatusBar.h"
#include "platform/mfc/CToolBar.h"

// The editor's main frame: tool bar, the status bar with the pick point, pick normal and tool
// mode panes, and the options that hold for every open model.
class CMainFrame : public CMDIFrameWnd
{
    DECLARE_DYNAMIC(CMainFrame)

public:
    CMainFrame() = default;

    void SetModeText(const char* pcText);
    // Shows the tool button of the camera tool command as the one chosen (none stays down for
    // a tool without a button).
    void ShowChosenTool(UINT nToolCommand);
    void SetPickPointText(const CString& kText);
    // Shown as "Normal: " followed by the text.
    void SetPickNormalText(const CString& kText);
    // Sets the flag and re-applies every open model's selection with it.
    void SetWireframePick(bool bOn);

    CStatusBar& GetStatusBarPanes() { return m_wndStatusBar; }

    bool m_bSelectedPropertyOnly = true;
    bool m_bWireframePick = false;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;

    void OnShowSelectedPropertyOnly();
    void OnUpdateShowSelectedPropertyOnly(CCmdUI* pCmdUI);
    void OnWireframePick();
    void OnUpdateWireframePick(CCmdUI* pCmdUI);
    void OnOptions();
    void OnShowTemplateList();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    DECLARE_MESSAGE_MAP()
};
