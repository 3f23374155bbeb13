#include "platform/mfc/CWnd.h"

#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/ModalService.h"
#include "platform/mfc/VirtualKey.h"

#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <algorithm>
#include <unordered_map>

namespace
{
std::unordered_map<wxWindow*, CWnd*>& GetAttached()
{
    static std::unordered_map<wxWindow*, CWnd*> s_kAttached;
    return s_kAttached;
}

CWnd* s_pkCapture = nullptr;
// The toolkit window that holds the mouse grab for s_pkCapture (its own window, or the nearest
// window around it that can hold one) and the top-level window whose deactivation ends it.
wxWindow* s_pkCaptureHolder = nullptr;
wxWindow* s_pkCaptureTop = nullptr;
bool s_bForwarding = false;

UINT MouseFlags(const wxMouseState& kState)
{
    UINT nFlags = 0;
    if (kState.LeftIsDown())
        nFlags |= MK_LBUTTON;
    if (kState.RightIsDown())
        nFlags |= MK_RBUTTON;
    if (kState.MiddleIsDown())
        nFlags |= MK_MBUTTON;
    if (kState.ShiftDown())
        nFlags |= MK_SHIFT;
    if (kState.ControlDown())
        nFlags |= MK_CONTROL;
    return nFlags;
}

// The window that takes the toolkit's mouse grab for a capture of this one. GTK grabs the
// pointer for a drawing window: a native control (a push button) has none of its own and
// draws into its parent's, so a grab for it sends every later press, move and release to
// the parent, where the control never sees the release that would end the grab. The nearest
// window with a drawing window of its own holds the grab and hands its events on.
wxWindow* GrabHolder(wxWindow* pkWindow)
{
#ifdef __WXGTK__
    wxWindow* pkHolder = pkWindow;
    while (pkHolder->IsOfStandardClass() && !pkHolder->IsTopLevel() && pkHolder->GetParent() != nullptr)
        pkHolder = pkHolder->GetParent();
    return pkHolder;
#else
    return pkWindow;
#endif
}

using MouseHandler = void (CWnd::*)(UINT, CPoint);

// The holder's mouse events, as the capturing window's, in its own client coordinates.
void ForwardToCapture(wxMouseEvent& kEvent, MouseHandler pfnHandler)
{
    CWnd* pkWnd = s_pkCapture;
    wxWindow* pkTarget = pkWnd != nullptr ? pkWnd->GetToolkitWindow() : nullptr;
    if (pkTarget == nullptr || s_pkCaptureHolder == nullptr)
        return;
    const wxPoint kPoint = pkTarget->ScreenToClient(s_pkCaptureHolder->ClientToScreen(kEvent.GetPosition()));
    (pkWnd->*pfnHandler)(MouseFlags(kEvent), CPoint{kPoint.x, kPoint.y});
}

template <MouseHandler PFN> void ForwardMouse(wxMouseEvent& kEvent)
{
    ForwardToCapture(kEvent, PFN);
}

constexpr std::pair<const wxEventTypeTag<wxMouseEvent>*, void (*)(wxMouseEvent&)> FORWARDED[] = {
    {&wxEVT_MOTION, &ForwardMouse<&CWnd::OnMouseMove>},
    {&wxEVT_LEFT_DOWN, &ForwardMouse<&CWnd::OnLButtonDown>},
    {&wxEVT_LEFT_UP, &ForwardMouse<&CWnd::OnLButtonUp>},
    {&wxEVT_LEFT_DCLICK, &ForwardMouse<&CWnd::OnLButtonDblClk>},
    {&wxEVT_RIGHT_DOWN, &ForwardMouse<&CWnd::OnRButtonDown>},
    {&wxEVT_RIGHT_UP, &ForwardMouse<&CWnd::OnRButtonUp>},
    {&wxEVT_MIDDLE_DOWN, &ForwardMouse<&CWnd::OnMButtonDown>},
    {&wxEVT_MIDDLE_UP, &ForwardMouse<&CWnd::OnMButtonUp>},
};

void CaptureLost(wxMouseCaptureLostEvent&);
void CaptureTopActivated(wxActivateEvent& kEvent);

// Bound last, so called first: the holder's own handlers do not see what belongs to the capture.
void BindHolder()
{
    s_bForwarding = s_pkCaptureHolder != s_pkCapture->GetToolkitWindow();
    if (s_bForwarding)
    {
        for (const auto& [pkType, pfnForward] : FORWARDED)
            s_pkCaptureHolder->Bind(*pkType, pfnForward);
        s_pkCaptureHolder->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CaptureLost);
    }
    if (s_pkCaptureTop != nullptr)
        s_pkCaptureTop->Bind(wxEVT_ACTIVATE, &CaptureTopActivated);
}

