#include "editor/CChangeLightDlg.h"

#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiNode.h"

BEGIN_MESSAGE_MAP(CChangeLightDlg, CDialog)
ON_BN_CLICKED(IDC_LIGHT_APPLY, OnApply)
END_MESSAGE_MAP()

CChangeLightDlg::CChangeLightDlg(CPropertyDoc* pkDoc)
    : CDialog(IDD_CHANGELIGHT), m_pkDoc(pkDoc), m_spLight(pkDoc != nullptr ? pkDoc->GetLight() : nullptr)
{
}

CChangeLightDlg::~CChangeLightDlg() = default;

BOOL CChangeLightDlg::OnInitDialog()
{
    // A document without a model has no light: the fields stay 0 and applying does nothing.
    if (m_spLight)
    {
        m_fDimmer = m_spLight->GetDimmer();
        const NiColor& kColor = m_spLight->GetAmbientColor();
        m_fRed = kColor.r;
        m_fGreen = kColor.g;
        m_fBlue = kColor.b;
    }
    m_fOldRed = m_fRed;
    m_fOldGreen = m_fGreen;
    m_fOldBlue = m_fBlue;
    m_fOldDimmer = m_fDimmer;
    return CDialog::OnInitDialog();
}

void CChangeLightDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_LIGHT_BLUE, m_fBlue);
    DDX_Text(pDX, IDC_LIGHT_DIMMER, m_fDimmer);
    DDX_Text(pDX, IDC_LIGHT_GREEN, m_fGreen);
    DDX_Text(pDX, IDC_LIGHT_RED, m_fRed);
}

void CChangeLightDlg::ApplyToLight()
{
    if (!m_spLight)
        return;
    m_spLight->SetDimmer(m_fDimmer);
    m_spLight->SetAmbientColor(NiColor(m_fRed, m_fGreen, m_fBlue));
    for (NiNode* pkNode : m_spLight->GetAffectedNodeList())
        if (pkNode != nullptr)
            pkNode->RefreshEffectStates();
}

void CChangeLightDlg::OnApply()
{
    if (UpdateData(TRUE))
        ApplyToLight();
}

void CChangeLightDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    ApplyToLight();
    EndDialog(IDOK);
    DestroyWindow();
}

void CChangeLightDlg::OnCancel()
{
    m_fRed = m_fOldRed;
    m_fGreen = m_fOldGreen;
    m_fBlue = m_fOldBlue;
    m_fDimmer = m_fOldDimmer;
    UpdateData(FALSE);
    ApplyToLight();
    EndDialog(IDCANCEL);
    DestroyWindow();
}

void CChangeLightDlg::PostNcDestroy()
{
    delete this;
}
