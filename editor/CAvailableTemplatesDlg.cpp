#include "editor/CAvailableTemplatesDlg.h"

#include "editor/CNewTemplateDlg.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CRenameTemplateDlg.h"
#include "editor/CUpdateHint.h"
#include "editor/TemplateListEntries.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CFrameWnd.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CAvailableTemplatesDlg, CDialog)

BEGIN_MESSAGE_MAP(CAvailableTemplatesDlg, CDialog)
ON_BN_CLICKED(IDC_MOVE_TO_LOCAL, OnMoveToLocal)
ON_BN_CLICKED(IDC_MOVE_TO_GLOBAL, OnMoveToGlobal)
ON_BN_CLICKED(IDC_NEW_GLOBAL, OnNewGlobal)
ON_BN_CLICKED(IDC_NEW_LOCAL, OnNewLocal)
ON_BN_CLICKED(IDC_DELETE_TEMPLATE, OnDelete)
ON_BN_CLICKED(IDC_EDIT_TEMPLATE, OnEdit)
ON_BN_CLICKED(IDC_RENAME_TEMPLATE, OnRename)
ON_BN_CLICKED(IDC_COPY_TO_LOCAL, OnCopyToLocal)
ON_BN_CLICKED(IDC_DUPLICATE_TEMPLATE, OnDuplicate)
ON_LBN_SELCHANGE(IDC_GLOBAL_TEMPLATES, OnSelChangeGlobal)
ON_LBN_SELCHANGE(IDC_LOCAL_TEMPLATES, OnSelChangeLocal)
ON_LBN_DBLCLK(IDC_GLOBAL_TEMPLATES, OnEdit)
ON_LBN_DBLCLK(IDC_LOCAL_TEMPLATES, OnEdit)
END_MESSAGE_MAP()

namespace
{
constexpr int32_t GLOBAL = SKModelPropertyManager::GLOBAL_TEMPLATES;
constexpr int32_t LOCAL = SKModelPropertyManager::LOCAL_TEMPLATES;

std::vector<CAvailableTemplatesDlg*>& OpenDialogs()
{
    static std::vector<CAvailableTemplatesDlg*> s_kOpen;
    return s_kOpen;
}

CPropertyDoc* ActiveModelDocument()
{
    CWnd* pkMain = AfxGetMainWnd();
    auto* pkFrame = dynamic_cast<CFrameWnd*>(pkMain);
    CFrameWnd* pkActive = pkFrame != nullptr ? pkFrame->GetActiveFrame() : nullptr;
    return pkActive != nullptr ? dynamic_cast<CPropertyDoc*>(pkActive->GetActiveDocument()) : nullptr;
}
} // namespace

CAvailableTemplatesDlg::CAvailableTemplatesDlg()
{
    OpenDialogs().push_back(this);
    Create(IDD_AVAILABLETEMPLATES, AfxGetMainWnd());
}

CAvailableTemplatesDlg::~CAvailableTemplatesDlg()
{
    auto& kOpen = OpenDialogs();
    kOpen.erase(std::remove(kOpen.begin(), kOpen.end(), this), kOpen.end());
}

void CAvailableTemplatesDlg::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    delete this;
}

void CAvailableTemplatesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GLOBAL_TEMPLATES, m_kGlobal);
    DDX_Control(pDX, IDC_LOCAL_TEMPLATES, m_kLocal);
    DDX_Control(pDX, IDC_MOVE_TO_LOCAL, m_kMoveToLocal);
    DDX_Control(pDX, IDC_MOVE_TO_GLOBAL, m_kMoveToGlobal);
    DDX_Control(pDX, IDC_DELETE_TEMPLATE, m_kDelete);
    DDX_Control(pDX, IDC_EDIT_TEMPLATE, m_kEdit);
    DDX_Control(pDX, IDC_RENAME_TEMPLATE, m_kRename);
    DDX_Control(pDX, IDC_COPY_TO_LOCAL, m_kCopyToLocal);
    DDX_Control(pDX, IDC_DUPLICATE_TEMPLATE, m_kDuplicate);
}

BOOL CAvailableTemplatesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillLists();
    return TRUE;
}