void UnbindHolder()
{
    if (s_bForwarding && s_pkCaptureHolder != nullptr)
    {
        for (const auto& [pkType, pfnForward] : FORWARDED)
            s_pkCaptureHolder->Unbind(*pkType, pfnForward);
        s_pkCaptureHolder->Unbind(wxEVT_MOUSE_CAPTURE_LOST, &CaptureLost);
    }
    if (s_pkCaptureTop != nullptr)
        s_pkCaptureTop->Unbind(wxEVT_ACTIVATE, &CaptureTopActivated);
    s_bForwarding = false;
}

// The capture is over without a release of ours: its window hears of it.
void EndCapture()
{
    CWnd* pkWnd = s_pkCapture;
    UnbindHolder();
    s_pkCapture = nullptr;
    s_pkCaptureHolder = nullptr;
    s_pkCaptureTop = nullptr;
    if (pkWnd != nullptr)
        pkWnd->OnCaptureChanged(nullptr);
}

void CaptureLost(wxMouseCaptureLostEvent&)
{
    EndCapture();
}

// A window that goes to the background gives the mouse back, as a dialog that comes up does.
void CaptureTopActivated(wxActivateEvent& kEvent)
{
    kEvent.Skip();
    if (!kEvent.GetActive())
        ReleaseCapture();
}
} // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndNoTopMost;

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (s_pkCapture == this)
        ReleaseCapture();
    m_kTimers.clear();
    m_kItems.clear();
    if (m_pkWindow != nullptr)
    {
        wxWindow* pkWindow = Detach();
        pkWindow->Destroy();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return dynamic_cast<CWnd*>(hWnd);
}

CWnd* CWnd::FromToolkit(wxWindow* pkWindow)
{
    auto& kAttached = GetAttached();
    auto kAt = kAttached.find(pkWindow);
    return kAt == kAttached.end() ? nullptr : kAt->second;
}

namespace
{
// The toolkit takes ids below 0x7FFF only; the framework's command ids lie above. Those get
// toolkit ids of their own from a range no control id uses, the same one each time.
constexpr int FIRST_MAPPED_ID = 20000;

struct IdMap
{
    std::unordered_map<UINT, int> kToToolkit;
    std::unordered_map<int, UINT> kToResource;
};

IdMap& GetIdMap()
{
    static IdMap s_kMap;
    return s_kMap;
}
} // namespace

int CWnd::ToolkitId(UINT nID)
{
    if (nID == static_cast<UINT>(IDOK))
        return wxID_OK;
    if (nID == static_cast<UINT>(IDCANCEL))
        return wxID_CANCEL;
    if (nID < 0x7FFF)
        return static_cast<int>(nID);
    IdMap& kMap = GetIdMap();
    auto [kAt, bNew] =
        kMap.kToToolkit.try_emplace(nID, FIRST_MAPPED_ID + static_cast<int>(kMap.kToToolkit.size()));
    if (bNew)
        kMap.kToResource[kAt->second] = nID;
    return kAt->second;
}

UINT CWnd::ResourceId(int iToolkitId)
{
    if (iToolkitId == wxID_OK)
        return IDOK;
    if (iToolkitId == wxID_CANCEL)
        return IDCANCEL;
    const IdMap& kMap = GetIdMap();
    if (auto kAt = kMap.kToResource.find(iToolkitId); kAt != kMap.kToResource.end())
        return kAt->second;
    return static_cast<UINT>(iToolkitId);
}

void CWnd::Attach(wxWindow* pkWindow)
{
    if (m_pkWindow != nullptr)
        Detach();
    m_pkWindow = pkWindow;
    GetAttached()[pkWindow] = this;
    m_spCell = std::make_shared<CWnd*>(this);
    BindEvents();
}

