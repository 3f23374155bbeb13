#include "platform/mfc/CView.h"

#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CCreateContext.h"
#include "platform/mfc/CDC.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CSplitterWnd.h"
#include "platform/mfc/X11FramePresenter.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/window.h>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_COMMAND_EX_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnNextPaneCmd)
ON_UPDATE_COMMAND_UI_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

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
                       auto* pkView = dynamic_cast<CView*>(CWnd::FromToolkit(pkWindow));
                       CDC kCDC(&kDC);
                       if (pkView == nullptr)
                       {
                           kDC.SetBackground(*wxWHITE_BRUSH);
                           kDC.Clear();
                           return;
                       }
                       const bool bDirect = pkView->PresentsDirectly();
                       pkView->OnEraseBkgnd(&kCDC);
                       pkView->m_pkPaintDC = &kDC;
                       pkView->OnDraw(&kCDC);
                       // The view may have gone with its window while it drew.
                       auto* pkStill = dynamic_cast<CView*>(CWnd::FromToolkit(pkWindow));
                       if (pkStill == nullptr)
                           return;
                       pkStill->m_pkPaintDC = nullptr;
                       // The first frame put straight into the window came inside a buffered
                       // paint that covers it when it ends: paint once more.
                       if (!bDirect && pkStill->PresentsDirectly())
                           pkWindow->Refresh(false);
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

BOOL CView::OnEraseBkgnd(CDC* pDC)
{
    wxDC* pkDC = pDC != nullptr ? pDC->GetToolkitDC() : nullptr;
    if (pkDC == nullptr)
        return FALSE;
    pkDC->SetBackground(*wxWHITE_BRUSH);
    pkDC->Clear();
    return TRUE;
}

uint32_t* CView::LendFrameBuffer(int32_t iWidth, int32_t iHeight)
{
    if (m_pkWindow == nullptr)
    {
        // The window is gone: so is what showed frames in it.
        m_pkPresenter.reset();
        return CWnd::LendFrameBuffer(iWidth, iHeight);
    }
    // Asked once, when the first frame comes: only views that show frames change their window.
    if (!m_bPresenterTried && m_pkWindow->IsShownOnScreen())
    {
        m_bPresenterTried = true;
        m_pkPresenter = X11FramePresenter::Create(m_pkWindow);
    }
    if (m_pkPresenter)
    {
        if (uint32_t* puiBuffer = m_pkPresenter->Buffer(iWidth, iHeight))
            return puiBuffer;
        // Shared memory refused (the server's or the system's limits): paint as elsewhere.
        m_pkPresenter.reset();
    }
    return CWnd::LendFrameBuffer(iWidth, iHeight);
}

void CView::ShowFrame(int32_t iWidth, int32_t iHeight)
{
    // Lending keeps a presenter only when the frame went into its memory.
    if (m_pkPresenter)
        m_pkPresenter->Show();
    else
        CWnd::ShowFrame(iWidth, iHeight);
}

void CView::ReceiveFrame(const uint32_t* puiPixels, int32_t iWidth, int32_t iHeight)
{
    if (m_pkWindow == nullptr || puiPixels == nullptr || iWidth <= 0 || iHeight <= 0)
        return;
    wxImage kImage(iWidth, iHeight, false);
    unsigned char* pucRGB = kImage.GetData();
    const size_t uiPixels = static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight);
    for (size_t i = 0; i < uiPixels; ++i)
    {
        const uint32_t uiPixel = puiPixels[i];
        *pucRGB++ = static_cast<unsigned char>(uiPixel >> 16);
        *pucRGB++ = static_cast<unsigned char>(uiPixel >> 8);
        *pucRGB++ = static_cast<unsigned char>(uiPixel);
    }
    const wxBitmap kBitmap(kImage);
    if (m_pkPaintDC != nullptr)
    {
        m_pkPaintDC->DrawBitmap(kBitmap, 0, 0);
        return;
    }
    wxClientDC kDC(m_pkWindow);
    kDC.DrawBitmap(kBitmap, 0, 0);
}

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

CSplitterWnd* CView::GetParentSplitter() const
{
    // Only the outermost of a splitter's toolkit windows is attached to it; the search ends
    // at the view's frame.
    for (wxWindow* pkWindow = m_pkWindow != nullptr ? m_pkWindow->GetParent() : nullptr;
         pkWindow != nullptr && !pkWindow->IsTopLevel(); pkWindow = pkWindow->GetParent())
    {
        CWnd* pkWnd = CWnd::FromToolkit(pkWindow);
        if (auto* pkSplitter = dynamic_cast<CSplitterWnd*>(pkWnd))
            return pkSplitter;
        if (dynamic_cast<CFrameWnd*>(pkWnd) != nullptr)
            break;
    }
    return nullptr;
}

BOOL CView::OnNextPaneCmd(UINT nID)
{
    CSplitterWnd* pkSplitter = GetParentSplitter();
    if (pkSplitter == nullptr)
        return FALSE;
    pkSplitter->ActivateNext(nID == ID_PREV_PANE);
    return TRUE;
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI)
{
    CSplitterWnd* pkSplitter = GetParentSplitter();
    pCmdUI->Enable(pkSplitter != nullptr && pkSplitter->CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE));
}
