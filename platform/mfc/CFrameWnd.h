#pragma once

#include "platform/mfc/CWnd.h"

#include <vector>

class wxFrame;
class wxMenuBar;
class CView;
class CDocument;
class CStatusBar;
class CToolBar;
struct CCreateContext;

// A frame window: menu, accelerators, title, tool bar and status bar from the resources of
// one id; commands from them go to the active view, the frame, then the application.
class CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource nIDResource (menu, accelerators, title string) and
    // runs OnCreate; FALSE (the window destroyed) when that fails.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view has the user's attention: itself here, the active child in MDI.
    virtual CFrameWnd* GetActiveFrame();
    virtual void ActivateFrame(int nCmdShow = -1);
    // Runs every view's OnInitialUpdate, makes the first pane active, shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // The title: the application title, with " - " and the active document's title when
    // the frame shows one (FWS_ADDTOTITLE).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void SetMessageText(const char* pcText);

    CStatusBar* GetStatusBar() const { return m_pStatusBar; }
    CToolBar* GetToolBar() const { return m_pToolBar; }
    void SetStatusBar(CStatusBar* pkBar) { m_pStatusBar = pkBar; }
    void SetToolBar(CToolBar* pkBar) { m_pToolBar = pkBar; }
    wxFrame* GetToolkitFrame() const;
    // The menu the frame shows (resource id), and its toolkit menu bar.
    UINT GetMenuId() const { return m_nIDResource; }
    wxMenuBar* GetMenuBar() const;

    // Every frame that is open, in creation order.
    static const std::vector<CFrameWnd*>& GetAllFrames();

    // Runs a command from this frame's menu, tool bar or accelerators through the route.
    BOOL RouteCommand(UINT nID);
    // Asks the route about one item; the answer is applied to the item by the caller.
    void UpdateCommandUI(CCmdUI& kCmdUI);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;

    // Frames without a handler for a command disable its menu item.
    BOOL m_bAutoMenuEnable = TRUE;

    // The idle-time refresh of the status bar's lock indicators.
    void OnIdleUpdateCmdUI();

protected:
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Makes the toolkit frame; MDI frames make their own kinds.
    virtual wxFrame* CreateToolkitFrame(CWnd* pParentWnd);
    // The top of the command route for this frame's menus: the MDI main frame when there is one.
    virtual CFrameWnd* GetRouteTop();
    bool WantsKeys() const override { return false; }

    // The tool bar or status bar that a View command shows and hides; null when the frame has none.
    CWnd* GetControlBar(UINT nID) const;
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    CString m_strTitle;
    CCreateContext* m_pCreateContext = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    void BuildMenuAndAccelerators();
    void BindCommands();

    CStatusBar* m_pStatusBar = nullptr;
    CToolBar* m_pToolBar = nullptr;
};