wxWindow* CWnd::Detach()
{
    wxWindow* pkWindow = m_pkWindow;
    if (pkWindow == nullptr)
        return nullptr;
    if (s_pkCapture == this)
        ReleaseCapture();
    for (auto& [nID, spTimer] : m_kTimers)
        spTimer->Stop();
    m_kTimers.clear();
    GetAttached().erase(pkWindow);
    if (m_spCell)
        *m_spCell = nullptr;
    m_spCell.reset();
    m_pkWindow = nullptr;
    return pkWindow;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    wxWindow* pkHost = pParent != nullptr ? pParent->GetToolkitWindow() : nullptr;
    wxWindow* pkControl = pkHost != nullptr ? pkHost->FindWindow(ToolkitId(nID)) : nullptr;
    if (pkControl == nullptr || pkControl == pkHost)
        return FALSE;
    return SubclassWindow(pkControl);
}

BOOL CWnd::SubclassWindow(wxWindow* pkWindow)
{
    if (pkWindow == nullptr)
        return FALSE;
    Attach(pkWindow);
    PreSubclassWindow();
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::BindEvents()
{
    std::shared_ptr<CWnd*> spCell = m_spCell;
    wxWindow* pkWindow = m_pkWindow;
    auto mouse = [spCell](void (CWnd::*pfn)(UINT, CPoint), bool bButton = false)
    {
        return [spCell, pfn, bButton](wxMouseEvent& kEvent)
        {
            CWnd* pkWnd = *spCell;
            if (!bButton || pkWnd == nullptr || pkWnd->PassesMouseButtonsOn())
                kEvent.Skip();
            if (pkWnd != nullptr)
                (pkWnd->*pfn)(MouseFlags(kEvent), CPoint{kEvent.GetX(), kEvent.GetY()});
        };
    };
    pkWindow->Bind(wxEVT_MOTION, mouse(&CWnd::OnMouseMove));
    pkWindow->Bind(wxEVT_LEFT_DOWN, mouse(&CWnd::OnLButtonDown, true));
    pkWindow->Bind(wxEVT_LEFT_UP, mouse(&CWnd::OnLButtonUp, true));
    pkWindow->Bind(wxEVT_LEFT_DCLICK, mouse(&CWnd::OnLButtonDblClk, true));
    pkWindow->Bind(wxEVT_RIGHT_DOWN, mouse(&CWnd::OnRButtonDown, true));
    pkWindow->Bind(wxEVT_RIGHT_UP, mouse(&CWnd::OnRButtonUp, true));
    pkWindow->Bind(wxEVT_MIDDLE_DOWN, mouse(&CWnd::OnMButtonDown));
    pkWindow->Bind(wxEVT_MIDDLE_UP, mouse(&CWnd::OnMButtonUp));
    pkWindow->Bind(wxEVT_MOUSEWHEEL,
                   [spCell](wxMouseEvent& kEvent)
                   {
                       CWnd* pkWnd = *spCell;
                       if (pkWnd == nullptr ||
                           !pkWnd->OnMouseWheel(MouseFlags(kEvent),
                                                static_cast<short>(kEvent.GetWheelRotation()),
                                                CPoint{kEvent.GetX(), kEvent.GetY()}))
                           kEvent.Skip();
                   });
    pkWindow->Bind(wxEVT_KEY_DOWN,
                   [spCell](wxKeyEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell; pkWnd != nullptr && pkWnd->WantsKeys())
                           if (const UINT nKey = mfc::VirtualKeyFromToolkit(kEvent.GetKeyCode()); nKey != 0)
                               pkWnd->OnKeyDown(nKey, 1, 0);
                   });
    pkWindow->Bind(wxEVT_KEY_UP,
                   [spCell](wxKeyEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell; pkWnd != nullptr && pkWnd->WantsKeys())
                           if (const UINT nKey = mfc::VirtualKeyFromToolkit(kEvent.GetKeyCode()); nKey != 0)
                               pkWnd->OnKeyUp(nKey, 1, 0);
                   });
    pkWindow->Bind(wxEVT_SIZE,
                   [spCell](wxSizeEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell)
                       {
                           const wxSize kClient = pkWnd->m_pkWindow->GetClientSize();
                           pkWnd->OnSize(SIZE_RESTORED, kClient.GetWidth(), kClient.GetHeight());
                       }
                   });
    pkWindow->Bind(wxEVT_SET_FOCUS,
                   [spCell](wxFocusEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell)
                           pkWnd->OnSetFocus(CWnd::FromToolkit(kEvent.GetWindow()));
                   });
    pkWindow->Bind(wxEVT_KILL_FOCUS,
                   [spCell](wxFocusEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell)
                           pkWnd->OnKillFocus(CWnd::FromToolkit(kEvent.GetWindow()));
                   });
    pkWindow->Bind(wxEVT_MOUSE_CAPTURE_LOST,
                   [spCell](wxMouseCaptureLostEvent&)
                   {
                       CWnd* pkWnd = *spCell;
                       if (pkWnd != nullptr && s_pkCapture == pkWnd)
                           EndCapture();
                   });
    pkWindow->Bind(wxEVT_TIMER,
                   [spCell](wxTimerEvent& kEvent)
                   {
                       if (CWnd* pkWnd = *spCell)
                           pkWnd->OnTimer(static_cast<UINT_PTR>(kEvent.GetId()));
                   });
    pkWindow->Bind(wxEVT_DESTROY,
                   [spCell, pkWindow](wxWindowDestroyEvent& kEvent)
                   {
                       kEvent.Skip();
                       if (CWnd* pkWnd = *spCell; pkWnd != nullptr && kEvent.GetEventObject() == pkWindow)
                           pkWnd->ToolkitDestroyed();
                   });
    if (pkWindow->IsTopLevel())
        pkWindow->Bind(wxEVT_CLOSE_WINDOW,
                       [spCell](wxCloseEvent& kEvent)
                       {
                           CWnd* pkWnd = *spCell;
                           if (pkWnd == nullptr)
                           {
                               kEvent.Skip();
                               return;
                           }
                           pkWnd->OnClose();
                           // Still there: the window refused to close.
                           if (*spCell != nullptr && kEvent.CanVeto())
                               kEvent.Veto();
                       });
}

