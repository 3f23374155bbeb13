#pragma once

#include "editor/CSceneGraphTreeCtrl.h"
#include "platform/mfc/CFormView.h"

class NiAVObject;
class CPropertyDoc;

// The scene tree of a model document (the right pane) with its three filters. Selecting an
// item selects its scene object in the document; a selection made elsewhere moves the caret
// to its item (or leaves no caret when the tree does not show it).
class CSceneGraphView : public CFormView
{
    DECLARE_DYNCREATE(CSceneGraphView)

public:
    CSceneGraphView();

    // Fills the tree from the document's scene root.
    BOOL FillTree();
    // The scene object of the tree's caret item; null without one.
    NiAVObject* GetSelectedTreeNode() const;
    CSceneGraphTreeCtrl& GetTree() { return m_kTree; }

    void OnInitialUpdate() override;
    // Any update: the caret follows the document's selected node.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void ArrangeControls(wxWindow* pkHost) override;

    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNodesFilter();
    void OnPlacedNodesFilter();
    void OnNamedObjectsFilter();

    DECLARE_MESSAGE_MAP()

private:
    CPropertyDoc* GetModelDocument() const;
    // Reads the boxes and puts the filter in the chain or takes it out.
    void ApplyFilter(const BOOL& bTicked, CSceneGraphTreeCtrl::Filter pfnFilter);

    CSceneGraphTreeCtrl m_kTree;
    BOOL m_bNodes = FALSE;
    BOOL m_bPlacedNodes = FALSE;
    BOOL m_bNamedObjects = FALSE;
};
