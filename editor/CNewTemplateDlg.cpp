#include "editor/CNewTemplateDlg.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/PropertyTypeRegistry.h"

IMPLEMENT_DYNAMIC(CNewTemplateDlg, CDialog)

BEGIN_MESSAGE_MAP(CNewTemplateDlg, CDialog)
ON_LBN_SELCHANGE(IDC_PROPERTY_TYPES, OnSelChangeTypes)
ON_LBN_DBLCLK(IDC_PROPERTY_TYPES, OnDblClkTypes)
END_MESSAGE_MAP()

CNewTemplateDlg::CNewTemplateDlg() : CDialog(IDD_NEWTEMPLATE) {}

void CNewTemplateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROPERTY_TYPES, m_kTypes);
    DDX_Control(pDX, IDOK, m_kOK);
}

BOOL CNewTemplateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_kTypes.ResetContent();
    for (const char* pcType = GetFirstPropertyTypeName(); pcType != nullptr;
         pcType = GetNextPropertyTypeName())
        m_kTypes.AddString(pcType);
    return TRUE;
}

void CNewTemplateDlg::OnSelChangeTypes()
{
    m_kOK.EnableWindow(m_kTypes.GetCurSel() != LB_ERR);
}

void CNewTemplateDlg::OnDblClkTypes()
{
    OnOK();
}

void CNewTemplateDlg::OnOK()
{
    CDialog::OnOK();
    CString kType;
    m_kTypes.GetText(m_kTypes.GetCurSel(), kType);
    m_pkCreatedProperty = CreatePropertyByTypeName(kType, "NewProperty");
}
