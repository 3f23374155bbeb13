#include "platform/mfc/CFrameWnd.h"

#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CCreateContext.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CRecentFileList.h"
#include "platform/mfc/CStatusBar.h"
#include "platform/mfc/CToolBar.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/Resources.h"
#include "platform/mfc/VirtualKey.h"

#include <wx/accel.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include <algorithm>

namespace
{
std::vector<CFrameWnd*>& Frames()
{
    static std::vector<CFrameWnd*> s_kFrames;
    return s_kFrames;
}

// Turns a plain menu item into one that shows a check mark, in its place, keeping its text,
// help and state.
void MakeCheckable(wxMenu* pkMenu, int iToolkitId, bool bChecked)
{
    wxMenu* pkOwner = nullptr;
    wxMenuItem* pkItem = pkMenu->FindItem(iToolkitId, &pkOwner);
    size_t uiPosition = 0;
    if (pkItem == nullptr || pkItem->IsCheckable() ||
        pkOwner->FindChildItem(iToolkitId, &uiPosition) != pkItem)
        return;
    const bool bEnabled = pkItem->IsEnabled();
    auto* pkCheckItem =
        new wxMenuItem(pkOwner, iToolkitId, pkItem->GetItemLabel(), pkItem->GetHelp(), wxITEM_CHECK);
    pkOwner->Destroy(pkItem);
    pkOwner->Insert(uiPosition, pkCheckItem);
    pkCheckItem->Enable(bEnabled);
    pkCheckItem->Check(bChecked);
}

// A menu item or tool button under an update query.
class ToolkitCmdUI : public CCmdUI
{
public:
    ToolkitCmdUI(UINT nID, wxUpdateUIEvent& kEvent) : CCmdUI(nID), m_kEvent(kEvent) {}
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        m_kEvent.Enable(bOn != FALSE);
    }
    void SetCheck(int nCheck) override
    {
        CCmdUI::SetCheck(nCheck);
        auto* pkMenu = dynamic_cast<wxMenu*>(m_kEvent.GetEventObject());
        const wxMenuItem* pkItem = pkMenu != nullptr ? pkMenu->FindItem(m_kEvent.GetId()) : nullptr;
        if (pkMenu == nullptr || (pkItem != nullptr && pkItem->IsCheckable()))
        {
            m_kEvent.Check(nCheck != 0);
            return;
        }
        // The toolkit refuses to check a plain item. One that should show a mark becomes a
        // check item once the menu's update pass is over (the pass walks its items).
        if (pkItem != nullptr && nCheck != 0)
        {
            const int iToolkitId = m_kEvent.GetId();
            pkMenu->CallAfter([pkMenu, iToolkitId] { MakeCheckable(pkMenu, iToolkitId, true); });
        }
    }
    void SetText(const char* pcText) override { m_kEvent.SetText(wxString::FromUTF8(pcText)); }

private:
    wxUpdateUIEvent& m_kEvent;
};

// Menu texts carry their shortcut after a tab. Shortcuts with a modifier are also in the
// accelerator table; a bare letter is only shown (the key itself goes to the view), so it
// must not become a menu accelerator of the toolkit.
wxString MenuLabel(const std::string& kText)
{
    const size_t uiTab = kText.find('\t');
    if (uiTab == std::string::npos)
        return wxString::FromUTF8(kText.c_str());
    const std::string kKey = kText.substr(uiTab + 1);
    if (kKey.find('+') != std::string::npos || kKey.size() > 1)
        return wxString::FromUTF8(kText.c_str());
    return wxString::FromUTF8((kText.substr(0, uiTab) + "    " + kKey).c_str());
}

wxMenu* BuildMenu(const std::vector<mfc::MenuEntry>& kEntries)
{
    auto* pkMenu = new wxMenu;
    for (const mfc::MenuEntry& kEntry : kEntries)
    {
        if (kEntry.IsSeparator())
            pkMenu->AppendSeparator();
        else if (kEntry.IsPopup())
            pkMenu->AppendSubMenu(BuildMenu(kEntry.kPopup), MenuLabel(kEntry.kText));
        else if (kEntry.eMark == mfc::MenuMark::Check)
            pkMenu->AppendCheckItem(CWnd::ToolkitId(kEntry.nID), MenuLabel(kEntry.kText));
        else
            pkMenu->Append(CWnd::ToolkitId(kEntry.nID), MenuLabel(kEntry.kText));
    }
    return pkMenu;
}
} // namespace

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_COMMAND_EX_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
{
    Frames().push_back(this);
}

CFrameWnd::~CFrameWnd()
{
    std::erase(Frames(), this);
}

