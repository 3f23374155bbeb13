#include "platform/mfc/CTreeCtrl.h"

#include "platform/mfc/CImageList.h"
#include "platform/mfc/TreeWidget.h"
#include "platform/mfc/VirtualKey.h"

#include <wx/imaglist.h>
#include <wx/settings.h>

// Sections: item handles; items; walking; selection and display; notifications.

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace
{
wxTreeItemId Id(HTREEITEM hItem)
{
    return wxTreeItemId(static_cast<void*>(hItem));
}

HTREEITEM Handle(const wxTreeItemId& kId)
{
    return kId.IsOk() ? static_cast<HTREEITEM>(kId.GetID()) : nullptr;
}

bool IsPlace(HTREEITEM hItem)
{
    return hItem == TVI_ROOT || hItem == TVI_FIRST || hItem == TVI_LAST;
}
} // namespace

CTreeCtrl::CTreeCtrl() = default;

CTreeCtrl::~CTreeCtrl() = default;

namespace
{
mfc::TreeWidget* TreeOf(wxWindow* pkWindow)
{
    return dynamic_cast<mfc::TreeWidget*>(pkWindow);
}
} // namespace

// --- Items.

HTREEITEM CTreeCtrl::InsertItem(const char* pcText, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return nullptr;
    const wxTreeItemId kParent =
        hParent == TVI_ROOT || hParent == nullptr ? pkTree->HiddenRoot() : Id(hParent);
    const wxString kText = wxString::FromUTF8(pcText != nullptr ? pcText : "");
    wxTreeItemId kItem;
    if (hInsertAfter == TVI_FIRST)
        kItem = pkTree->PrependItem(kParent, kText, nImage, nSelectedImage, new mfc::TreeItemValue(0));
    else if (hInsertAfter == TVI_LAST || hInsertAfter == nullptr || IsPlace(hInsertAfter))
        kItem = pkTree->AppendItem(kParent, kText, nImage, nSelectedImage, new mfc::TreeItemValue(0));
    else
        kItem = pkTree->InsertItem(kParent, Id(hInsertAfter), kText, nImage, nSelectedImage,
                                   new mfc::TreeItemValue(0));
    return Handle(kItem);
}

HTREEITEM CTreeCtrl::InsertItem(const char* pcText, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(pcText, -1, -1, hParent, hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    if (hItem == TVI_ROOT)
        return DeleteAllItems();
    // The toolkit unlinks the item before it reports it: the notification goes first, while
    // the item still has its place among its siblings.
    NotifyDeleted(hItem);
    m_hNotifiedDelete = hItem;
    pkTree->Delete(Id(hItem));
    m_hNotifiedDelete = nullptr;
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems()
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return FALSE;
    pkTree->DeleteChildren(pkTree->HiddenRoot());
    m_kStates.clear();
    m_hDropHilite = nullptr;
    return TRUE;
}

UINT CTreeCtrl::GetCount() const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    // The toolkit leaves a hidden root out of its count.
    return pkTree != nullptr ? static_cast<UINT>(pkTree->GetCount()) : 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return CString();
    return CString(std::string(pkTree->GetItemText(Id(hItem)).utf8_str()));
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, const char* pcText)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    pkTree->SetItemText(Id(hItem), wxString::FromUTF8(pcText != nullptr ? pcText : ""));
    return TRUE;
}

