#pragma once

#include "platform/mfc/CImageList.h"
#include "platform/mfc/CTreeCtrl.h"

#include <cstdint>
#include <memory>

// A tree control with image rules, multi-selection and drag and drop. Images: AddImages
// builds the normal image list from bitmaps, and an image may have an "open" image right after
// it that items show while expanded. Multi-selection (off at first): Ctrl+click toggles an
// item, Shift+click and Shift+arrow select ranges; the caret stays a single item. Dragging
// needs a drop handler (SetDropHandler): items whose image is draggable can be dragged onto
// items whose image is a drop target, and the handler is called for each selected item.
class CDragTreeCtrl : public CTreeCtrl
{
    DECLARE_DYNAMIC(CDragTreeCtrl)

public:
    // Called per item by the walks and on a drop (the user data is then the drop target);
    // false stops a walk.
    using ItemCallback = bool (*)(CDragTreeCtrl* pkTree, HTREEITEM hItem, void* pvUserData);

    CDragTreeCtrl();
    ~CDragTreeCtrl() override;

    // --- Images.
    // Index of the first added image; -1 when the bitmap does not load.
    int AddImages(UINT nBitmapID, int nCount, COLORREF crMask);
    int AddStateImages(UINT nBitmapID, int nCount, COLORREF crMask);
    // Once, when the normal list has images: the bitmap's images become overlays 1, 2, ...
    int AddOverlayImages(UINT nBitmapID, COLORREF crMask);
    void SetOpenImage(int nImage, bool bOpen = true) { SetBit(m_uiOpenImages, nImage, bOpen); }
    bool HasOpenImage(int nImage) const { return TestBit(m_uiOpenImages, nImage); }
    void SetDraggable(int nImage, bool bOn = true) { SetBit(m_uiDraggable, nImage, bOn); }
    void SetDropTarget(int nImage, bool bOn = true) { SetBit(m_uiDropTargets, nImage, bOn); }
    virtual bool CanDrag(HTREEITEM hItem, int nImage);
    virtual bool CanDrop(HTREEITEM hItem, int nImage);

    // --- Selection.
    void EnableMultiSelect(bool bOn);
    bool IsMultiSelect() const { return m_bMultiSelect; }
    void SetSelected(HTREEITEM hItem, bool bSelected);
    void ClearMultiSelection();
    void SelectRange(HTREEITEM hFirst, HTREEITEM hSecond);
    // Children before their parent, siblings in order; a start item walks its subtree, null
    // the whole tree. False when a callback stopped the walk.
    bool ForEachSelectedItem(ItemCallback pfnCallback, HTREEITEM hStart, void* pvUserData);
    bool ForEachItem(ItemCallback pfnCallback, HTREEITEM hStart, void* pvUserData);
    // The item under the pointer now.
    HTREEITEM HitTestAtMessage() const;

    // --- Dragging.
    // Keeps the handler and, the first time a bitmap is given, makes the cursor images from
    // it: no-drop and single (and multiple with multi-selection).
    void SetDropHandler(ItemCallback pfnHandler, UINT nBitmapID, COLORREF crMask);
    bool IsDragging() const { return m_pkActiveDragList != nullptr; }
    // A drop handler that moves the item under the target (user data) as its last child.
    static bool MoveItemToTarget(CDragTreeCtrl* pkTree, HTREEITEM hItem, void* pvTarget);

    // --- Order.
    void SetCompare(PFNTVCOMPARE pfnCompare, LPARAM lData);
    // Sorts every level, by the compare function when one is set, else by text.
    void SortAll();
    void ExpandAll(UINT nCode, HTREEITEM hStart);
    // Sorts by the image index kept in each item's data at the offset, then by text.
    void SortByImageThenText(int iKeyOffset);

protected:
    BOOL ReflectNotify(NMHDR* pNMHDR, LRESULT* pResult) override;
    virtual void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnTreeKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);

    void OnMouseMove(UINT nFlags, CPoint kPoint) override;
    void OnLButtonUp(UINT nFlags, CPoint kPoint) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnCaptureChanged(CWnd* pkWnd) override;

private:
    static void SetBit(uint32_t& uiMask, int nBit, bool bOn);
    static bool TestBit(uint32_t uiMask, int nBit);
    static int AddBitmapTo(CImageList& kList, int& iWidth, int& iHeight, UINT nBitmapID, int nCount,
                           COLORREF crMask);
    bool Walk(HTREEITEM hFirst, bool bSiblings, bool bSelectedOnly, ItemCallback pfnCallback,
              void* pvUserData);
    // A walk of the start item's subtree, or of the whole tree (restoring the caret a
    // deletion during it chose).
    bool WalkFrom(HTREEITEM hStart, bool bSelectedOnly, ItemCallback pfnCallback, void* pvUserData);
    int ImageOf(HTREEITEM hItem) const;
    HTREEITEM DropTargetAt(CPoint kPoint);
    // Ends a drag: timer, capture, picture and pointer; the drop itself is the caller's.
    void StopDragging();
    void SortLevel(HTREEITEM hParent);

    int m_iOverlayCount = 0;
    int m_iSortKeyOffset = 0;
    int m_iNormalWidth = 0;
    int m_iNormalHeight = 0;
    int m_iStateWidth = 0;
    int m_iStateHeight = 0;
    CImageList m_kNormalImages;
    CImageList m_kStateImages;
    uint32_t m_uiOpenImages = 0;
    bool m_bOverlaysAdded = false;
    bool m_bMultiSelect = false;
    bool m_bHasSelection = false;
    bool m_bNotifying = true;
    HTREEITEM m_hShiftAnchor = nullptr;
    HTREEITEM m_hCaretToRestore = nullptr;
    UINT m_nLastArrowKey = 0;
    HTREEITEM m_hSortParent = nullptr;
    PFNTVCOMPARE m_pfnCompare = nullptr;
    LPARAM m_lCompareData = 0;
    CImageList m_kDragImages;
    CImageList* m_pkActiveDragList = nullptr;
    ItemCallback m_pfnDropHandler = nullptr;
    uint32_t m_uiDraggable = 0;
    uint32_t m_uiDropTargets = 0;
    int m_iNoDropCursor = 0;
    int m_iSingleCursor = 1;
    int m_iMultipleCursor = 1;
    // The picture of a dragged item when no drag images were given.
    std::unique_ptr<CImageList> m_spItemDragImage;
};
