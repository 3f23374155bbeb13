#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CObject.h"

#include <map>
#include <memory>

class CBitmap;
class CWnd;
class wxBitmap;
class wxImageList;

constexpr UINT ILC_MASK = 0x0001;

// A row of equally sized images, added from bitmaps cut into image-wide pieces, with a mask
// colour made transparent. One list at a time can be dragged: its image follows the pointer
// in a window of its own between DragEnter and EndDrag.
class CImageList : public CObject
{
public:
    CImageList();
    ~CImageList() override;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Index of the first image added; -1 when the list is not made or the bitmap is empty.
    int Add(CBitmap* pkBitmap, COLORREF crMask);
    // Adds a toolkit picture as one image; its index, or -1.
    int Add(const wxBitmap& kPicture);
    int GetImageCount() const;
    // Overlays 1, 2, ... name images of the list.
    BOOL SetOverlayImage(int nImage, int nOverlay);
    int GetOverlayImage(int nOverlay) const;
    wxImageList* GetToolkitList() const { return m_spList.get(); }
    BOOL DeleteImageList();

    // --- Dragging (a point is in the client coordinates of the window given to DragEnter).
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    // Switches the dragged picture to another image of the dragging list.
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
    static BOOL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL DragMove(CPoint pt);
    static BOOL DragShowNolock(BOOL bShow);
    static BOOL DragLeave(CWnd* pWndLock);
    static void EndDrag();
    // The list whose drag is under way; null when none is.
    static CImageList* GetDragging();

private:
    std::unique_ptr<wxImageList> m_spList;
    std::map<int, int> m_kOverlays;
};