uintptr_t CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return 0;
    auto* pkValue = static_cast<mfc::TreeItemValue*>(pkTree->GetItemData(Id(hItem)));
    return pkValue != nullptr ? pkValue->m_uiValue : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, uintptr_t dwData)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    if (auto* pkValue = static_cast<mfc::TreeItemValue*>(pkTree->GetItemData(Id(hItem))))
        pkValue->m_uiValue = dwData;
    else
        pkTree->SetItemData(Id(hItem), new mfc::TreeItemValue(dwData));
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    nImage = pkTree->GetItemImage(Id(hItem), wxTreeItemIcon_Normal);
    nSelectedImage = pkTree->GetItemImage(Id(hItem), wxTreeItemIcon_Selected);
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    pkTree->SetItemImage(Id(hItem), nImage, wxTreeItemIcon_Normal);
    pkTree->SetItemImage(Id(hItem), nSelectedImage, wxTreeItemIcon_Selected);
    return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return 0;
    UINT nState = 0;
    if (auto kAt = m_kStates.find(hItem); kAt != m_kStates.end())
        nState = kAt->second;
    if (hItem == GetSelectedItem())
        nState |= TVIS_SELECTED;
    if (hItem == m_hDropHilite)
        nState |= TVIS_DROPHILITED;
    if (pkTree->IsExpanded(Id(hItem)))
        nState |= TVIS_EXPANDED;
    return nState & nStateMask;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    UINT& nKept = m_kStates[hItem];
    nKept = (nKept & ~nStateMask) | (nState & nStateMask & TVIS_SELECTED);
    if (nStateMask & TVIS_DROPHILITED)
        SelectDropTarget((nState & TVIS_DROPHILITED) ? hItem
                                                     : (m_hDropHilite == hItem ? nullptr : m_hDropHilite));
    if (nStateMask & TVIS_EXPANDED)
        Expand(hItem, (nState & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE);
    ShowState(hItem);
    return TRUE;
}

void CTreeCtrl::ShowState(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    auto kAt = m_kStates.find(hItem);
    const bool bSelected = kAt != m_kStates.end() && (kAt->second & TVIS_SELECTED) != 0;
    // Selected items beside the caret show in the selection colours.
    pkTree->SetItemBackgroundColour(Id(hItem), bSelected ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)
                                                         : wxNullColour);
    pkTree->SetItemTextColour(Id(hItem), bSelected ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                                   : wxNullColour);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    return pkTree != nullptr && hItem != nullptr && pkTree->ItemHasChildren(Id(hItem));
}

// --- Walking.

HTREEITEM CTreeCtrl::GetRootItem() const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || !pkTree->GetRootItem().IsOk())
        return nullptr;
    wxTreeItemIdValue kCookie;
    return Handle(pkTree->GetFirstChild(pkTree->GetRootItem(), kCookie));
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return nullptr;
    if (hItem == nullptr || hItem == TVI_ROOT)
        return GetRootItem();
    wxTreeItemIdValue kCookie;
    return Handle(pkTree->GetFirstChild(Id(hItem), kCookie));
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    return pkTree != nullptr && hItem != nullptr ? Handle(pkTree->GetNextSibling(Id(hItem))) : nullptr;
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    return pkTree != nullptr && hItem != nullptr ? Handle(pkTree->GetPrevSibling(Id(hItem))) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return nullptr;
    const wxTreeItemId kParent = pkTree->GetItemParent(Id(hItem));
    return kParent == pkTree->GetRootItem() ? nullptr : Handle(kParent);
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || GetRootItem() == nullptr)
        return nullptr;
    const HTREEITEM hFirst = Handle(pkTree->GetFirstVisibleItem());
    return hFirst != nullptr ? hFirst : GetRootItem();
}

// Visible items are those whose ancestors are all expanded, in display order.
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return nullptr;
    if (ItemHasChildren(hItem) && pkTree->IsExpanded(Id(hItem)))
        return GetChildItem(hItem);
    for (HTREEITEM hAt = hItem; hAt != nullptr; hAt = GetParentItem(hAt))
        if (HTREEITEM hNext = GetNextSiblingItem(hAt))
            return hNext;
    return nullptr;
}

HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM hItem) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return nullptr;
    HTREEITEM hPrev = GetPrevSiblingItem(hItem);
    if (hPrev == nullptr)
        return GetParentItem(hItem);
    while (ItemHasChildren(hPrev) && pkTree->IsExpanded(Id(hPrev)))
    {
        HTREEITEM hLast = GetChildItem(hPrev);
        while (HTREEITEM hNext = GetNextSiblingItem(hLast))
            hLast = hNext;
        hPrev = hLast;
    }
    return hPrev;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return nullptr;
    const wxTreeItemId kSelected = pkTree->GetSelection();
    return kSelected == pkTree->GetRootItem() ? nullptr : Handle(kSelected);
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const
{
    return m_hDropHilite;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    switch (nCode)
    {
    case TVGN_ROOT:
        return GetRootItem();
    case TVGN_NEXT:
        return GetNextSiblingItem(hItem);
    case TVGN_PREVIOUS:
        return GetPrevSiblingItem(hItem);
    case TVGN_PARENT:
        return GetParentItem(hItem);
    case TVGN_CHILD:
        return GetChildItem(hItem);
    case TVGN_FIRSTVISIBLE:
        return GetFirstVisibleItem();
    case TVGN_NEXTVISIBLE:
        return GetNextVisibleItem(hItem);
    case TVGN_PREVIOUSVISIBLE:
        return GetPrevVisibleItem(hItem);
    case TVGN_DROPHILITE:
        return GetDropHilightItem();
    case TVGN_CARET:
        return GetSelectedItem();
    default:
        return nullptr;
    }
}

// --- Selection and display.

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return FALSE;
    if (hItem == nullptr)
        pkTree->Unselect();
    else
        pkTree->SelectItem(Id(hItem));
    return TRUE;
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return FALSE;
    if (m_hDropHilite != nullptr)
        pkTree->SetItemDropHighlight(Id(m_hDropHilite), false);
    m_hDropHilite = hItem;
    if (hItem != nullptr)
        pkTree->SetItemDropHighlight(Id(hItem), true);
    return TRUE;
}

BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    pkTree->ScrollTo(Id(hItem));
    return TRUE;
}

BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode)
{
    switch (nCode)
    {
    case TVGN_CARET:
        return SelectItem(hItem);
    case TVGN_DROPHILITE:
        return SelectDropTarget(hItem);
    case TVGN_FIRSTVISIBLE:
        return SelectSetFirstVisible(hItem);
    default:
        return FALSE;
    }
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr)
        return FALSE;
    pkTree->EnsureVisible(Id(hItem));
    return TRUE;
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || hItem == nullptr || !ItemHasChildren(hItem))
        return FALSE;
    if (nCode == TVE_EXPAND)
        pkTree->Expand(Id(hItem));
    else if (nCode == TVE_COLLAPSE)
        pkTree->Collapse(Id(hItem));
    else
        pkTree->Toggle(Id(hItem));
    return TRUE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pFlags != nullptr)
        *pFlags = 0;
    if (pkTree == nullptr)
        return nullptr;
    int iFlags = 0;
    const wxTreeItemId kItem = pkTree->HitTest(wxPoint(pt.x, pt.y), iFlags);
    if (!kItem.IsOk() || kItem == pkTree->GetRootItem())
        return nullptr;
    if (pFlags != nullptr && (iFlags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL)))
        *pFlags = TVHT_ONITEM;
    return Handle(kItem);
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    CImageList*& pkSlot = nImageListType == TVSIL_STATE ? m_pkStateList : m_pkNormalList;
    CImageList* pkOld = pkSlot;
    pkSlot = pImageList;
    if (pkTree != nullptr)
    {
        wxImageList* pkList = pImageList != nullptr ? pImageList->GetToolkitList() : nullptr;
        if (nImageListType == TVSIL_STATE)
            pkTree->SetStateImageList(pkList);
        else
            pkTree->SetImageList(pkList);
    }
    return pkOld;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == TVSIL_STATE ? m_pkStateList : m_pkNormalList;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    wxImageList* pkImages = m_pkNormalList != nullptr ? m_pkNormalList->GetToolkitList() : nullptr;
    int nImage = -1;
    int nSelected = -1;
    if (pkImages == nullptr || !GetItemImage(hItem, nImage, nSelected) || nImage < 0 ||
        nImage >= pkImages->GetImageCount())
        return nullptr;
    int iWidth = 0;
    int iHeight = 0;
    pkImages->GetSize(nImage, iWidth, iHeight);
    auto* pkDrag = new CImageList;
    pkDrag->Create(iWidth, iHeight, ILC_MASK, 1, 1);
    pkDrag->Add(pkImages->GetBitmap(nImage));
    return pkDrag;
}