const std::vector<CFrameWnd*>& CFrameWnd::GetAllFrames()
{
    return Frames();
}

wxFrame* CFrameWnd::GetToolkitFrame() const
{
    return dynamic_cast<wxFrame*>(m_pkWindow);
}

wxMenuBar* CFrameWnd::GetMenuBar() const
{
    wxFrame* pkFrame = GetToolkitFrame();
    return pkFrame != nullptr ? pkFrame->GetMenuBar() : nullptr;
}

wxFrame* CFrameWnd::CreateToolkitFrame(CWnd* pParentWnd)
{
    wxWindow* pkParent = pParentWnd != nullptr ? pParentWnd->GetToolkitWindow() : nullptr;
    return new wxFrame(pkParent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(900, 700));
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    m_dwStyle = dwDefaultStyle;
    std::string kTitle;
    if (!mfc::Resources::FindString(nIDResource, kTitle) || kTitle.empty())
    {
        CWinApp* pkApp = AfxGetApp();
        kTitle = pkApp != nullptr && pkApp->m_pszAppName != nullptr ? pkApp->m_pszAppName : "";
    }
    m_strTitle = CString(kTitle);
    wxFrame* pkFrame = CreateToolkitFrame(pParentWnd);
    if (pkFrame == nullptr)
        return FALSE;
    Attach(pkFrame);
    pkFrame->SetTitle(wxString::FromUTF8(kTitle.c_str()));
    BuildMenuAndAccelerators();
    BindCommands();
    CREATESTRUCT kCreate{dwDefaultStyle};
    m_pCreateContext = pContext;
    const int iResult = OnCreate(&kCreate);
    m_pCreateContext = nullptr;
    if (iResult == -1)
    {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CFrameWnd::BuildMenuAndAccelerators()
{
    wxFrame* pkFrame = GetToolkitFrame();
    if (const mfc::MenuResource* pkMenu = mfc::Resources::FindMenu(m_nIDResource))
    {
        auto* pkBar = new wxMenuBar;
        for (const mfc::MenuEntry& kEntry : pkMenu->kBar)
            pkBar->Append(BuildMenu(kEntry.kPopup), MenuLabel(kEntry.kText));
        pkFrame->SetMenuBar(pkBar);
        // A frame made after the recent files were read (the main frame at start-up) lists them too.
        if (CWinApp* pkApp = AfxGetApp(); pkApp != nullptr && pkApp->GetRecentFileList() != nullptr)
            pkApp->GetRecentFileList()->UpdateMenuBar(pkBar);
    }
    if (const mfc::AcceleratorResource* pkTable = mfc::Resources::FindAccelerators(m_nIDResource))
    {
        std::vector<wxAcceleratorEntry> kEntries;
        for (const mfc::AcceleratorEntry& kEntry : pkTable->kEntries)
        {
            int iFlags = wxACCEL_NORMAL;
            if (kEntry.fVirt & mfc::FCONTROL)
                iFlags |= wxACCEL_CTRL;
            if (kEntry.fVirt & mfc::FSHIFT)
                iFlags |= wxACCEL_SHIFT;
            if (kEntry.fVirt & mfc::FALT)
                iFlags |= wxACCEL_ALT;
            const int iKey = mfc::ToolkitKeyFromVirtualKey(kEntry.key);
            if (iKey != 0)
                kEntries.emplace_back(iFlags, iKey, ToolkitId(kEntry.cmd));
        }
        pkFrame->SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(kEntries.size()), kEntries.data()));
    }
}

void CFrameWnd::BindCommands()
{
    wxFrame* pkFrame = GetToolkitFrame();
    // Menus, tool buttons and accelerators all arrive as menu events; they stop here.
    pkFrame->Bind(wxEVT_MENU, [this](wxCommandEvent& kEvent) { RouteCommand(ResourceId(kEvent.GetId())); });
    pkFrame->Bind(wxEVT_UPDATE_UI,
                  [this](wxUpdateUIEvent& kEvent)
                  {
                      // Only menu items and tool buttons ask the route; controls keep their own state.
                      wxObject* pkFrom = kEvent.GetEventObject();
                      if (dynamic_cast<wxMenu*>(pkFrom) == nullptr &&
                          dynamic_cast<wxToolBar*>(pkFrom) == nullptr)
                      {
                          kEvent.Skip();
                          return;
                      }
                      ToolkitCmdUI kCmdUI(ResourceId(kEvent.GetId()), kEvent);
                      UpdateCommandUI(kCmdUI);
                  });
}

CFrameWnd* CFrameWnd::GetRouteTop()
{
    auto* pkMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return pkMain != nullptr ? pkMain : this;
}

