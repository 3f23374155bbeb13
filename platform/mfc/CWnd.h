#pragma once

#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CString.h"

#include <map>
#include <memory>

class wxWindow;
class wxTimer;
class CFrameWnd;
class CDataExchange;

struct CREATESTRUCT
{
    DWORD style = 0;
};
using LPCREATESTRUCT = CREATESTRUCT*;

constexpr UINT SIZE_RESTORED = 0;

// A window: the framework object over one toolkit widget. It answers the system layer's
// window questions (client size, screen origin) from the widget, routes the widget's
// commands through message maps, and turns the widget's mouse, key, size and timer events
// into the handler calls below (whose base versions do nothing, so the widget's own
// handling goes on).
class CWnd : public CCmdTarget, public win32::Window
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override;

    wxWindow* GetToolkitWindow() const { return m_pkWindow; }
    HWND GetSafeHwnd() const { return m_pkWindow != nullptr ? const_cast<CWnd*>(this) : nullptr; }
    // The framework object of a handle or of a widget; null when there is none.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromToolkit(wxWindow* pkWindow);

    // Makes this object the framework side of the widget.
    void Attach(wxWindow* pkWindow);
    // Lets go of the widget without destroying it.
    wxWindow* Detach();
    // Makes this object the framework side of a control made elsewhere (from a template),
    // then lets the class set it up (PreSubclassWindow).
    BOOL SubclassWindow(wxWindow* pkWindow);
    // The same for the parent's child control with that id.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    virtual void PreSubclassWindow();

    // Destroys the widget: OnDestroy on this window and every framework window inside it
    // (outer first), then PostNcDestroy (inner first), the way the system sends them.
    virtual BOOL DestroyWindow();
    // The last call a window gets; frames and views delete themselves here.
    virtual void PostNcDestroy();

    // Control ids 1 and 2 are the toolkit's OK and Cancel.
    static int ToolkitId(UINT nID);
    static UINT ResourceId(int iToolkitId);

    // --- Geometry.
    void GetClientSize(int32_t& iWidth, int32_t& iHeight) const override;
    void GetScreenOrigin(int32_t& iX, int32_t& iY) const override;
    void GetClientRect(RECT* pkRect) const;
    void GetWindowRect(RECT* pkRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    // Sizes (unless SWP_NOSIZE) and moves (unless SWP_NOMOVE) the window; with an insert-after
    // window (unless SWP_NOZORDER) it comes to the front.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // The insert-after window that puts a window above the other non-topmost ones.
    static const CWnd wndNoTopMost;

    // --- Relations.
    CWnd* GetParent() const;
    CFrameWnd* GetParentFrame() const;
    // The framework object of the child control with this id (made on first use and owned
    // by this window); null when there is no such control.
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;

    // --- State.
    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    void SetWindowText(const char* pcText);
    void GetWindowText(CString& kText) const;
    CString GetWindowText() const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const RECT* pkRect, BOOL bErase = TRUE);
    void SetFocus();
    CWnd* SetCapture();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* pfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    DWORD GetStyle() const { return m_dwStyle; }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    int MessageBox(const char* pcText, const char* pcCaption = nullptr, UINT nType = MB_OK);

    // --- Data exchange (dialogs and form views).
    // Exchanges the data of DoDataExchange; FALSE when a field failed (its message shown).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The same out of the controls without a message or a focus change: whether every value
    // parsed (for checks while the user is still typing).
    BOOL UpdateDataQuietly();
    virtual void DoDataExchange(CDataExchange* pDX);

    // WM_COMMAND (wParam: id in the low word, notification code in the high word) and
    // WM_NOTIFY (lParam: the NMHDR) go through the message maps synchronously.
    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // --- Handlers.
    virtual void OnDestroy();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnMouseMove(UINT nFlags, CPoint kPoint);
    virtual void OnLButtonDown(UINT nFlags, CPoint kPoint);
    virtual void OnLButtonUp(UINT nFlags, CPoint kPoint);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint kPoint);
    virtual void OnRButtonDown(UINT nFlags, CPoint kPoint);
    virtual void OnRButtonUp(UINT nFlags, CPoint kPoint);
    virtual void OnMButtonDown(UINT nFlags, CPoint kPoint);
    virtual void OnMButtonUp(UINT nFlags, CPoint kPoint);
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint kPoint);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnSetFocus(CWnd* pkOldWnd);
    virtual void OnKillFocus(CWnd* pkNewWnd);
    // The mouse capture went elsewhere (also when it was lost without a button-up).
    virtual void OnCaptureChanged(CWnd* pkWnd);
    // The user asked to close a top-level window; the base destroys it.
    virtual void OnClose();

protected:
    // Whether this window's key events go to OnKeyDown/OnKeyUp (views and controls: yes).
    virtual bool WantsKeys() const { return true; }
    // Whether the widget's own handling still sees mouse button presses and releases after
    // the handlers above (a control that takes them over answers false: no pressed look, no
    // click).
    virtual bool PassesMouseButtonsOn() const { return true; }

    wxWindow* m_pkWindow = nullptr;
    DWORD m_dwStyle = 0;

public:
    // While set (during UpdateData) the window ignores its controls' notifications.
    BOOL m_bLockNotify = FALSE;

private:
    void BindEvents();
    BOOL Exchange(BOOL bSaveAndValidate, BOOL bQuiet);
    void CollectAttached(std::vector<CWnd*>& kOut);
    void ToolkitDestroyed();

    std::shared_ptr<CWnd*> m_spCell;
    std::map<UINT_PTR, std::unique_ptr<wxTimer>> m_kTimers;
    mutable std::map<int, std::unique_ptr<CWnd>> m_kItems;
};

// Releases the mouse capture of whichever window holds it.
BOOL ReleaseCapture();
CWnd* GetCapture();