BOOL CTreeCtrl::SortChildren(HTREEITEM hItem)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return FALSE;
    pkTree->SetCompare(nullptr);
    pkTree->SortChildren(hItem == nullptr || hItem == TVI_ROOT ? pkTree->HiddenRoot() : Id(hItem));
    return TRUE;
}

BOOL CTreeCtrl::SortChildrenCB(const TVSORTCB* pSort)
{
    if (pSort == nullptr || pSort->lpfnCompare == nullptr)
        return FALSE;
    return SortChildrenBy(pSort->hParent,
                          [this, pSort](HTREEITEM hFirst, HTREEITEM hSecond)
                          {
                              return pSort->lpfnCompare(static_cast<LPARAM>(GetItemData(hFirst)),
                                                        static_cast<LPARAM>(GetItemData(hSecond)),
                                                        pSort->lParam);
                          });
}

BOOL CTreeCtrl::SortChildrenBy(HTREEITEM hParent, const std::function<int(HTREEITEM, HTREEITEM)>& fnCompare)
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr || !fnCompare)
        return FALSE;
    pkTree->SetCompare([&fnCompare](const wxTreeItemId& kFirst, const wxTreeItemId& kSecond)
                       { return fnCompare(Handle(kFirst), Handle(kSecond)); });
    pkTree->SortChildren(hParent == nullptr || hParent == TVI_ROOT ? pkTree->HiddenRoot() : Id(hParent));
    pkTree->SetCompare(nullptr);
    return TRUE;
}

// --- Notifications.

BOOL CTreeCtrl::ReflectNotify(NMHDR*, LRESULT*)
{
    return FALSE;
}

LRESULT CTreeCtrl::Notify(NMHDR& kHeader)
{
    kHeader.hwndFrom = this;
    kHeader.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    LRESULT lResult = 0;
    if (ReflectNotify(&kHeader, &lResult))
        return lResult;
    if (CWnd* pkParent = GetParent())
        pkParent->OnNotify(kHeader.idFrom, reinterpret_cast<LPARAM>(&kHeader), &lResult);
    return lResult;
}

TVITEM CTreeCtrl::Describe(HTREEITEM hItem, UINT nMask) const
{
    TVITEM kItem;
    if (hItem == nullptr)
        return kItem;
    kItem.mask = nMask | TVIF_HANDLE;
    kItem.hItem = hItem;
    kItem.state = GetItemState(hItem, ~0u);
    kItem.stateMask = ~0u;
    GetItemImage(hItem, kItem.iImage, kItem.iSelectedImage);
    kItem.lParam = static_cast<LPARAM>(GetItemData(hItem));
    return kItem;
}

void CTreeCtrl::NotifyDeleted(HTREEITEM hItem)
{
    NMTREEVIEW kNotify;
    kNotify.hdr.code = TVN_DELETEITEM;
    kNotify.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
    kNotify.itemOld.hItem = hItem;
    kNotify.itemOld.lParam = static_cast<LPARAM>(GetItemData(hItem));
    Notify(kNotify.hdr);
    m_kStates.erase(hItem);
    if (m_hDropHilite == hItem)
        m_hDropHilite = nullptr;
}

void CTreeCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    BindTreeEvents();
}