BOOL CFrameWnd::RouteCommand(UINT nID)
{
    CFrameWnd* pkTop = GetRouteTop();
    // A command whose items are disabled does not run from an accelerator either.
    CCmdUI kQuery(nID);
    kQuery.DoUpdate(pkTop, pkTop->m_bAutoMenuEnable);
    if (kQuery.m_bEnableChanged && !kQuery.m_bEnabled)
        return FALSE;
    return pkTop->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);
}

void CFrameWnd::UpdateCommandUI(CCmdUI& kCmdUI)
{
    CFrameWnd* pkTop = GetRouteTop();
    kCmdUI.DoUpdate(pkTop, pkTop->m_bAutoMenuEnable);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo))
        return TRUE;
    CWinApp* pkApp = AfxGetApp();
    return pkApp != nullptr && pkApp->OnCmdMsg(nID, nCode, pExtra, pInfo);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!OnCreateClient(lpCreateStruct, m_pCreateContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return TRUE;
    auto* pkView = dynamic_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
    if (pkView == nullptr)
        return FALSE;
    if (!pkView->Create(m_pkWindow, static_cast<int>(AFX_IDW_PANE_FIRST), pContext))
    {
        delete pkView;
        return FALSE;
    }
    auto* pkSizer = new wxBoxSizer(wxVERTICAL);
    pkSizer->Add(pkView->GetToolkitWindow(), 1, wxEXPAND);
    m_pkWindow->SetSizer(pkSizer);
    return TRUE;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    m_pViewActive = pViewNew;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (m_pkWindow == nullptr)
        return;
    m_pkWindow->Show(nCmdShow != SW_HIDE);
    m_pkWindow->Raise();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pkFirst = nullptr;
    if (pDoc != nullptr)
    {
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;)
        {
            CView* pkView = pDoc->GetNextView(pos);
            if (pkView->GetParentFrame() != this)
                continue;
            if (pkFirst == nullptr || pkView->GetDlgCtrlID() == static_cast<int>(AFX_IDW_PANE_FIRST))
                if (pkFirst == nullptr || pkFirst->GetDlgCtrlID() != static_cast<int>(AFX_IDW_PANE_FIRST))
                    pkFirst = pkView;
        }
        if (pkFirst != nullptr)
            SetActiveView(pkFirst, FALSE);
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;)
        {
            CView* pkView = pDoc->GetNextView(pos);
            if (pkView->GetParentFrame() == this)
                pkView->OnInitialUpdate();
        }
    }
    if (bMakeVisible)
        ActivateFrame();
    OnUpdateFrameTitle(TRUE);
    if (auto* pkMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()); pkMain != nullptr && pkMain != this)
        pkMain->OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (m_pkWindow == nullptr)
        return;
    std::string kTitle = m_strTitle.Str();
    CDocument* pkDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwStyle & FWS_ADDTOTITLE) && pkDoc != nullptr)
        kTitle += " - " + pkDoc->GetTitle().Str();
    m_pkWindow->SetLabel(wxString::FromUTF8(kTitle.c_str()));
}

void CFrameWnd::SetMessageText(const char* pcText)
{
    if (m_pStatusBar != nullptr)
        m_pStatusBar->SetPaneText(0, pcText);
}

void CFrameWnd::OnClose()
{
    if (AfxGetMainWnd() == this)
    {
        if (CWinApp* pkApp = AfxGetApp())
            pkApp->CloseAllDocuments(FALSE);
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    CWinApp* pkApp = AfxGetApp();
    if (pkApp != nullptr && pkApp->m_pMainWnd == this)
        pkApp->MainWindowDestroyed();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

CWnd* CFrameWnd::GetControlBar(UINT nID) const
{
    if (nID == ID_VIEW_TOOLBAR)
        return m_pToolBar;
    if (nID == ID_VIEW_STATUS_BAR)
        return m_pStatusBar;
    return nullptr;
}

// A frame without the bar (a document frame) leaves the command to the next frame on the
// route, the main frame that has it.
BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CWnd* pkBar = GetControlBar(nID);
    wxWindow* pkWindow = pkBar != nullptr ? pkBar->GetToolkitWindow() : nullptr;
    if (pkWindow == nullptr)
        return FALSE;
    pkWindow->Show(!pkWindow->IsShown());
    if (auto* pkFrame = GetToolkitFrame())
        pkFrame->SendSizeEvent();
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CWnd* pkBar = GetControlBar(pCmdUI->m_nID);
    if (pkBar == nullptr || pkBar->GetToolkitWindow() == nullptr)
    {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(pkBar->GetToolkitWindow()->IsShown() ? 1 : 0);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (m_pStatusBar != nullptr)
        m_pStatusBar->UpdateIndicators();
}
