#include "platform/mfc/CMDIFrameWnd.h"

#include "platform/mfc/CMDIChildWnd.h"

#include <algorithm>

#include <wx/display.h>
#include <wx/mdi.h>
#include <wx/menu.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace
{
// The primary display's area that panels leave free.
wxRect WorkArea()
{
    return wxDisplay().GetClientArea();
}

class MDIParentFrame : public wxMDIParentFrame
{
public:
    explicit MDIParentFrame(const wxSize& kSize)
        : wxMDIParentFrame(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition, kSize), m_kWanted(kSize)
    {
    }

    // At the idle time after a child came, the toolkit brings the newest child forward and
    // attaches its menu bar. When that child was destroyed first (its document failed to
    // open), the active child is an older one whose menu bar is attached and showing already:
    // attaching it again asserts, so that step is left out.
    void OnInternalIdle() override
    {
        KeepOnScreen();
        if (m_justInserted)
            if (wxMDIChildFrame* pkChild = GetActiveChild())
                if (wxMenuBar* pkBar = pkChild->GetMenuBar(); pkBar != nullptr && pkBar->IsAttached())
                    m_justInserted = false;
        wxMDIParentFrame::OnInternalIdle();
    }

private:
    // A window manager may place the frame while it is still small, when it is mapped, and it
    // then grows from there past the screen's edge. The first time it is on the screen at its
    // full size, a frame that reaches out of the work area is centred in it; one that is
    // wholly inside stays where it was put, and after that check it stays wherever the user
    // puts it.
    void KeepOnScreen()
    {
        if (m_bPlaced || !IsMapped() || IsMaximized() || IsIconized() || GetSize() != m_kWanted)
            return;
        m_bPlaced = true;
        const wxRect kArea = WorkArea();
        const wxRect kFrame = GetScreenRect();
        if (!kArea.Contains(kFrame))
            Move(kArea.x + std::max(0, kArea.width - kFrame.width) / 2,
                 kArea.y + std::max(0, kArea.height - kFrame.height) / 2);
    }

    bool IsMapped() const
    {
#ifdef __WXGTK__
        return GetHandle() != nullptr && gtk_widget_get_mapped(GetHandle());
#else
        return IsShownOnScreen();
#endif
    }

    wxSize m_kWanted;
    bool m_bPlaced = false;
};
} // namespace

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)

wxFrame* CMDIFrameWnd::CreateToolkitFrame(CWnd*)
{
    const wxRect kArea = WorkArea();
    return new MDIParentFrame(wxSize(std::min(1100, kArea.width), std::min(800, kArea.height)));
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
