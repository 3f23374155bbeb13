#include "platform/mfc/CMDIFrameWnd.h"

#include "platform/mfc/CMDIChildWnd.h"

#include <wx/mdi.h>

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)

wxFrame* CMDIFrameWnd::CreateToolkitFrame(CWnd*)
{
    auto* pkFrame =
        new wxMDIParentFrame(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(1100, 800));
    return pkFrame;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const
{
    auto* pkFrame = dynamic_cast<wxMDIParentFrame*>(m_pkWindow);
    if (pkFrame == nullptr)
        return nullptr;
    return dynamic_cast<CMDIChildWnd*>(FromToolkit(pkFrame->GetActiveChild()));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    if (auto* pkChild = dynamic_cast<CMDIChildWnd*>(pWndActivate))
        pkChild->MDIActivate();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pkChild = MDIGetActive();
    return pkChild != nullptr ? static_cast<CFrameWnd*>(pkChild) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* pkChild = MDIGetActive();
    return pkChild != nullptr ? pkChild->GetActiveDocument() : nullptr;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo)
{
    if (CMDIChildWnd* pkChild = MDIGetActive();
        pkChild != nullptr && pkChild->OnCmdMsg(nID, nCode, pExtra, pInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
}
