#include "platform/mfc/CMDIChildWnd.h"

#include "platform/mfc/CDocument.h"
#include "platform/mfc/CMDIFrameWnd.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"

#include <wx/app.h>
#include <wx/mdi.h>

IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

wxFrame* CMDIChildWnd::CreateToolkitFrame(CWnd* pParentWnd)
{
    auto* pkMain = dynamic_cast<CMDIFrameWnd*>(pParentWnd != nullptr ? pParentWnd : AfxGetMainWnd());
    auto* pkParent =
        pkMain != nullptr ? dynamic_cast<wxMDIParentFrame*>(pkMain->GetToolkitWindow()) : nullptr;
    if (pkParent == nullptr)
        return nullptr;
    auto* pkChild = new wxMDIChildFrame(pkParent, wxID_ANY, wxEmptyString);
    // The main frame's title follows the active document. The toolkit tells a tab that it
    // comes forward before its page is the current one, so the title is set once the switch
    // is done; set at once, it would name the tab that was left.
    pkChild->Bind(wxEVT_ACTIVATE,
                  [](wxActivateEvent& kEvent)
                  {
                      kEvent.Skip();
                      if (!kEvent.GetActive() || wxTheApp == nullptr)
                          return;
                      wxTheApp->CallAfter(
                          []
                          {
                              if (auto* pkMainWnd = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
                                  pkMainWnd->OnUpdateFrameTitle(TRUE);
                          });
                  });
    return pkChild;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    return dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
}

void CMDIChildWnd::MDIActivate()
{
    if (auto* pkChild = dynamic_cast<wxMDIChildFrame*>(m_pkWindow))
        pkChild->Activate();
    if (auto* pkMain = GetMDIFrame())
        pkMain->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CFrameWnd::ActivateFrame(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL)
{
    CDocument* pkDoc = GetActiveDocument();
    if (m_pkWindow != nullptr && pkDoc != nullptr)
        m_pkWindow->SetLabel(wxString::FromUTF8(pkDoc->GetTitle()));
}

void CMDIChildWnd::OnClose()
{
    CDocument* pkDoc = GetActiveDocument();
    if (pkDoc != nullptr && pkDoc->IsLastFrame(this))
    {
        pkDoc->OnCloseDocument();
        return;
    }
    DestroyWindow();
}

void CMDIChildWnd::PostNcDestroy()
{
    CMDIFrameWnd* pkMain = GetMDIFrame();
    CFrameWnd::PostNcDestroy();
    if (pkMain != nullptr)
        pkMain->OnUpdateFrameTitle(TRUE);
}