void CAvailableTemplatesDlg::FillLists()
{
    m_kGlobal.ResetContent();
    m_kLocal.ResetContent();
    AddTemplateEntries(m_kGlobal, g_kModelPropertyManager.GetGlobalTemplates());
    AddTemplateEntries(m_kLocal, g_kModelPropertyManager.GetLocalTemplates());
}

void CAvailableTemplatesDlg::FillAllLists()
{
    for (CAvailableTemplatesDlg* pkDialog : OpenDialogs())
        if (pkDialog->GetToolkitWindow() != nullptr)
            pkDialog->FillLists();
}

SKModelProperty* CAvailableTemplatesDlg::CreateNewTemplate()
{
    CNewTemplateDlg kNew;
    if (kNew.DoModal() != IDOK)
        return nullptr;
    SKModelProperty* pkProperty = kNew.GetCreatedProperty();
    if (pkProperty == nullptr)
        return nullptr;
    CRenameTemplateDlg kRename;
    if (kRename.DoModal() == IDOK)
        pkProperty->SetName(kRename.m_kName);
    return pkProperty;
}

bool CAvailableTemplatesDlg::RemoveInstancesFromSet(SKModelPropertySet& kSet, SKModelProperty* pkTemplate)
{
    bool bRemoved = false;
    for (SKNamedModelPropertyList* pkList : kSet.GetPropertyLists())
    {
        std::vector<SKModelPropertyInstance*> kDoomed;
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            if (pkInstance->GetOriginalTemplate() == pkTemplate)
                kDoomed.push_back(pkInstance);
        for (SKModelPropertyInstance* pkInstance : kDoomed)
        {
            pkList->RemoveInstance(pkInstance);
            if (SKModelProperty* pkProperty = CNifView::ShownProperty(*pkInstance))
                pkProperty->ShowInView(false, nullptr, nullptr);
            delete pkInstance;
            bRemoved = true;
        }
    }
    return bRemoved;
}

void CAvailableTemplatesDlg::RemoveInstancesOfTemplate(SKModelProperty* pkTemplate)
{
    CPropertyDoc* pkDoc = ActiveModelDocument();
    if (pkDoc == nullptr || pkDoc->GetPropertySet() == nullptr)
        return;
    // The property list may hold entries for the instances just destroyed.
    if (RemoveInstancesFromSet(*pkDoc->GetPropertySet(), pkTemplate))
    {
        CUpdateHint kHint;
        pkDoc->UpdateAllViews(nullptr, 0, &kHint);
    }
}

SKModelProperty* CAvailableTemplatesDlg::SelectedTemplate(int32_t* piWhich) const
{
    int32_t iWhich = GLOBAL;
    SKModelProperty* pkTemplate = ::SelectedTemplate(m_kGlobal);
    if (pkTemplate == nullptr)
    {
        iWhich = LOCAL;
        pkTemplate = ::SelectedTemplate(m_kLocal);
    }
    if (piWhich != nullptr)
        *piWhich = iWhich;
    return pkTemplate;
}

void CAvailableTemplatesDlg::Register(int32_t iWhich, SKModelProperty* pkTemplate)
{
    if (iWhich == GLOBAL)
        g_kModelPropertyManager.RegisterGlobalTemplate(pkTemplate);
    else
        g_kModelPropertyManager.RegisterLocalTemplate(pkTemplate);
}

void CAvailableTemplatesDlg::MoveSelected(CListBox& kFrom, int32_t iFrom)
{
    SKModelProperty* pkTemplate = ::SelectedTemplate(kFrom);
    if (pkTemplate == nullptr)
        return;
    g_kModelPropertyManager.RemoveTemplate(iFrom, pkTemplate, 0);
    Register(iFrom == GLOBAL ? LOCAL : GLOBAL, pkTemplate);
    // The move may have replaced (and released) a template of the same name and type.
    FillAllLists();
}

void CAvailableTemplatesDlg::OnMoveToLocal()
{
    MoveSelected(m_kGlobal, GLOBAL);
}

void CAvailableTemplatesDlg::OnMoveToGlobal()
{
    MoveSelected(m_kLocal, LOCAL);
}

void CAvailableTemplatesDlg::AddNew(int32_t iWhich)
{
    if (SKModelProperty* pkProperty = CreateNewTemplate())
        Register(iWhich, pkProperty);
    FillAllLists();
}

void CAvailableTemplatesDlg::OnNewGlobal()
{
    AddNew(GLOBAL);
}

