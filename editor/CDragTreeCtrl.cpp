#include "editor/CDragTreeCtrl.h"

#include "platform/mfc/CBitmap.h"
#include "platform/mfc/VirtualKey.h"

#include <wx/cursor.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <cstring>

// Sections: images; selection and walks; dragging; order; notifications.

IMPLEMENT_DYNAMIC(CDragTreeCtrl, CTreeCtrl)

namespace
{
bool KeyHeld(int nVirtKey)
{
    return (GetKeyState(nVirtKey) & 0x8000) != 0;
}

constexpr UINT_PTR SCROLL_TIMER = 1;
} // namespace

CDragTreeCtrl::CDragTreeCtrl() = default;

CDragTreeCtrl::~CDragTreeCtrl()
{
    if (IsDragging())
        CImageList::EndDrag();
    // The lists go before the control's widget does.
    SetImageList(nullptr, TVSIL_NORMAL);
    SetImageList(nullptr, TVSIL_STATE);
}

void CDragTreeCtrl::SetBit(uint32_t& uiMask, int nBit, bool bOn)
{
    if (nBit < 0 || nBit > 31)
        return;
    if (bOn)
        uiMask |= 1u << nBit;
    else
        uiMask &= ~(1u << nBit);
}

bool CDragTreeCtrl::TestBit(uint32_t uiMask, int nBit)
{
    return nBit >= 0 && nBit <= 31 && (uiMask & (1u << nBit)) != 0;
}

// --- Images.

int CDragTreeCtrl::AddBitmapTo(CImageList& kList, int& iWidth, int& iHeight, UINT nBitmapID, int nCount,
                               COLORREF crMask)
{
    CBitmap kBitmap;
    if (nCount < 1 || !kBitmap.LoadBitmap(nBitmapID))
        return -1;
    if (iWidth == 0)
    {
        BITMAP kSize;
        kBitmap.GetBitmap(&kSize);
        iWidth = kSize.bmWidth / nCount;
        iHeight = kSize.bmHeight;
        kList.Create(iWidth, iHeight, ILC_MASK, nCount, nCount);
    }
    return kList.Add(&kBitmap, crMask);
}

int CDragTreeCtrl::AddImages(UINT nBitmapID, int nCount, COLORREF crMask)
{
    const bool bFirst = m_iNormalWidth == 0;
    const int iFirst =
        AddBitmapTo(m_kNormalImages, m_iNormalWidth, m_iNormalHeight, nBitmapID, nCount, crMask);
    if (bFirst && m_iNormalWidth != 0)
        SetImageList(&m_kNormalImages, TVSIL_NORMAL);
    else if (iFirst >= 0)
        SetImageList(&m_kNormalImages, TVSIL_NORMAL);
    return iFirst;
}

int CDragTreeCtrl::AddStateImages(UINT nBitmapID, int nCount, COLORREF crMask)
{
    const int iFirst = AddBitmapTo(m_kStateImages, m_iStateWidth, m_iStateHeight, nBitmapID, nCount, crMask);
    if (iFirst >= 0)
        SetImageList(&m_kStateImages, TVSIL_STATE);
    return iFirst;
}

int CDragTreeCtrl::AddOverlayImages(UINT nBitmapID, COLORREF crMask)
{
    if (m_bOverlaysAdded || m_kNormalImages.GetImageCount() == 0)
        return -1;
    CBitmap kBitmap;
    BITMAP kSize;
    if (!kBitmap.LoadBitmap(nBitmapID) || kBitmap.GetBitmap(&kSize) == 0 || m_iNormalWidth == 0)
        return -1;
    const int iFirst = m_kNormalImages.Add(&kBitmap, crMask);
    if (iFirst < 0)
        return -1;
    m_bOverlaysAdded = true;
    const int iCount = m_kNormalImages.GetImageCount() - iFirst;
    for (int i = 0; i < iCount; ++i)
        m_kNormalImages.SetOverlayImage(iFirst + i, i + 1);
    m_iOverlayCount = iCount;
    return iFirst;
}

bool CDragTreeCtrl::CanDrag(HTREEITEM, int nImage)
{
    return TestBit(m_uiDraggable, nImage);
}

bool CDragTreeCtrl::CanDrop(HTREEITEM, int nImage)
{
    return TestBit(m_uiDropTargets, nImage);
}

int CDragTreeCtrl::ImageOf(HTREEITEM hItem) const
{
    int nImage = -1;
    int nSelected = -1;
    GetItemImage(hItem, nImage, nSelected);
    return nImage;
}

