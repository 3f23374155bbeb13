#include "editor/CMainFrame.h"

#include "editor/CAvailableTemplatesDlg.h"
#include "editor/CEditorApp.h"
#include "editor/COptionsDlg.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CDocTemplate.h"
#include "platform/mfc/CWinApp.h"
#include "scene/object/NiCFormat.h"

#include <iterator>

namespace
{
// A folder option ends with a separator: the file dialogs and the save name put the file
// name straight after it. An empty folder stays empty, so the dialogs start in the current
// folder rather than at the root of the file system.
CString WithSeparator(const CString& kFolder)
{
    const int iLength = kFolder.GetLength();
    if (iLength == 0 || kFolder.GetAt(iLength - 1) == '/' || kFolder.GetAt(iLength - 1) == '\\')
        return kFolder;
    return kFolder + "/";
}

const UINT INDICATORS[] = {ID_SEPARATOR,      ID_INDICATOR_PICKPOINT, ID_INDICATOR_PICKNORMAL,
                           ID_INDICATOR_MODE, ID_INDICATOR_CAPS,      ID_INDICATOR_NUM,
                           ID_INDICATOR_SCRL};
} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_COMMAND(ID_PROPERTY_SHOWSELECTEDONLY, OnShowSelectedPropertyOnly)
ON_UPDATE_COMMAND_UI(ID_PROPERTY_SHOWSELECTEDONLY, OnUpdateShowSelectedPropertyOnly)
ON_COMMAND(ID_VIEW_WIREFRAMEPICK, OnWireframePick)
ON_UPDATE_COMMAND_UI(ID_VIEW_WIREFRAMEPICK, OnUpdateWireframePick)
ON_COMMAND(ID_EDIT_OPTIONS, OnOptions)
ON_COMMAND(ID_PROPERTY_SHOWTEMPLATELIST, OnShowTemplateList)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(INDICATORS, static_cast<int>(std::size(INDICATORS))))
        return -1;
    return 0;
}

void CMainFrame::SetModeText(const char* pcText)
{
    m_wndStatusBar.SetPaneText(3, pcText);
}

void CMainFrame::ShowChosenTool(UINT nToolCommand)
{
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i)
        if (m_wndToolBar.GetButtonStyle(i) == TBBS_CHECKGROUP)
            m_wndToolBar.CheckButton(m_wndToolBar.GetItemID(i), m_wndToolBar.GetItemID(i) == nToolCommand);
}

void CMainFrame::SetPickPointText(const CString& kText)
{
    m_wndStatusBar.SetPaneText(1, kText);
}

void CMainFrame::SetPickNormalText(const CString& kText)
{
    m_wndStatusBar.SetPaneText(2, CString("Normal: ") + kText);
}

void CMainFrame::SetWireframePick(bool bOn)
{
    m_bWireframePick = bOn;
    CWinApp* pkApp = AfxGetApp();
    for (POSITION posTemplate = pkApp->GetFirstDocTemplatePosition(); posTemplate != nullptr;)
    {
        CDocTemplate* pkTemplate = pkApp->GetNextDocTemplate(posTemplate);
        for (POSITION posDoc = pkTemplate->GetFirstDocPosition(); posDoc != nullptr;)
            if (auto* pkDoc = dynamic_cast<CPropertyDoc*>(pkTemplate->GetNextDoc(posDoc)))
                pkDoc->SetSelectedNode(pkDoc->GetSelectedNode());
    }
}

void CMainFrame::OnShowSelectedPropertyOnly()
{
    m_bSelectedPropertyOnly = !m_bSelectedPropertyOnly;
}

void CMainFrame::OnUpdateShowSelectedPropertyOnly(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bSelectedPropertyOnly ? 1 : 0);
}

void CMainFrame::OnWireframePick()
{
    SetWireframePick(!m_bWireframePick);
}

void CMainFrame::OnUpdateWireframePick(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bWireframePick ? 1 : 0);
}

void CMainFrame::OnOptions()
{
    CEditorApp* pkApp = CEditorApp::GetEditorApp();
    if (pkApp == nullptr)
        return;
    COptionsDlg kDialog(this);
    kDialog.m_strModelDirectory = pkApp->GetModelDirectory();
    kDialog.m_strScriptDirectory = pkApp->GetScriptDirectory();
    kDialog.m_fModelScale = pkApp->GetModelScale();
    kDialog.m_strTexturePath = pkApp->GetTexturePath() != nullptr ? pkApp->GetTexturePath() : "";
    if (kDialog.DoModal() != IDOK)
        return;
    kDialog.m_strModelDirectory = WithSeparator(kDialog.m_strModelDirectory);
    kDialog.m_strScriptDirectory = WithSeparator(kDialog.m_strScriptDirectory);
    pkApp->WriteProfileString("Options", "ModelDirectory", kDialog.m_strModelDirectory);
    pkApp->WriteProfileString("Options", "ScriptDirectory", kDialog.m_strScriptDirectory);
    pkApp->WriteProfileString("Options", "TexturePath", kDialog.m_strTexturePath);
    pkApp->SetTexturePath(kDialog.m_strTexturePath);
    pkApp->WriteProfileString("Options", "ModelScale", NiCFormat("%f", kDialog.m_fModelScale).c_str());
}

void CMainFrame::OnShowTemplateList()
{
    // Every command opens another list; each deletes itself when its window goes.
    auto* pkDialog = new CAvailableTemplatesDlg;
    pkDialog->ShowWindow(SW_SHOW);
}
