#include "editor/CSceneGraphView.h"

#include "editor/CChildFrame.h"
#include "editor/CPropertyDoc.h"
#include "editor/CUpdateHint.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "scene/graph/NiNode.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

IMPLEMENT_DYNCREATE(CSceneGraphView, CFormView)

BEGIN_MESSAGE_MAP(CSceneGraphView, CFormView)
ON_NOTIFY(TVN_SELCHANGED, IDC_SCENE_TREE, OnSelChanged)
ON_NOTIFY(NM_DBLCLK, IDC_SCENE_TREE, OnDblClk)
ON_BN_CLICKED(IDC_FILTER_NODES, OnNodesFilter)
ON_BN_CLICKED(IDC_FILTER_PLACEDNODES, OnPlacedNodesFilter)
ON_BN_CLICKED(IDC_FILTER_NAMEDOBJECTS, OnNamedObjectsFilter)
END_MESSAGE_MAP()

CSceneGraphView::CSceneGraphView() : CFormView(IDD_SCENEGRAPHVIEW) {}

void CSceneGraphView::ArrangeControls(wxWindow* pkHost)
{
    // "Filter:" beside a column of the three boxes, the tree filling the rest.
    auto* pkBoxes = new wxBoxSizer(wxVERTICAL);
    auto* pkTop = new wxBoxSizer(wxHORIZONTAL);
    auto* pkPane = new wxBoxSizer(wxVERTICAL);
    for (wxWindow* pkChild : pkHost->GetChildren())
    {
        if (dynamic_cast<wxCheckBox*>(pkChild) != nullptr)
            pkBoxes->Add(pkChild, 0, wxBOTTOM, 2);
        else if (dynamic_cast<wxStaticText*>(pkChild) != nullptr)
            pkTop->Add(pkChild, 0, wxRIGHT | wxTOP, 4);
    }
    pkTop->Add(pkBoxes, 1);
    pkPane->Add(pkTop, 0, wxALL, 4);
    if (wxWindow* pkTree = pkHost->FindWindow(CWnd::ToolkitId(IDC_SCENE_TREE)))
        pkPane->Add(pkTree, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
    pkHost->SetSizer(pkPane);
}

void CSceneGraphView::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCENE_TREE, m_kTree);
    DDX_Check(pDX, IDC_FILTER_NODES, m_bNodes);
    DDX_Check(pDX, IDC_FILTER_PLACEDNODES, m_bPlacedNodes);
    DDX_Check(pDX, IDC_FILTER_NAMEDOBJECTS, m_bNamedObjects);
}

CPropertyDoc* CSceneGraphView::GetModelDocument() const
{
    return dynamic_cast<CPropertyDoc*>(GetDocument());
}

void CSceneGraphView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    FillTree();
}

BOOL CSceneGraphView::FillTree()
{
    CPropertyDoc* pkDoc = GetModelDocument();
    m_kTree.SetScene(pkDoc != nullptr ? pkDoc->GetSceneRoot() : nullptr);
    return TRUE;
}

NiAVObject* CSceneGraphView::GetSelectedTreeNode() const
{
    const HTREEITEM hCaret = m_kTree.GetSelectedItem();
    return hCaret != nullptr ? reinterpret_cast<NiAVObject*>(m_kTree.GetItemData(hCaret)) : nullptr;
}

void CSceneGraphView::OnUpdate(CView*, LPARAM, CObject*)
{
    CPropertyDoc* pkDoc = GetModelDocument();
    NiAVObject* pkSelected = pkDoc != nullptr ? pkDoc->GetSelectedNode() : nullptr;
    if (pkSelected == nullptr || GetSelectedTreeNode() == pkSelected)
        return;
    const HTREEITEM hItem = m_kTree.FindItem(pkSelected);
    m_kTree.SelectItem(hItem);
    if (hItem != nullptr)
        m_kTree.EnsureVisible(hItem);
}

void CSceneGraphView::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pkNotify = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    CPropertyDoc* pkDoc = GetModelDocument();
    if (pkDoc == nullptr || !(pkNotify->itemNew.mask & TVIF_HANDLE) || pkNotify->itemNew.hItem == nullptr)
        return;
    pkDoc->SetSelectedNode(reinterpret_cast<NiAVObject*>(m_kTree.GetItemData(pkNotify->itemNew.hItem)));
    if (NiNode* pkRoot = pkDoc->GetSceneRoot())
        pkRoot->UpdateSubtree(0.0f);
    if (pkNotify->itemOld.hItem != nullptr)
    {
        CUpdateHint kHint;
        pkDoc->UpdateAllViews(this, 0, &kHint);
    }
}

void CSceneGraphView::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    // Only a frame that holds the view directly finds the object; inside the splitter the
    // parent is the splitter.
    if (auto* pkFrame = dynamic_cast<CChildFrame*>(GetParent()))
        pkFrame->SendMessage(WM_COMMAND, ID_VIEW_FINDOBJECT);
}

void CSceneGraphView::ApplyFilter(const BOOL& bTicked, CSceneGraphTreeCtrl::Filter pfnFilter)
{
    UpdateData(TRUE);
    if (bTicked)
        m_kTree.AddFilter(pfnFilter);
    else
        m_kTree.RemoveFilter(pfnFilter);
}

void CSceneGraphView::OnNodesFilter()
{
    ApplyFilter(m_bNodes, &CSceneGraphTreeCtrl::IsNode);
}

void CSceneGraphView::OnPlacedNodesFilter()
{
    ApplyFilter(m_bPlacedNodes, &CSceneGraphTreeCtrl::IsPlacedNode);
}

void CSceneGraphView::OnNamedObjectsFilter()
{
    ApplyFilter(m_bNamedObjects, &CSceneGraphTreeCtrl::IsNamed);
}
