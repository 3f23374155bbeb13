#pragma once

#include "platform/mfc/CWnd.h"

#include <functional>
#include <unordered_map>

class CImageList;
struct _TREEITEM;
using HTREEITEM = _TREEITEM*;

// Insertion places (parent and sibling).
inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));

// Item fields of a notification.
constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;

// Item states.
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_EXPANDED = 0x0020;

// Expand codes and item relations.
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;

// Image lists of a tree.
constexpr int TVSIL_NORMAL = 0;
constexpr int TVSIL_STATE = 2;

// Hit test answer: on the item's text or image.
constexpr UINT TVHT_ONITEM = 0x0046;

// Notifications (WM_NOTIFY codes).
constexpr UINT NM_CLICK = static_cast<UINT>(-2);
constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
constexpr UINT NM_RCLICK = static_cast<UINT>(-5);
constexpr UINT TVN_SELCHANGING = static_cast<UINT>(-401);
constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
constexpr UINT TVN_ITEMEXPANDED = static_cast<UINT>(-406);
constexpr UINT TVN_BEGINDRAG = static_cast<UINT>(-407);
constexpr UINT TVN_DELETEITEM = static_cast<UINT>(-409);
constexpr UINT TVN_KEYDOWN = static_cast<UINT>(-412);

struct TVITEM
{
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    LPARAM lParam = 0;
};

struct NMTREEVIEW
{
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
    CPoint ptDrag;
};

struct NMTVKEYDOWN
{
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB
{
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare = nullptr;
    LPARAM lParam = 0;
};

// A tree view control. Its notifications go first to the control itself (ReflectNotify, so
// a derived control can take them over) and, when it does not take them, to its parent as
// WM_NOTIFY. Besides the caret, any item can carry the selected and drop-highlighted states.
class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)

public:
    CTreeCtrl();
    ~CTreeCtrl() override;

    // --- Items.
    HTREEITEM InsertItem(const char* pcText, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(const char* pcText, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems();
    UINT GetCount() const;
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, const char* pcText);
    uintptr_t GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, uintptr_t dwData);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL ItemHasChildren(HTREEITEM hItem) const;

    // --- Walking.
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetFirstVisibleItem() const;
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const;
    HTREEITEM GetSelectedItem() const;
    HTREEITEM GetDropHilightItem() const;
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;

    // --- Selection and display.
    // Moves the caret (null: none), with the selection-change notifications.
    BOOL SelectItem(HTREEITEM hItem);
    BOOL SelectDropTarget(HTREEITEM hItem);
    BOOL SelectSetFirstVisible(HTREEITEM hItem);
    BOOL Select(HTREEITEM hItem, UINT nCode);
    BOOL EnsureVisible(HTREEITEM hItem);
    BOOL Expand(HTREEITEM hItem, UINT nCode);
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // A new list holding the item's picture (the caller owns it); null without an image.
    CImageList* CreateDragImage(HTREEITEM hItem);
    BOOL SortChildren(HTREEITEM hItem);
    BOOL SortChildrenCB(const TVSORTCB* pSort);
    // Sorts the children of the item (null: the top level) by a comparison of two items.
    BOOL SortChildrenBy(HTREEITEM hParent, const std::function<int(HTREEITEM, HTREEITEM)>& fnCompare);

protected:
    // A notification of this control before its parent sees it: TRUE keeps it from the
    // parent. The base takes none.
    virtual BOOL ReflectNotify(NMHDR* pNMHDR, LRESULT* pResult);
    // Sends a notification through ReflectNotify, then to the parent; the result.
    LRESULT Notify(NMHDR& kHeader);
    // Binds the widget's events once the control has one (after DDX_Control or Create).
    void PreSubclassWindow() override;

private:
    void BindTreeEvents();
    void ShowState(HTREEITEM hItem);
    void NotifyDeleted(HTREEITEM hItem);
    TVITEM Describe(HTREEITEM hItem, UINT nMask) const;

    CImageList* m_pkNormalList = nullptr;
    CImageList* m_pkStateList = nullptr;
    std::unordered_map<HTREEITEM, UINT> m_kStates;
    HTREEITEM m_hDropHilite = nullptr;
    // The item DeleteItem reported itself, whose toolkit report is not passed on again.
    HTREEITEM m_hNotifiedDelete = nullptr;
};
