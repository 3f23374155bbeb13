#include "platform/mfc/CView.h"

#include "platform/mfc/CCreateContext.h"
#include "platform/mfc/CDC.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CFrameWnd.h"

#include <wx/dcbuffer.h>
#include <wx/window.h>

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

wxWindow* CView::CreateToolkitWindow(wxWindow* pkParent, int nID)
{
    auto* pkWindow = new wxWindow(pkParent, nID, wxDefaultPosition, wxDefaultSize,
                                  wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE | wxBORDER_SUNKEN);
    pkWindow->SetBackgroundStyle(wxBG_STYLE_PAINT);
    pkWindow->Bind(wxEVT_PAINT,
                   [pkWindow](wxPaintEvent&)
                   {
                       wxAutoBufferedPaintDC kDC(pkWindow);
                       kDC.SetBackground(*wxWHITE_BRUSH);
                       kDC.Clear();
                       if (auto* pkView = dynamic_cast<CView*>(CWnd::FromToolkit(pkWindow)))
                       {
                           CDC kCDC(&kDC);
                           pkView->OnDraw(&kCDC);
                       }
                   });
    return pkWindow;
}

BOOL CView::Create(wxWindow* pkParent, int nID, CCreateContext* pContext)
{
    wxWindow* pkWindow = CreateToolkitWindow(pkParent, ToolkitId(static_cast<UINT>(nID)));
    if (pkWindow == nullptr)
        return FALSE;
    Attach(pkWindow);
    // A click in the view makes it the active one and gives it the keyboard.
    auto activate = [pkWindow](wxMouseEvent& kEvent)
    {
        kEvent.Skip();
        if (auto* pkView = dynamic_cast<CView*>(CWnd::FromToolkit(pkWindow)))
            pkView->Activate();
        pkWindow->SetFocus();
    };
    pkWindow->Bind(wxEVT_LEFT_DOWN, activate);
    pkWindow->Bind(wxEVT_RIGHT_DOWN, activate);
    pkWindow->Bind(wxEVT_MIDDLE_DOWN, activate);
    m_dwStyle = WS_CHILD | WS_VISIBLE;
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(this);
    return TRUE;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnDraw(CDC*) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pInfo);
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::Activate()
{
    if (CFrameWnd* pkFrame = GetParentFrame())
        pkFrame->SetActiveView(this);
}
