#include "platform/mfc/CImageList.h"

#include "platform/mfc/CBitmap.h"
#include "platform/mfc/CWnd.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/popupwin.h>

namespace
{
// The picture that follows the pointer during a drag.
struct DragState
{
    CImageList* pkList = nullptr;
    int iImage = 0;
    CPoint kHotSpot;
    wxWindow* pkLock = nullptr;
    wxPopupWindow* pkPopup = nullptr;
    CPoint kLast;
};

DragState& Drag()
{
    static DragState s_kDrag;
    return s_kDrag;
}

void ShowDragImage()
{
    DragState& kDrag = Drag();
    wxImageList* pkImages = kDrag.pkList != nullptr ? kDrag.pkList->GetToolkitList() : nullptr;
    if (kDrag.pkPopup == nullptr || pkImages == nullptr || kDrag.pkLock == nullptr)
        return;
    int iWidth = 0;
    int iHeight = 0;
    pkImages->GetSize(kDrag.iImage, iWidth, iHeight);
    kDrag.pkPopup->SetSize(iWidth, iHeight);
    kDrag.pkPopup->Move(kDrag.pkLock->ClientToScreen(
        wxPoint(kDrag.kLast.x - kDrag.kHotSpot.x, kDrag.kLast.y - kDrag.kHotSpot.y)));
    kDrag.pkPopup->Refresh();
}
} // namespace

CImageList::CImageList() = default;

CImageList::~CImageList()
{
    if (Drag().pkList == this)
        EndDrag();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int)
{
    m_spList = std::make_unique<wxImageList>(cx, cy, (nFlags & ILC_MASK) != 0, nInitial);
    m_kOverlays.clear();
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_spList)
        return FALSE;
    if (Drag().pkList == this)
        EndDrag();
    m_spList.reset();
    return TRUE;
}

int CImageList::Add(CBitmap* pkBitmap, COLORREF crMask)
{
    const wxBitmap* pkPicture = pkBitmap != nullptr ? pkBitmap->GetToolkitBitmap() : nullptr;
    if (!m_spList || pkPicture == nullptr || !pkPicture->IsOk())
        return -1;
    const int iFirst = m_spList->GetImageCount();
    // The toolkit cuts a wide bitmap into images of the list's width.
    const int iAdded =
        m_spList->Add(*pkPicture, wxColour(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask)));
    return iAdded < 0 ? -1 : iFirst;
}

int CImageList::Add(const wxBitmap& kPicture)
{
    if (!m_spList || !kPicture.IsOk())
        return -1;
    return m_spList->Add(kPicture);
}

int CImageList::GetImageCount() const
{
    return m_spList ? m_spList->GetImageCount() : 0;
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay)
{
    if (nImage < 0 || nImage >= GetImageCount() || nOverlay < 1)
        return FALSE;
    m_kOverlays[nOverlay] = nImage;
    return TRUE;
}

int CImageList::GetOverlayImage(int nOverlay) const
{
    auto kAt = m_kOverlays.find(nOverlay);
    return kAt == m_kOverlays.end() ? -1 : kAt->second;
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    if (nImage < 0 || nImage >= GetImageCount())
        return FALSE;
    EndDrag();
    DragState& kDrag = Drag();
    kDrag.pkList = this;
    kDrag.iImage = nImage;
    kDrag.kHotSpot = ptHotSpot;
    return TRUE;
}

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot)
{
    DragState& kDrag = Drag();
    if (kDrag.pkList != this || nDrag < 0 || nDrag >= GetImageCount())
        return FALSE;
    kDrag.iImage = nDrag;
    kDrag.kHotSpot = ptHotSpot;
    ShowDragImage();
    return TRUE;
}

BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    DragState& kDrag = Drag();
    wxWindow* pkLock = pWndLock != nullptr ? pWndLock->GetToolkitWindow() : nullptr;
    if (kDrag.pkList == nullptr || pkLock == nullptr)
        return FALSE;
    kDrag.pkLock = pkLock;
    kDrag.kLast = point;
    if (kDrag.pkPopup == nullptr)
    {
        kDrag.pkPopup = new wxPopupWindow(pkLock);
        kDrag.pkPopup->Bind(wxEVT_PAINT,
                            [](wxPaintEvent&)
                            {
                                DragState& kNow = Drag();
                                if (kNow.pkPopup == nullptr)
                                    return;
                                wxPaintDC kDC(kNow.pkPopup);
                                if (kNow.pkList != nullptr && kNow.pkList->GetToolkitList() != nullptr)
                                    kNow.pkList->GetToolkitList()->Draw(kNow.iImage, kDC, 0, 0,
                                                                        wxIMAGELIST_DRAW_TRANSPARENT);
                            });
    }
    ShowDragImage();
    kDrag.pkPopup->Show();
    return TRUE;
}

BOOL CImageList::DragMove(CPoint pt)
{
    DragState& kDrag = Drag();
    if (kDrag.pkList == nullptr)
        return FALSE;
    kDrag.kLast = pt;
    ShowDragImage();
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL bShow)
{
    DragState& kDrag = Drag();
    if (kDrag.pkPopup == nullptr)
        return FALSE;
    kDrag.pkPopup->Show(bShow != FALSE);
    return TRUE;
}

BOOL CImageList::DragLeave(CWnd*)
{
    return DragShowNolock(FALSE);
}

void CImageList::EndDrag()
{
    DragState& kDrag = Drag();
    if (kDrag.pkPopup != nullptr)
        kDrag.pkPopup->Destroy();
    kDrag = DragState{};
}

CImageList* CImageList::GetDragging()
{
    return Drag().pkList;
}
