#include "editor/CChildFrame.h"

#include "editor/CChangeLightDlg.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CCreateContext.h"
#include "platform/mfc/CDocTemplate.h"
#include "platform/mfc/CWinApp.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"

#include <set>
#include <vector>

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
ON_COMMAND(ID_VIEW_FINDOBJECT, OnFindObject)
ON_UPDATE_COMMAND_UI(ID_VIEW_FINDOBJECT, OnUpdateFindObject)
ON_COMMAND(ID_VIEW_PANTOOL, OnPanTool)
ON_COMMAND(ID_VIEW_ORBITTOOL, OnOrbitTool)
ON_COMMAND(ID_VIEW_ZOOMTOOL, OnZoomTool)
ON_COMMAND(ID_VIEW_SELECTIONTOOL, OnSelectionTool)
ON_COMMAND(ID_VIEW_LOCATETOOL, OnLocateTool)
ON_COMMAND(ID_VIEW_ROTATETOOL, OnRotateTool)
ON_COMMAND(ID_VIEW_CHANGELIGHT, OnChangeLight)
ON_COMMAND_RANGE(ID_VIEW_LARGEICON, ID_VIEW_DETAILS, OnViewStyle)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_LARGEICON, ID_VIEW_BYNAME, OnUpdateViewStyles)
END_MESSAGE_MAP()

BOOL CChildFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    m_pkDocument = pContext != nullptr ? pContext->m_pCurrentDoc : nullptr;
    if (!m_wndSplitter.CreateStatic(this, 1, 3, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPropertyView), CSize{200, 100}, pContext) ||
        !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CNifView), CSize{400, 500}, pContext) ||
        !m_wndSplitter.CreateView(0, 2, RUNTIME_CLASS(CSceneGraphView), CSize{200, 100}, pContext))
    {
        m_wndSplitter.DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

CNifView* CChildFrame::GetRightPane() const
{
    return dynamic_cast<CNifView*>(m_wndSplitter.GetPane(0, 1));
}

void CChildFrame::PostNcDestroy()
{
    ReleaseLocalTemplates(m_pkDocument);
    CMDIChildWnd::PostNcDestroy();
}

CPropertyDoc* CChildFrame::GetModelDocument()
{
    return dynamic_cast<CPropertyDoc*>(GetActiveDocument());
}

void CChildFrame::OnFindObject()
{
    CPropertyDoc* pkDoc = GetModelDocument();
    CNifView* pkView = pkDoc != nullptr ? pkDoc->GetNifView() : nullptr;
    if (pkView != nullptr)
        pkView->ZoomToNode(pkDoc->GetSelectedNode());
}

void CChildFrame::OnUpdateFindObject(CCmdUI*) {}

void CChildFrame::SelectTool(int iTool)
{
    CPropertyDoc* pkDoc = GetModelDocument();
    if (CNifView* pkView = pkDoc != nullptr ? pkDoc->GetNifView() : nullptr)
        pkView->SelectCameraTool(iTool);
}

void CChildFrame::OnPanTool()
{
    SelectTool(1);
}

void CChildFrame::OnOrbitTool()
{
    SelectTool(2);
}

void CChildFrame::OnZoomTool()
{
    SelectTool(3);
}

void CChildFrame::OnSelectionTool()
{
    SelectTool(4);
}

void CChildFrame::OnLocateTool()
{
    SelectTool(5);
}

void CChildFrame::OnRotateTool()
{
    SelectTool(6);
}

void CChildFrame::OnViewStyle(UINT nCommandID)
{
    static const DWORD s_adwStyles[] = {2, 0, 3, 1};
    if (CNifView* pkPane = GetRightPane())
        pkPane->ModifyStyle(3, s_adwStyles[nCommandID - ID_VIEW_LARGEICON]);
}

void CChildFrame::OnUpdateViewStyles(CCmdUI* pCmdUI)
{
    CNifView* pkPane = GetRightPane();
    if (pkPane == nullptr)
    {
        pCmdUI->Enable(FALSE);
        return;
    }
    const DWORD dwStyle = pkPane->GetStyle() & 3;
    pCmdUI->Enable(TRUE);
    if (pCmdUI->m_nID == ID_VIEW_LINEUP)
        pCmdUI->Enable(dwStyle == 0 || dwStyle == 2);
    else if (pCmdUI->m_nID != ID_VIEW_BYNAME)
    {
        static const DWORD s_adwStyles[] = {2, 0, 3, 1};
        pCmdUI->SetCheck(dwStyle == s_adwStyles[pCmdUI->m_nID - ID_VIEW_LARGEICON] ? 1 : 0);
    }
}

void ReleaseLocalTemplates(const void* pkClosingDocument)
{
    std::vector<CPropertyDoc*> kOthers;
    CWinApp* pkApp = AfxGetApp();
    for (POSITION posTemplate = pkApp != nullptr ? pkApp->GetFirstDocTemplatePosition() : nullptr;
         posTemplate != nullptr;)
    {
        CDocTemplate* pkTemplate = pkApp->GetNextDocTemplate(posTemplate);
        for (POSITION posDoc = pkTemplate->GetFirstDocPosition(); posDoc != nullptr;)
        {
            CDocument* pkDoc = pkTemplate->GetNextDoc(posDoc);
            if (pkDoc != pkClosingDocument)
                if (auto* pkModel = dynamic_cast<CPropertyDoc*>(pkDoc))
                    kOthers.push_back(pkModel);
        }
    }
    if (kOthers.empty())
    {
        g_kModelPropertyManager.ClearLocalTemplates();
        return;
    }
    std::set<const SKModelProperty*> kUsed;
    for (CPropertyDoc* pkDoc : kOthers)
        for (SKNamedModelPropertyList* pkList : pkDoc->GetPropertySet()->GetPropertyLists())
            for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            {
                kUsed.insert(pkInstance->GetOriginalTemplate());
                kUsed.insert(pkInstance->GetProperty());
            }
    std::vector<SKModelProperty*> kUnused;
    for (SKModelProperty* pkTemplate : g_kModelPropertyManager.GetLocalTemplates())
        if (kUsed.count(pkTemplate) == 0)
            kUnused.push_back(pkTemplate);
    for (SKModelProperty* pkTemplate : kUnused)
        g_kModelPropertyManager.RemoveTemplate(SKModelPropertyManager::LOCAL_TEMPLATES, pkTemplate, 1);
}

void CChildFrame::OnChangeLight()
{
    auto* pkDialog = new CChangeLightDlg(GetModelDocument());
    if (!pkDialog->Create(IDD_CHANGELIGHT, this))
    {
        delete pkDialog;
        return;
    }
    pkDialog->ShowWindow(SW_SHOW);
}