// --- Selection and walks.

void CDragTreeCtrl::EnableMultiSelect(bool bOn)
{
    if (!bOn)
        ClearMultiSelection();
    m_bMultiSelect = bOn;
}

void CDragTreeCtrl::SetSelected(HTREEITEM hItem, bool bSelected)
{
    if (!m_bMultiSelect || hItem == nullptr)
        return;
    SetItemState(hItem, bSelected ? TVIS_SELECTED : 0, TVIS_SELECTED);
    if (bSelected)
        m_bHasSelection = true;
}

void CDragTreeCtrl::ClearMultiSelection()
{
    if (!m_bMultiSelect || !m_bHasSelection)
        return;
    const HTREEITEM hCaret = GetSelectedItem();
    ForEachSelectedItem(
        [](CDragTreeCtrl* pkTree, HTREEITEM hItem, void* pvCaret)
        {
            if (hItem != static_cast<HTREEITEM>(pvCaret))
                pkTree->SetItemState(hItem, 0, TVIS_SELECTED);
            return true;
        },
        nullptr, hCaret);
    m_bHasSelection = false;
    m_hShiftAnchor = nullptr;
}

void CDragTreeCtrl::SelectRange(HTREEITEM hFirst, HTREEITEM hSecond)
{
    if (hFirst == nullptr || hSecond == nullptr)
        return;
    // 0 before the range, 1 inside it, 2 after it.
    int iPart = 0;
    HTREEITEM hEnd = nullptr;
    for (HTREEITEM hItem = GetRootItem(); hItem != nullptr; hItem = GetNextVisibleItem(hItem))
    {
        if (iPart == 0 && (hItem == hFirst || hItem == hSecond))
        {
            iPart = 1;
            hEnd = hItem == hFirst ? hSecond : hFirst;
            SetSelected(hItem, true);
            if (hItem == hEnd)
                iPart = 2;
            continue;
        }
        SetSelected(hItem, iPart == 1);
        if (iPart == 1 && hItem == hEnd)
            iPart = 2;
    }
    SetSelected(hFirst, true);
    SetSelected(hSecond, true);
}

bool CDragTreeCtrl::Walk(HTREEITEM hFirst, bool bSiblings, bool bSelectedOnly, ItemCallback pfnCallback,
                         void* pvUserData)
{
    for (HTREEITEM hItem = hFirst; hItem != nullptr;)
    {
        // Taken first: the callback may delete the item.
        const HTREEITEM hNext = bSiblings ? GetNextSiblingItem(hItem) : nullptr;
        if (HTREEITEM hChild = GetChildItem(hItem))
            if (!Walk(hChild, true, bSelectedOnly, pfnCallback, pvUserData))
                return false;
        if (!bSelectedOnly || GetItemState(hItem, TVIS_SELECTED) != 0)
        {
            m_bNotifying = false;
            const bool bGoOn = pfnCallback(this, hItem, pvUserData);
            m_bNotifying = true;
            if (!bGoOn)
                return false;
        }
        hItem = hNext;
    }
    return true;
}

bool CDragTreeCtrl::WalkFrom(HTREEITEM hStart, bool bSelectedOnly, ItemCallback pfnCallback, void* pvUserData)
{
    if (pfnCallback == nullptr)
        return false;
    if (hStart != nullptr)
        return Walk(hStart, false, bSelectedOnly, pfnCallback, pvUserData);
    m_hCaretToRestore = nullptr;
    const bool bDone = Walk(GetRootItem(), true, bSelectedOnly, pfnCallback, pvUserData);
    if (m_hCaretToRestore != nullptr)
        SelectItem(m_hCaretToRestore);
    m_hCaretToRestore = nullptr;
    return bDone;
}

bool CDragTreeCtrl::ForEachSelectedItem(ItemCallback pfnCallback, HTREEITEM hStart, void* pvUserData)
{
    return WalkFrom(hStart, true, pfnCallback, pvUserData);
}

bool CDragTreeCtrl::ForEachItem(ItemCallback pfnCallback, HTREEITEM hStart, void* pvUserData)
{
    return WalkFrom(hStart, false, pfnCallback, pvUserData);
}

HTREEITEM CDragTreeCtrl::HitTestAtMessage() const
{
    wxWindow* pkWindow = GetToolkitWindow();
    if (pkWindow == nullptr)
        return nullptr;
    const wxPoint kAt = pkWindow->ScreenToClient(wxGetMousePosition());
    return HitTest(CPoint{kAt.x, kAt.y});
}

