#pragma once

#include "editor/CDragTreeCtrl.h"
#include "scene/object/NiPooledList.h"

class NiAVObject;
class NiNode;

// The scene tree: one item per scene object that every filter of its chain accepts, the
// editor's display geometry left out with its subtree. An object a filter refuses leaves its
// children to the nearest shown ancestor. Each item's data is its scene object.
class CSceneGraphTreeCtrl : public CDragTreeCtrl
{
    DECLARE_DYNAMIC(CSceneGraphTreeCtrl)

public:
    using Filter = bool (*)(NiAVObject* pkObject);

    CSceneGraphTreeCtrl() = default;

    // Empties the tree and fills it from the root (null: empty).
    void SetScene(NiNode* pkSceneRoot);
    NiNode* GetScene() const { return m_pkSceneRoot; }
    // Appends the filter to the chain and refills.
    void AddFilter(Filter pfnFilter);
    // Takes the filter's first occurrence out and refills; false when it was not there.
    bool RemoveFilter(Filter pfnFilter);
    // Empties the chain without refilling.
    void ClearFilters() { m_kFilters.RemoveAll(); }
    // The item of the object; null when the tree does not show it.
    HTREEITEM FindItem(const NiAVObject* pkObject) const;

    // Images: a node with children 7, a childless node 8, any other object 5 (4 selected).
    virtual void SetItemImages(NiAVObject* pkObject, HTREEITEM hItem);

    // The chain's filters, also offered to callers: a null object fails each.
    static bool IsNode(NiAVObject* pkObject);
    static bool IsPlacedNode(NiAVObject* pkObject);
    static bool IsNamed(NiAVObject* pkObject);

protected:
    void PreSubclassWindow() override;

private:
    void Refill();
    void Fill(HTREEITEM hParent, NiAVObject* pkObject);
    bool Accepts(NiAVObject* pkObject) const;

    NiNode* m_pkSceneRoot = nullptr;
    NiPooledList<Filter> m_kFilters{2};
};
