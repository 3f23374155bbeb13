#include "editor/CPickTemplateDlg.h"

#include "editor/TemplateListEntries.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/SKModelPropertyManager.h"

IMPLEMENT_DYNAMIC(CPickTemplateDlg, CDialog)

BEGIN_MESSAGE_MAP(CPickTemplateDlg, CDialog)
ON_LBN_SELCHANGE(IDC_TEMPLATE_TYPES, OnSelChangeTypes)
ON_LBN_SELCHANGE(IDC_GLOBAL_TEMPLATES, OnSelChangeGlobal)
ON_LBN_SELCHANGE(IDC_LOCAL_TEMPLATES, OnSelChangeLocal)
ON_LBN_DBLCLK(IDC_GLOBAL_TEMPLATES, OnDblClkTemplate)
ON_LBN_DBLCLK(IDC_LOCAL_TEMPLATES, OnDblClkTemplate)
END_MESSAGE_MAP()

CPickTemplateDlg::CPickTemplateDlg() : CDialog(IDD_PICKTEMPLATE) {}

void CPickTemplateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEMPLATE_TYPES, m_kTypes);
    DDX_Control(pDX, IDC_GLOBAL_TEMPLATES, m_kGlobal);
    DDX_Control(pDX, IDC_LOCAL_TEMPLATES, m_kLocal);
    DDX_Control(pDX, IDOK, m_kOK);
}

BOOL CPickTemplateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_kTypes.ResetContent();
    g_kModelPropertyManager.ClearCurrentFilters();
    m_kTypes.SetItemData(m_kTypes.AddString("Show All Templates"), 0);
    m_kTypes.SetCurSel(0);
    for (const SKModelPropertyFilter& kFilter : g_kModelPropertyManager.GetRegisteredFilters())
    {
        const int iEntry = m_kTypes.AddString(kFilter.kTitle.c_str());
        if (iEntry != LB_ERR)
            m_kTypes.SetItemData(iEntry, reinterpret_cast<uintptr_t>(kFilter.pfnFilter));
    }
    FillTemplateLists();
    return TRUE;
}

void CPickTemplateDlg::FillTemplateLists()
{
    m_kGlobal.ResetContent();
    m_kLocal.ResetContent();
    AddTemplateEntries(
        m_kGlobal, *g_kModelPropertyManager.GetFilteredTemplates(SKModelPropertyManager::GLOBAL_TEMPLATES));
    AddTemplateEntries(
        m_kLocal, *g_kModelPropertyManager.GetFilteredTemplates(SKModelPropertyManager::LOCAL_TEMPLATES));
}

void CPickTemplateDlg::OnSelChangeTypes()
{
    g_kModelPropertyManager.ClearCurrentFilters();
    const int iSelected = m_kTypes.GetCurSel();
    if (iSelected != LB_ERR && iSelected != 0)
        g_kModelPropertyManager.AddFilter(
            reinterpret_cast<SKModelPropertyManager::FilterFunc>(m_kTypes.GetItemData(iSelected)));
    FillTemplateLists();
    // Refilled lists have no selection.
    m_kOK.EnableWindow(FALSE);
}

void CPickTemplateDlg::SelectionMoved(CListBox& kList, CListBox& kOther)
{
    if (kList.GetCurSel() != LB_ERR)
    {
        kOther.SetCurSel(-1);
        m_kOK.EnableWindow(TRUE);
    }
    else if (kOther.GetCurSel() == LB_ERR)
        m_kOK.EnableWindow(FALSE);
}

void CPickTemplateDlg::OnSelChangeGlobal()
{
    SelectionMoved(m_kGlobal, m_kLocal);
}

void CPickTemplateDlg::OnSelChangeLocal()
{
    SelectionMoved(m_kLocal, m_kGlobal);
}

void CPickTemplateDlg::OnDblClkTemplate()
{
    OnOK();
}

void CPickTemplateDlg::OnOK()
{
    m_pkPickedTemplate = SelectedTemplate(m_kGlobal);
    if (m_pkPickedTemplate == nullptr)
        m_pkPickedTemplate = SelectedTemplate(m_kLocal);
    CDialog::OnOK();
}
