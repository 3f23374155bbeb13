#include "editor/CSceneGraphTreeCtrl.h"

#include "editor/resources/Resource.h"
#include "properties/DisplayModelExtraData.h"
#include "scene/graph/NiNode.h"

#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CSceneGraphTreeCtrl, CDragTreeCtrl)

namespace
{
// The mask colour of the tree's bitmaps: pure red.
constexpr COLORREF IMAGE_MASK = 255;
} // namespace

void CSceneGraphTreeCtrl::PreSubclassWindow()
{
    CDragTreeCtrl::PreSubclassWindow();
    EnableMultiSelect(false);
    AddImages(IDB_TREE_FOLDERS, 4, IMAGE_MASK);
    SetOpenImage(0);
    SetOpenImage(2);
    AddImages(IDB_TREE_OBJECTS, 5, IMAGE_MASK);
    SetDropTarget(0);
    SetDropTarget(1);
}

void CSceneGraphTreeCtrl::SetScene(NiNode* pkSceneRoot)
{
    m_pkSceneRoot = pkSceneRoot;
    Refill();
}

void CSceneGraphTreeCtrl::AddFilter(Filter pfnFilter)
{
    m_kFilters.AddTail(pfnFilter);
    Refill();
}

bool CSceneGraphTreeCtrl::RemoveFilter(Filter pfnFilter)
{
    auto* pkNode = m_kFilters.FindPos(pfnFilter);
    if (pkNode == nullptr)
        return false;
    m_kFilters.RemovePos(pkNode);
    Refill();
    return true;
}

void CSceneGraphTreeCtrl::Refill()
{
    DeleteAllItems();
    Fill(nullptr, m_pkSceneRoot);
}

bool CSceneGraphTreeCtrl::Accepts(NiAVObject* pkObject) const
{
    for (auto* pkNode = m_kFilters.GetHeadPos(); pkNode != nullptr; pkNode = pkNode->m_pNext)
        if (!pkNode->m_item(pkObject))
            return false;
    return true;
}

// Iterative, so a deep model cannot exhaust the stack; siblings are taken in child order.
void CSceneGraphTreeCtrl::Fill(HTREEITEM hParent, NiAVObject* pkObject)
{
    std::vector<std::pair<HTREEITEM, NiAVObject*>> kPending{{hParent, pkObject}};
    while (!kPending.empty())
    {
        auto [hUnder, pkAt] = kPending.back();
        kPending.pop_back();
        if (pkAt == nullptr || DisplayModelExtraData::IsMarked(pkAt))
            continue;
        HTREEITEM hItem = nullptr;
        if (Accepts(pkAt))
        {
            const char* pcName = pkAt->GetName();
            hItem = InsertItem(pcName != nullptr && pcName[0] != '\0' ? pcName : "noname",
                               hUnder != nullptr ? hUnder : TVI_ROOT, TVI_LAST);
            SetItemImages(pkAt, hItem);
            SetItemData(hItem, reinterpret_cast<uintptr_t>(pkAt));
        }
        if (auto* pkNode = NiDynamicCast<NiNode>(pkAt))
            for (uint32_t i = pkNode->GetArrayCount(); i-- > 0;)
                if (NiAVObject* pkChild = pkNode->GetAt(i))
                    kPending.emplace_back(hItem != nullptr ? hItem : hUnder, pkChild);
    }
}

void CSceneGraphTreeCtrl::SetItemImages(NiAVObject* pkObject, HTREEITEM hItem)
{
    if (auto* pkNode = NiDynamicCast<NiNode>(pkObject))
    {
        const int nImage = pkNode->GetChildCount() > 0 ? 7 : 8;
        SetItemImage(hItem, nImage, nImage);
        return;
    }
    SetItemImage(hItem, 5, 4);
}

HTREEITEM CSceneGraphTreeCtrl::FindItem(const NiAVObject* pkObject) const
{
    std::vector<HTREEITEM> kPending;
    if (HTREEITEM hRoot = GetRootItem())
        kPending.push_back(hRoot);
    // Depth first: an item, then its children, then its later siblings.
    while (!kPending.empty())
    {
        const HTREEITEM hItem = kPending.back();
        kPending.pop_back();
        if (reinterpret_cast<const NiAVObject*>(GetItemData(hItem)) == pkObject)
            return hItem;
        if (HTREEITEM hNext = GetNextSiblingItem(hItem))
            kPending.push_back(hNext);
        if (ItemHasChildren(hItem))
            if (HTREEITEM hChild = GetChildItem(hItem))
                kPending.push_back(hChild);
    }
    return nullptr;
}

bool CSceneGraphTreeCtrl::IsNode(NiAVObject* pkObject)
{
    return NiDynamicCast<NiNode>(pkObject) != nullptr;
}

bool CSceneGraphTreeCtrl::IsPlacedNode(NiAVObject* pkObject)
{
    auto* pkNode = NiDynamicCast<NiNode>(pkObject);
    if (pkNode == nullptr)
        return false;
    return pkNode->GetChildCount() == 0 || !(pkNode->GetTranslate() == NiPoint3::ZERO) ||
           !(pkNode->GetRotate() == NiRotationMatrix::IDENTITY);
}

bool CSceneGraphTreeCtrl::IsNamed(NiAVObject* pkObject)
{
    const char* pcName = pkObject != nullptr ? pkObject->GetName() : nullptr;
    return pcName != nullptr && pcName[0] != '\0';
}