// --- Dragging.

void CDragTreeCtrl::SetDropHandler(ItemCallback pfnHandler, UINT nBitmapID, COLORREF crMask)
{
    m_pfnDropHandler = pfnHandler;
    if (nBitmapID == 0 || m_kDragImages.GetImageCount() > 0)
        return;
    const int nCount = m_bMultiSelect ? 3 : 2;
    int iWidth = 0;
    int iHeight = 0;
    if (AddBitmapTo(m_kDragImages, iWidth, iHeight, nBitmapID, nCount, crMask) < 0)
        return;
    m_iNoDropCursor = 0;
    m_iSingleCursor = 1;
    m_iMultipleCursor = m_bMultiSelect ? 2 : 1;
}

bool CDragTreeCtrl::MoveItemToTarget(CDragTreeCtrl* pkTree, HTREEITEM hItem, void* pvTarget)
{
    const auto hTarget = static_cast<HTREEITEM>(pvTarget);
    if (hTarget == nullptr || !pkTree->CanDrag(hItem, pkTree->ImageOf(hItem)) ||
        pkTree->GetParentItem(hItem) == hTarget || hItem == hTarget)
        return true;
    int nImage = -1;
    int nSelected = -1;
    pkTree->GetItemImage(hItem, nImage, nSelected);
    const HTREEITEM hMoved =
        pkTree->InsertItem(pkTree->GetItemText(hItem), nImage, nSelected, hTarget, TVI_LAST);
    pkTree->SetItemState(hMoved, pkTree->GetItemState(hItem, TVIS_SELECTED), TVIS_SELECTED);
    pkTree->SetItemData(hMoved, pkTree->GetItemData(hItem));
    pkTree->DeleteItem(hItem);
    return true;
}

void CDragTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_pfnDropHandler == nullptr)
        return;
    const auto* pkNotify = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    const HTREEITEM hItem = pkNotify->itemNew.hItem;
    if (m_bMultiSelect)
        ForEachSelectedItem(
            [](CDragTreeCtrl* pkTree, HTREEITEM hSelected, void*)
            {
                if (!pkTree->CanDrag(hSelected, pkTree->ImageOf(hSelected)) &&
                    hSelected != pkTree->GetSelectedItem())
                    pkTree->SetSelected(hSelected, false);
                return true;
            },
            nullptr, nullptr);
    else
        SelectItem(hItem);
    if (!CanDrag(hItem, ImageOf(hItem)))
        return;
    if (m_kDragImages.GetImageCount() > 0)
        m_pkActiveDragList = &m_kDragImages;
    else
    {
        m_spItemDragImage.reset(CreateDragImage(hItem));
        m_pkActiveDragList = m_spItemDragImage.get();
    }
    if (m_pkActiveDragList == nullptr)
        return;
    const int nCursor =
        m_pkActiveDragList == &m_kDragImages ? (m_bMultiSelect ? m_iMultipleCursor : m_iSingleCursor) : 0;
    m_pkActiveDragList->BeginDrag(nCursor, CPoint{0, 0});
    CImageList::DragEnter(this, pkNotify->ptDrag);
    if (wxWindow* pkWindow = GetToolkitWindow())
        pkWindow->SetCursor(wxCursor(wxCURSOR_BLANK));
    SetCapture();
    SetTimer(SCROLL_TIMER, 250);
}

HTREEITEM CDragTreeCtrl::DropTargetAt(CPoint kPoint)
{
    HTREEITEM hItem = HitTest(kPoint);
    while (hItem != nullptr && !CanDrop(hItem, ImageOf(hItem)))
        hItem = GetParentItem(hItem);
    return hItem;
}

void CDragTreeCtrl::OnMouseMove(UINT nFlags, CPoint kPoint)
{
    CTreeCtrl::OnMouseMove(nFlags, kPoint);
    if (!IsDragging())
        return;
    CImageList::DragMove(kPoint);
    const HTREEITEM hTarget = DropTargetAt(kPoint);
    CImageList::DragShowNolock(FALSE);
    SelectDropTarget(hTarget);
    CImageList::DragShowNolock(TRUE);
    if (m_pkActiveDragList == &m_kDragImages)
        m_pkActiveDragList->SetDragCursorImage(
            hTarget == nullptr ? m_iNoDropCursor : (m_bMultiSelect ? m_iMultipleCursor : m_iSingleCursor),
            CPoint{0, 0});
}

void CDragTreeCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != SCROLL_TIMER || !IsDragging())
        return;
    wxWindow* pkWindow = GetToolkitWindow();
    const wxPoint kAt = pkWindow->ScreenToClient(wxGetMousePosition());
    const HTREEITEM hFirst = GetFirstVisibleItem();
    if (hFirst == nullptr)
        return;
    HTREEITEM hNewFirst = nullptr;
    if (kAt.y >= pkWindow->GetClientSize().GetHeight())
        hNewFirst = GetNextVisibleItem(hFirst);
    else if (kAt.y < 0)
        hNewFirst = GetPrevVisibleItem(hFirst);
    if (hNewFirst != nullptr)
    {
        CImageList::DragShowNolock(FALSE);
        SelectSetFirstVisible(hNewFirst);
        CImageList::DragShowNolock(TRUE);
    }
}

void CDragTreeCtrl::StopDragging()
{
    m_pkActiveDragList = nullptr;
    KillTimer(SCROLL_TIMER);
    if (GetCapture() == this)
        ReleaseCapture();
    CImageList::DragLeave(this);
    CImageList::EndDrag();
    if (wxWindow* pkWindow = GetToolkitWindow())
        pkWindow->SetCursor(wxNullCursor);
    m_spItemDragImage.reset();
}

void CDragTreeCtrl::OnLButtonUp(UINT nFlags, CPoint kPoint)
{
    CTreeCtrl::OnLButtonUp(nFlags, kPoint);
    if (!IsDragging())
        return;
    StopDragging();
    if (HTREEITEM hTarget = GetDropHilightItem())
    {
        ForEachSelectedItem(m_pfnDropHandler, nullptr, hTarget);
        SelectDropTarget(nullptr);
        SelectItem(hTarget);
    }
    ClearMultiSelection();
}

void CDragTreeCtrl::OnCaptureChanged(CWnd* pkWnd)
{
    CTreeCtrl::OnCaptureChanged(pkWnd);
    // Losing the pointer without a button-up abandons the drag; nothing is dropped.
    if (IsDragging())
    {
        StopDragging();
        SelectDropTarget(nullptr);
    }
}

// --- Order.

void CDragTreeCtrl::SetCompare(PFNTVCOMPARE pfnCompare, LPARAM lData)
{
    m_pfnCompare = pfnCompare;
    m_lCompareData = lData;
}

void CDragTreeCtrl::SortLevel(HTREEITEM hParent)
{
    m_hSortParent = hParent;
    if (m_pfnCompare != nullptr)
    {
        TVSORTCB kSort;
        kSort.hParent = hParent;
        kSort.lpfnCompare = m_pfnCompare;
        kSort.lParam = m_lCompareData;
        SortChildrenCB(&kSort);
    }
    else
        SortChildren(hParent);
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild))
        if (ItemHasChildren(hChild))
            SortLevel(hChild);
}

void CDragTreeCtrl::SortAll()
{
    SortLevel(nullptr);
}

void CDragTreeCtrl::ExpandAll(UINT nCode, HTREEITEM hStart)
{
    for (HTREEITEM hItem = hStart != nullptr ? hStart : GetRootItem(); hItem != nullptr;
         hItem = hStart != nullptr ? nullptr : GetNextSiblingItem(hItem))
    {
        Expand(hItem, nCode);
        for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr; hChild = GetNextSiblingItem(hChild))
            ExpandAll(nCode, hChild);
    }
}

void CDragTreeCtrl::SortByImageThenText(int iKeyOffset)
{
    m_iSortKeyOffset = iKeyOffset;
    auto fnKey = [this](HTREEITEM hItem)
    {
        int iKey = 0;
        if (const auto uiData = GetItemData(hItem); uiData != 0)
            std::memcpy(&iKey, reinterpret_cast<const char*>(uiData) + m_iSortKeyOffset, sizeof(iKey));
        return iKey;
    };
    SortChildrenBy(m_hSortParent,
                   [this, &fnKey](HTREEITEM hFirst, HTREEITEM hSecond)
                   {
                       const int iFirst = fnKey(hFirst);
                       const int iSecond = fnKey(hSecond);
                       if (iFirst != iSecond)
                           return iFirst < iSecond ? -1 : 1;
                       return std::strcmp(GetItemText(hFirst), GetItemText(hSecond));
                   });
}