void CWnd::CollectAttached(std::vector<CWnd*>& kOut)
{
    kOut.push_back(this);
    std::vector<wxWindow*> kStack(m_pkWindow->GetChildren().begin(), m_pkWindow->GetChildren().end());
    std::vector<CWnd*> kInner;
    // Depth first, outer windows before the windows inside them.
    while (!kStack.empty())
    {
        wxWindow* pkChild = kStack.front();
        kStack.erase(kStack.begin());
        if (CWnd* pkWnd = FromToolkit(pkChild); pkWnd != nullptr && pkWnd != this)
            kOut.push_back(pkWnd);
        const wxWindowList& kChildren = pkChild->GetChildren();
        kStack.insert(kStack.end(), kChildren.begin(), kChildren.end());
    }
}

BOOL CWnd::DestroyWindow()
{
    if (m_pkWindow == nullptr)
        return FALSE;
    std::vector<CWnd*> kWindows;
    CollectAttached(kWindows);
    for (CWnd* pkWnd : kWindows)
        pkWnd->OnDestroy();
    wxWindow* pkWindow = m_pkWindow;
    for (CWnd* pkWnd : kWindows)
        pkWnd->Detach();
    // Top-level windows go at the toolkit's next idle time; nothing points at them now.
    pkWindow->Destroy();
    for (auto kAt = kWindows.rbegin(); kAt != kWindows.rend(); ++kAt)
        (*kAt)->PostNcDestroy();
    return TRUE;
}

void CWnd::ToolkitDestroyed()
{
    OnDestroy();
    Detach();
    PostNcDestroy();
}

void CWnd::PostNcDestroy() {}

void CWnd::GetClientSize(int32_t& iWidth, int32_t& iHeight) const
{
    if (m_pkWindow == nullptr)
    {
        win32::Window::GetClientSize(iWidth, iHeight);
        return;
    }
    const wxSize kSize = m_pkWindow->GetClientSize();
    iWidth = kSize.GetWidth();
    iHeight = kSize.GetHeight();
}

void CWnd::GetScreenOrigin(int32_t& iX, int32_t& iY) const
{
    if (m_pkWindow == nullptr)
    {
        win32::Window::GetScreenOrigin(iX, iY);
        return;
    }
    const wxPoint kOrigin = m_pkWindow->ClientToScreen(wxPoint(0, 0));
    iX = kOrigin.x;
    iY = kOrigin.y;
}

void CWnd::GetClientRect(RECT* pkRect) const
{
    int32_t iWidth = 0;
    int32_t iHeight = 0;
    GetClientSize(iWidth, iHeight);
    *pkRect = RECT{0, 0, iWidth, iHeight};
}

