#include "editor/CMoveAllPositionsDlg.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SubsystemProperty.h"

BEGIN_MESSAGE_MAP(CMoveAllPositionsDlg, CDialog)
ON_BN_CLICKED(IDC_MOVE_APPLY, OnApply)
END_MESSAGE_MAP()

CMoveAllPositionsDlg::CMoveAllPositionsDlg(CPropertyDoc* pkDoc)
    : CDialog(IDD_MOVEALLPOSITIONS), m_pkDoc(pkDoc)
{
}

void CMoveAllPositionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MOVE_XOFFSET, m_fXOffset);
    DDX_Text(pDX, IDC_MOVE_YOFFSET, m_fYOffset);
    DDX_Text(pDX, IDC_MOVE_ZOFFSET, m_fZOffset);
}

void CMoveAllPositionsDlg::MoveLocalTemplates(float fX, float fY, float fZ)
{
    const NiPoint3 kOffset(fX, fY, fZ);
    for (SKModelProperty* pkTemplate : g_kModelPropertyManager.GetLocalTemplates())
    {
        if (auto* pkPlaced = PositionOrientationProperty::Cast(pkTemplate))
            pkPlaced->SetPosition(pkPlaced->GetPosition() + kOffset);
        else if (auto* pkSubsystem = SubsystemProperty::Cast(pkTemplate))
        {
            const NiPoint3 kPosition = pkSubsystem->GetPosition() + kOffset;
            pkSubsystem->SetPosition(kPosition.x, kPosition.y, kPosition.z);
        }
    }
}

void CMoveAllPositionsDlg::OnApply()
{
    if (UpdateData(TRUE))
        MoveLocalTemplates(m_fXOffset, m_fYOffset, m_fZOffset);
}

void CMoveAllPositionsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    MoveLocalTemplates(m_fXOffset, m_fYOffset, m_fZOffset);
    EndDialog(IDOK);
    DestroyWindow();
}

void CMoveAllPositionsDlg::OnCancel()
{
    EndDialog(IDCANCEL);
    DestroyWindow();
}

void CMoveAllPositionsDlg::PostNcDestroy()
{
    delete this;
}