void CTreeCtrl::BindTreeEvents()
{
    mfc::TreeWidget* pkTree = TreeOf(m_pkWindow);
    if (pkTree == nullptr)
        return;
    constexpr UINT ALL = TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    auto selection = [this, pkTree](UINT nCode)
    {
        return [this, pkTree, nCode](wxTreeEvent& kEvent)
        {
            if (CWnd::FromToolkit(pkTree) != this || kEvent.GetItem() == pkTree->GetRootItem())
                return;
            NMTREEVIEW kNotify;
            kNotify.hdr.code = nCode;
            kNotify.itemOld = Describe(Handle(kEvent.GetOldItem()), ALL);
            kNotify.itemNew = Describe(Handle(kEvent.GetItem()), ALL);
            if (Notify(kNotify.hdr) != 0 && nCode == TVN_SELCHANGING)
                kEvent.Veto();
        };
    };
    pkTree->Bind(wxEVT_TREE_SEL_CHANGING, selection(TVN_SELCHANGING));
    pkTree->Bind(wxEVT_TREE_SEL_CHANGED, selection(TVN_SELCHANGED));
    auto expanded = [this, pkTree](UINT nAction)
    {
        return [this, pkTree, nAction](wxTreeEvent& kEvent)
        {
            kEvent.Skip();
            if (CWnd::FromToolkit(pkTree) != this)
                return;
            NMTREEVIEW kNotify;
            kNotify.hdr.code = TVN_ITEMEXPANDED;
            kNotify.action = nAction;
            kNotify.itemNew = Describe(Handle(kEvent.GetItem()), ALL);
            Notify(kNotify.hdr);
        };
    };
    pkTree->Bind(wxEVT_TREE_ITEM_EXPANDED, expanded(TVE_EXPAND));
    pkTree->Bind(wxEVT_TREE_ITEM_COLLAPSED, expanded(TVE_COLLAPSE));
    pkTree->Bind(wxEVT_TREE_DELETE_ITEM,
                 [this, pkTree](wxTreeEvent& kEvent)
                 {
                     kEvent.Skip();
                     const HTREEITEM hItem = Handle(kEvent.GetItem());
                     if (CWnd::FromToolkit(pkTree) != this || kEvent.GetItem() == pkTree->GetRootItem() ||
                         hItem == m_hNotifiedDelete)
                         return;
                     NotifyDeleted(hItem);
                 });
    pkTree->Bind(wxEVT_TREE_KEY_DOWN,
                 [this, pkTree](wxTreeEvent& kEvent)
                 {
                     kEvent.Skip();
                     if (CWnd::FromToolkit(pkTree) != this)
                         return;
                     NMTVKEYDOWN kNotify;
                     kNotify.hdr.code = TVN_KEYDOWN;
                     kNotify.wVKey = static_cast<WORD>(mfc::VirtualKeyFromToolkit(kEvent.GetKeyCode()));
                     Notify(kNotify.hdr);
                 });
    pkTree->Bind(wxEVT_TREE_BEGIN_DRAG,
                 [this, pkTree](wxTreeEvent& kEvent)
                 {
                     // The control runs its own drag: the toolkit's stays off.
                     if (CWnd::FromToolkit(pkTree) != this)
                         return;
                     NMTREEVIEW kNotify;
                     kNotify.hdr.code = TVN_BEGINDRAG;
                     kNotify.itemNew = Describe(Handle(kEvent.GetItem()), ALL);
                     kNotify.ptDrag = CPoint{kEvent.GetPoint().x, kEvent.GetPoint().y};
                     Notify(kNotify.hdr);
                 });
    auto plain = [this, pkTree](UINT nCode)
    {
        return [this, pkTree, nCode](wxMouseEvent& kEvent)
        {
            kEvent.Skip();
            if (CWnd::FromToolkit(pkTree) != this)
                return;
            NMHDR kHeader;
            kHeader.code = nCode;
            Notify(kHeader);
        };
    };
    pkTree->Bind(wxEVT_LEFT_UP, plain(NM_CLICK));
    pkTree->Bind(wxEVT_LEFT_DCLICK, plain(NM_DBLCLK));
    pkTree->Bind(wxEVT_TREE_ITEM_RIGHT_CLICK,
                 [this, pkTree](wxTreeEvent& kEvent)
                 {
                     kEvent.Skip();
                     if (CWnd::FromToolkit(pkTree) != this)
                         return;
                     NMHDR kHeader;
                     kHeader.code = NM_RCLICK;
                     Notify(kHeader);
                 });
}