void CWnd::GetWindowRect(RECT* pkRect) const
{
    if (m_pkWindow == nullptr)
    {
        *pkRect = RECT{};
        return;
    }
    const wxRect kRect = m_pkWindow->GetScreenRect();
    *pkRect = RECT{kRect.GetLeft(), kRect.GetTop(), kRect.GetRight() + 1, kRect.GetBottom() + 1};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL)
{
    if (m_pkWindow != nullptr)
        m_pkWindow->SetSize(x, y, nWidth, nHeight);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if (m_pkWindow == nullptr)
        return FALSE;
    if (!(nFlags & SWP_NOSIZE))
    {
        m_pkWindow->SetSize(cx, cy);
        // A window laid out by a sizer places its children for the new size at once.
        m_pkWindow->Layout();
    }
    if (!(nFlags & SWP_NOMOVE))
        m_pkWindow->Move(x, y);
    if (pWndInsertAfter != nullptr && !(nFlags & SWP_NOZORDER))
        m_pkWindow->Raise();
    return TRUE;
}

CWnd* CWnd::GetParent() const
{
    for (wxWindow* pkParent = m_pkWindow != nullptr ? m_pkWindow->GetParent() : nullptr; pkParent != nullptr;
         pkParent = pkParent->GetParent())
        if (CWnd* pkWnd = FromToolkit(pkParent))
            return pkWnd;
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* pkParent = GetParent(); pkParent != nullptr; pkParent = pkParent->GetParent())
        if (auto* pkFrame = dynamic_cast<CFrameWnd*>(pkParent))
            return pkFrame;
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (m_pkWindow == nullptr)
        return nullptr;
    wxWindow* pkChild = m_pkWindow->FindWindow(ToolkitId(static_cast<UINT>(nID)));
    if (pkChild == nullptr || pkChild == m_pkWindow)
        return nullptr;
    if (CWnd* pkWnd = FromToolkit(pkChild))
        return pkWnd;
    auto spItem = std::make_unique<CWnd>();
    spItem->Attach(pkChild);
    CWnd* pkItem = spItem.get();
    m_kItems[nID] = std::move(spItem);
    return pkItem;
}

int CWnd::GetDlgCtrlID() const
{
    return m_pkWindow != nullptr ? static_cast<int>(ResourceId(m_pkWindow->GetId())) : 0;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (m_pkWindow == nullptr)
        return FALSE;
    const BOOL bWasVisible = m_pkWindow->IsShown();
    m_pkWindow->Show(nCmdShow != SW_HIDE);
    return bWasVisible;
}

void CWnd::UpdateWindow()
{
    if (m_pkWindow != nullptr)
        m_pkWindow->Update();
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (m_pkWindow == nullptr)
        return FALSE;
    const BOOL bWasDisabled = !m_pkWindow->IsEnabled();
    m_pkWindow->Enable(bEnable != FALSE);
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_pkWindow != nullptr && m_pkWindow->IsEnabled();
}

BOOL CWnd::IsWindowVisible() const
{
    return m_pkWindow != nullptr && m_pkWindow->IsShownOnScreen();
}

void CWnd::SetWindowText(const char* pcText)
{
    const wxString kText = wxString::FromUTF8(pcText != nullptr ? pcText : "");
    // An edit's text is its value (and setting it notifies, as typing does).
    if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(m_pkWindow))
        pkEdit->SetValue(kText);
    else if (m_pkWindow != nullptr)
        m_pkWindow->SetLabel(kText);
}

void CWnd::GetWindowText(CString& kText) const
{
    if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(m_pkWindow))
        kText = CString(std::string(pkEdit->GetValue().utf8_str()));
    else
        kText =
            CString(m_pkWindow != nullptr ? std::string(m_pkWindow->GetLabel().utf8_str()) : std::string());
}

CString CWnd::GetWindowText() const
{
    CString kText;
    GetWindowText(kText);
    return kText;
}

void CWnd::Invalidate(BOOL bErase)
{
    if (m_pkWindow != nullptr)
        m_pkWindow->Refresh(bErase != FALSE);
}