// --- Notifications.

BOOL CDragTreeCtrl::ReflectNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    static constexpr struct
    {
        UINT nCode;
        void (CDragTreeCtrl::*pfnHandler)(NMHDR*, LRESULT*);
    } s_akHandlers[] = {
        {TVN_ITEMEXPANDED, &CDragTreeCtrl::OnItemExpanded},
        {TVN_SELCHANGING, &CDragTreeCtrl::OnSelChanging},
        {NM_CLICK, &CDragTreeCtrl::OnClick},
        {TVN_KEYDOWN, &CDragTreeCtrl::OnTreeKeyDown},
        {NM_RCLICK, &CDragTreeCtrl::OnRightClick},
        {TVN_BEGINDRAG, &CDragTreeCtrl::OnBeginDrag},
        {TVN_DELETEITEM, &CDragTreeCtrl::OnDeleteItem},
    };
    for (const auto& kHandler : s_akHandlers)
        if (kHandler.nCode == pNMHDR->code)
        {
            (this->*kHandler.pfnHandler)(pNMHDR, pResult);
            return TRUE;
        }
    return FALSE;
}

void CDragTreeCtrl::OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pkNotify = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    if (m_kNormalImages.GetImageCount() <= m_iOverlayCount || m_uiOpenImages == 0)
        return;
    const HTREEITEM hItem = pkNotify->itemNew.hItem;
    const bool bExpand = pkNotify->action == TVE_EXPAND;
    const int nImage = ImageOf(hItem);
    const int nClosed = bExpand ? nImage : nImage - 1;
    if (!HasOpenImage(nClosed))
        return;
    const int nNew = bExpand ? nImage + 1 : nImage - 1;
    SetItemImage(hItem, nNew, nNew);
}

void CDragTreeCtrl::OnSelChanging(NMHDR*, LRESULT* pResult)
{
    const bool bRefuse = !m_bNotifying || (m_bMultiSelect && (KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT)));
    *pResult = bRefuse ? 1 : 0;
}

void CDragTreeCtrl::OnClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (IsDragging())
        return;
    if (m_bMultiSelect && KeyHeld(VK_SHIFT))
        SelectRange(HitTestAtMessage(), GetSelectedItem());
    else if (m_bMultiSelect && KeyHeld(VK_CONTROL))
    {
        if (HTREEITEM hItem = HitTestAtMessage())
            SetSelected(hItem, GetItemState(hItem, TVIS_SELECTED) == 0);
    }
    else
        ClearMultiSelection();
}

void CDragTreeCtrl::OnTreeKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pkKey = reinterpret_cast<NMTVKEYDOWN*>(pNMHDR);
    const HTREEITEM hCaret = GetSelectedItem();
    if (!m_bMultiSelect || hCaret == nullptr || (pkKey->wVKey != VK_UP && pkKey->wVKey != VK_DOWN))
        return;
    if (!KeyHeld(VK_SHIFT))
    {
        ClearMultiSelection();
        return;
    }
    if (m_hShiftAnchor == nullptr)
    {
        m_hShiftAnchor = hCaret;
        m_nLastArrowKey = pkKey->wVKey;
    }
    const HTREEITEM hNext =
        pkKey->wVKey == VK_UP ? GetPrevVisibleItem(m_hShiftAnchor) : GetNextVisibleItem(m_hShiftAnchor);
    if (hNext == nullptr)
        return;
    // Turning back shrinks the range: the anchor leaves it.
    if (pkKey->wVKey != m_nLastArrowKey)
        SetSelected(m_hShiftAnchor, false);
    SetSelected(hNext, true);
    EnsureVisible(hNext);
    m_nLastArrowKey = pkKey->wVKey;
    m_hShiftAnchor = hNext == hCaret ? nullptr : hNext;
}

void CDragTreeCtrl::OnRightClick(NMHDR*, LRESULT* pResult)
{
    if (!KeyHeld(VK_SHIFT) && !KeyHeld(VK_CONTROL))
        ClearMultiSelection();
    *pResult = 0;
}

void CDragTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemOld.hItem;
    if (m_hShiftAnchor == hItem)
        m_hShiftAnchor = nullptr;
    HTREEITEM hRestore = GetNextSiblingItem(hItem);
    if (hRestore == nullptr)
        hRestore = GetPrevSiblingItem(hItem);
    if (hRestore == nullptr)
        hRestore = GetParentItem(hItem);
    m_hCaretToRestore = hRestore;
}