void CAvailableTemplatesDlg::OnNewLocal()
{
    AddNew(LOCAL);
}

void CAvailableTemplatesDlg::OnDelete()
{
    int32_t iWhich = GLOBAL;
    SKModelProperty* pkTemplate = SelectedTemplate(&iWhich);
    if (pkTemplate == nullptr)
        return;
    RemoveInstancesOfTemplate(pkTemplate);
    CListBox& kList = iWhich == GLOBAL ? m_kGlobal : m_kLocal;
    kList.DeleteString(static_cast<UINT>(kList.GetCurSel()));
    kList.SetCurSel(-1);
    // Instances elsewhere and open edit sheets keep their own references.
    g_kModelPropertyManager.RemoveTemplate(iWhich, pkTemplate, 1);
    FillAllLists();
}

void CAvailableTemplatesDlg::OnEdit()
{
    if (SKModelProperty* pkTemplate = SelectedTemplate())
        AddPropertyPages(GetSafeHwnd(), pkTemplate);
}

void CAvailableTemplatesDlg::OnRename()
{
    SKModelProperty* pkTemplate = SelectedTemplate();
    if (pkTemplate == nullptr)
        return;
    CRenameTemplateDlg kRename;
    const std::unique_ptr<char[]> pcName = pkTemplate->GetName().GetCString();
    kRename.m_kName = CString(pcName.get());
    if (kRename.DoModal() != IDOK)
        return;
    pkTemplate->SetName(kRename.m_kName);
    FillAllLists();
}

void CAvailableTemplatesDlg::OnCopyToLocal()
{
    SKModelProperty* pkTemplate = ::SelectedTemplate(m_kGlobal);
    // A class without a factory cannot be duplicated.
    SKModelProperty* pkCopy = pkTemplate != nullptr ? pkTemplate->Duplicate() : nullptr;
    if (pkCopy == nullptr)
        return;
    g_kModelPropertyManager.RegisterLocalTemplate(pkCopy);
    FillAllLists();
}

void CAvailableTemplatesDlg::OnDuplicate()
{
    int32_t iWhich = GLOBAL;
    SKModelProperty* pkTemplate = SelectedTemplate(&iWhich);
    SKModelProperty* pkCopy = pkTemplate != nullptr ? pkTemplate->Duplicate() : nullptr;
    if (pkCopy == nullptr)
        return;
    pkCopy->SetName("Duplicated Property");
    CRenameTemplateDlg kRename;
    kRename.m_kName = CString("Duplicated Property");
    if (kRename.DoModal() != IDOK)
    {
        pkCopy->DecRefCount();
        return;
    }
    pkCopy->SetName(kRename.m_kName);
    Register(iWhich, pkCopy);
    FillAllLists();
}

void CAvailableTemplatesDlg::OnSelChangeGlobal()
{
    if (m_kGlobal.GetCurSel() != LB_ERR)
    {
        m_kLocal.SetCurSel(-1);
        for (CButton* pkButton :
             {&m_kDelete, &m_kMoveToLocal, &m_kEdit, &m_kRename, &m_kCopyToLocal, &m_kDuplicate})
            pkButton->EnableWindow(TRUE);
        return;
    }
    m_kCopyToLocal.EnableWindow(FALSE);
    m_kMoveToLocal.EnableWindow(FALSE);
    if (m_kLocal.GetCurSel() == LB_ERR)
        for (CButton* pkButton : {&m_kDelete, &m_kEdit, &m_kRename, &m_kDuplicate})
            pkButton->EnableWindow(FALSE);
}

void CAvailableTemplatesDlg::OnSelChangeLocal()
{
    if (m_kLocal.GetCurSel() != LB_ERR)
    {
        m_kGlobal.SetCurSel(-1);
        for (CButton* pkButton : {&m_kDelete, &m_kMoveToGlobal, &m_kEdit, &m_kRename, &m_kDuplicate})
            pkButton->EnableWindow(TRUE);
        return;
    }
    m_kMoveToGlobal.EnableWindow(FALSE);
    if (m_kGlobal.GetCurSel() == LB_ERR)
        for (CButton* pkButton : {&m_kDelete, &m_kEdit, &m_kRename, &m_kDuplicate})
            pkButton->EnableWindow(FALSE);
}