void CWnd::InvalidateRect(const RECT* pkRect, BOOL bErase)
{
    if (m_pkWindow == nullptr)
        return;
    if (pkRect == nullptr)
    {
        m_pkWindow->Refresh(bErase != FALSE);
        return;
    }
    const wxRect kRect(pkRect->left, pkRect->top, pkRect->right - pkRect->left, pkRect->bottom - pkRect->top);
    m_pkWindow->Refresh(bErase != FALSE, &kRect);
}

void CWnd::SetFocus()
{
    if (m_pkWindow != nullptr)
        m_pkWindow->SetFocus();
}

CWnd* CWnd::SetCapture()
{
    CWnd* pkOld = s_pkCapture;
    if (pkOld == this || m_pkWindow == nullptr)
        return pkOld;
    if (pkOld != nullptr)
        ReleaseCapture();
    wxWindow* pkHolder = GrabHolder(m_pkWindow);
    pkHolder->CaptureMouse();
    s_pkCapture = this;
    s_pkCaptureHolder = pkHolder;
    s_pkCaptureTop = wxGetTopLevelParent(m_pkWindow);
    BindHolder();
    return pkOld;
}

BOOL ReleaseCapture()
{
    CWnd* pkWnd = s_pkCapture;
    if (pkWnd == nullptr)
        return FALSE;
    wxWindow* pkHolder = s_pkCaptureHolder;
    UnbindHolder();
    s_pkCapture = nullptr;
    s_pkCaptureHolder = nullptr;
    s_pkCaptureTop = nullptr;
    if (pkHolder != nullptr && pkHolder->HasCapture())
        pkHolder->ReleaseMouse();
    pkWnd->OnCaptureChanged(nullptr);
    return TRUE;
}

CWnd* GetCapture()
{
    return s_pkCapture;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void*)
{
    if (m_pkWindow == nullptr)
        return 0;
    auto& spTimer = m_kTimers[nIDEvent];
    spTimer = std::make_unique<wxTimer>(m_pkWindow, static_cast<int>(nIDEvent));
    spTimer->Start(static_cast<int>(nElapse));
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    auto kAt = m_kTimers.find(nIDEvent);
    if (kAt == m_kTimers.end())
        return FALSE;
    kAt->second->Stop();
    m_kTimers.erase(kAt);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    const DWORD dwOld = m_dwStyle;
    m_dwStyle = (m_dwStyle & ~dwRemove) | dwAdd;
    return dwOld != m_dwStyle;
}

int CWnd::MessageBox(const char* pcText, const char* pcCaption, UINT nType)
{
    return mfc::ModalService::MessageBox(this, pcText, pcCaption, nType);
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (nMessage == WM_NOTIFY)
    {
        LRESULT lResult = 0;
        OnNotify(wParam, lParam, &lResult);
        return lResult;
    }
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    const UINT nID = static_cast<UINT>(wParam & 0xFFFF);
    const int nCode = static_cast<int>(static_cast<int16_t>((wParam >> 16) & 0xFFFF));
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pkHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pkHeader == nullptr)
        return FALSE;
    return DispatchNotify(static_cast<UINT>(wParam), pkHeader, pResult);
}

void CWnd::OnDestroy() {}
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}
void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnRButtonUp(UINT, CPoint) {}
void CWnd::OnMButtonDown(UINT, CPoint) {}
void CWnd::OnMButtonUp(UINT, CPoint) {}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
void CWnd::OnKeyUp(UINT, UINT, UINT) {}
void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnSetFocus(CWnd*) {}
void CWnd::OnKillFocus(CWnd*) {}
void CWnd::OnCaptureChanged(CWnd*) {}

void CWnd::OnClose()
{
    DestroyWindow();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    return Exchange(bSaveAndValidate, FALSE);
}

BOOL CWnd::UpdateDataQuietly()
{
    return Exchange(TRUE, TRUE);
}

BOOL CWnd::Exchange(BOOL bSaveAndValidate, BOOL bQuiet)
{
    const BOOL bWasLocked = m_bLockNotify;
    m_bLockNotify = TRUE;
    CDataExchange kExchange(this, bSaveAndValidate);
    kExchange.m_bQuiet = bQuiet;
    BOOL bDone = TRUE;
    try
    {
        DoDataExchange(&kExchange);
    }
    catch (const CUserException&)
    {
        bDone = FALSE;
    }
    m_bLockNotify = bWasLocked;
    return bDone;
}

void CWnd::DoDataExchange(CDataExchange*) {}
