#include "editor/CDragButton.h"

IMPLEMENT_DYNAMIC(CDragButton, CButton)

void CDragButton::BeginDrag(int iMode, CPoint kPoint)
{
    if (m_iDragMode != 0)
        return;
    m_iDragMode = iMode;
    SetCapture();
    m_iLastX = kPoint.x;
    m_iLastY = kPoint.y;
}

void CDragButton::EndDrag(int iMode)
{
    if (m_iDragMode != iMode)
        return;
    m_iDragMode = 0;
    ReleaseCapture();
}

void CDragButton::OnLButtonDown(UINT, CPoint kPoint)
{
    BeginDrag(1, kPoint);
}

void CDragButton::OnLButtonUp(UINT, CPoint)
{
    EndDrag(1);
}

void CDragButton::OnRButtonDown(UINT, CPoint kPoint)
{
    BeginDrag(2, kPoint);
}

void CDragButton::OnRButtonUp(UINT, CPoint)
{
    EndDrag(2);
}

void CDragButton::OnCaptureChanged(CWnd*)
{
    m_iDragMode = 0;
}

void CDragButton::NotifyParent(UINT nCode)
{
    CWnd* pkParent = GetParent();
    if (pkParent == nullptr)
        return;
    auto* pkHeader = new NMHDR{GetSafeHwnd(), static_cast<UINT_PTR>(GetDlgCtrlID()), nCode};
    pkParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(pkHeader));
}
