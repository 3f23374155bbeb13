#pragma once

#include "platform/mfc/CButton.h"

// What the slide and spin buttons share: a drag runs from a button-down while idle (mode 1 for
// the left button, 2 for the right) to the same button's release, with the mouse captured. The
// button takes its presses and releases itself, so it never looks pressed and never clicks;
// moves go on to the toolkit after the subclass's handling.
class CDragButton : public CButton
{
    DECLARE_DYNAMIC(CDragButton)

public:
    void OnLButtonDown(UINT nFlags, CPoint kPoint) override;
    void OnLButtonUp(UINT nFlags, CPoint kPoint) override;
    void OnRButtonDown(UINT nFlags, CPoint kPoint) override;
    void OnRButtonUp(UINT nFlags, CPoint kPoint) override;
    // A drag whose capture went elsewhere without its button-up ends there (otherwise plain
    // moves over the button would go on dragging).
    void OnCaptureChanged(CWnd* pkWnd) override;

    int m_iDragMode = 0;
    int m_iLastX = 0;
    int m_iLastY = 0;

protected:
    CDragButton() = default;
    bool PassesMouseButtonsOn() const override { return false; }
    // Sends WM_NOTIFY with the code to the parent, synchronously; the parent frees the record.
    void NotifyParent(UINT nCode);

private:
    void BeginDrag(int iMode, CPoint kPoint);
    void EndDrag(int iMode);
};
