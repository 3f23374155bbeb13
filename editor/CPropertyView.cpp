#include "editor/CPropertyView.h"

#include "editor/CNifView.h"
#include "editor/CPickTemplateDlg.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CSceneGraphView.h"
#include "editor/CUpdateHint.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "scene/graph/NiAVObject.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include <memory>

IMPLEMENT_DYNCREATE(CPropertyView, CFormView)

BEGIN_MESSAGE_MAP(CPropertyView, CFormView)
ON_BN_CLICKED(IDC_ADD_PROPERTY, OnAddProperty)
ON_BN_CLICKED(IDC_DELETE_PROPERTY, OnDeleteProperty)
ON_BN_CLICKED(IDC_EDIT_PROPERTY, OnEditProperty)
ON_LBN_SELCHANGE(IDC_PROPERTY_LIST, OnSelChangeList)
ON_LBN_DBLCLK(IDC_PROPERTY_LIST, OnEditProperty)
END_MESSAGE_MAP()

CPropertyView::CPropertyView() : CFormView(IDD_PROPERTYVIEW) {}

void CPropertyView::ArrangeControls(wxWindow* pkHost)
{
    // The list fills the pane above the three buttons.
    auto* pkPane = new wxBoxSizer(wxVERTICAL);
    if (wxWindow* pkList = pkHost->FindWindow(CWnd::ToolkitId(IDC_PROPERTY_LIST)))
        pkPane->Add(pkList, 1, wxEXPAND | wxALL, 4);
    for (UINT nID : {IDC_ADD_PROPERTY, IDC_DELETE_PROPERTY, IDC_EDIT_PROPERTY})
        if (wxWindow* pkButton = pkHost->FindWindow(CWnd::ToolkitId(nID)))
            pkPane->Add(pkButton, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
    pkHost->SetSizer(pkPane);
}

void CPropertyView::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_PROPERTY, m_kEditButton);
    DDX_Control(pDX, IDC_DELETE_PROPERTY, m_kDeleteButton);
    DDX_Control(pDX, IDC_PROPERTY_LIST, m_kPropertyList);
}

CPropertyDoc* CPropertyView::GetModelDocument() const
{
    return dynamic_cast<CPropertyDoc*>(GetDocument());
}

SKModelPropertyInstance* CPropertyView::GetSelectedInstance() const
{
    const int iSelected = m_kPropertyList.GetCurSel();
    if (iSelected == LB_ERR)
        return nullptr;
    return reinterpret_cast<SKModelPropertyInstance*>(m_kPropertyList.GetItemData(iSelected));
}

SKModelProperty* CPropertyView::GetSelectedTemplate() const
{
    SKModelPropertyInstance* pkInstance = GetSelectedInstance();
    return pkInstance != nullptr ? pkInstance->GetOriginalTemplate() : nullptr;
}

const char* CPropertyView::SelectedNodeName() const
{
    CPropertyDoc* pkDoc = GetModelDocument();
    CSceneGraphView* pkTree = pkDoc != nullptr ? pkDoc->GetSceneGraphView() : nullptr;
    NiAVObject* pkNode = pkTree != nullptr ? pkTree->GetSelectedTreeNode() : nullptr;
    const char* pcName = pkNode != nullptr ? pkNode->GetName() : nullptr;
    return pcName != nullptr && pcName[0] != '\0' ? pcName : nullptr;
}

void CPropertyView::OnUpdate(CView*, LPARAM, CObject* pHint)
{
    if (pHint == nullptr || !pHint->IsKindOf(RUNTIME_CLASS(CUpdateHint)))
        return;
    m_kPropertyList.ResetContent();
    const char* pcNode = SelectedNodeName();
    SKNamedModelPropertyList* pkList =
        pcNode != nullptr ? GetModelDocument()->GetPropertySet()->GetPropertyList(pcNode) : nullptr;
    if (pkList == nullptr)
        return;
    for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
    {
        SKModelProperty* pkProperty = pkInstance->GetProperty();
        const std::unique_ptr<char[]> pcText =
            pkProperty != nullptr ? pkProperty->GetName().GetCString() : nullptr;
        const int iEntry = m_kPropertyList.AddString(pcText ? pcText.get() : "");
        if (iEntry != LB_ERR)
            m_kPropertyList.SetItemData(iEntry, reinterpret_cast<uintptr_t>(pkInstance));
    }
}

void CPropertyView::OnSelChangeList()
{
    const BOOL bSelected = m_kPropertyList.GetCurSel() != LB_ERR;
    m_kDeleteButton.EnableWindow(bSelected);
    m_kEditButton.EnableWindow(bSelected);
}

void CPropertyView::OnAddProperty()
{
    CPickTemplateDlg kPick;
    if (kPick.DoModal() != IDOK)
        return;
    const char* pcNode = SelectedNodeName();
    if (pcNode == nullptr)
    {
        AfxMessageBox("The selected object doesn't have a name. You can only attach properties to nodes with "
                      "names.");
        return;
    }
    GetModelDocument()->GetPropertySet()->AddToSet(pcNode, kPick.GetPickedTemplate());
    CUpdateHint kHint;
    GetModelDocument()->UpdateAllViews(nullptr, 0, &kHint);
}

void CPropertyView::OnDeleteProperty()
{
    SKModelPropertyInstance* pkInstance = GetSelectedInstance();
    // The list may outlive the tree's caret (a refilled or unselected tree): without a named
    // node there is no list to take the entry from.
    const char* pcNode = SelectedNodeName();
    if (pkInstance == nullptr || pcNode == nullptr)
        return;
    SKNamedModelPropertyList* pkList = GetModelDocument()->GetPropertySet()->GetPropertyList(pcNode);
    if (pkList == nullptr || !pkList->RemoveInstance(pkInstance))
        return;
    m_kPropertyList.DeleteString(static_cast<UINT>(m_kPropertyList.GetCurSel()));
    // Nothing holds the instance now: its geometry goes from the view and the instance goes.
    if (SKModelProperty* pkProperty = CNifView::ShownProperty(*pkInstance))
        pkProperty->ShowInView(false, nullptr, nullptr);
    delete pkInstance;
}

void CPropertyView::OnEditProperty()
{
    SKModelPropertyInstance* pkInstance = GetSelectedInstance();
    if (pkInstance == nullptr)
        return;
    AddPropertyPages(GetSafeHwnd(), pkInstance->GetOriginalTemplate());
}
