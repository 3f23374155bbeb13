#include "editor/CEditSubsystemDialog.h"

#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/SubsystemProperty.h"

IMPLEMENT_DYNAMIC(CEditSubsystemDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditSubsystemDialog, CZenaraPropertyPage)
ON_EN_CHANGE(IDC_POSITION_X, OnEditChange)
ON_EN_CHANGE(IDC_POSITION_Y, OnEditChange)
ON_EN_CHANGE(IDC_POSITION_Z, OnEditChange)
ON_EN_CHANGE(IDC_OVERLAY_X, OnEditChange)
ON_EN_CHANGE(IDC_OVERLAY_Y, OnEditChange)
ON_EN_CHANGE(IDC_SUBSYSTEM_RADIUS, OnEditChange)
ON_BN_CLICKED(IDC_GET_POSITION, OnGetPosition)
ON_NOTIFY(NM_SLIDE_CHANGED, IDC_SLIDE, OnSlideChanged)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_CRITICAL, "Critical", -1, E::Check},
    {IDC_HIT_POINTS, "MaxCondition", -1, E::Number},
    {IDC_POSITION_X, "Position", 0, E::Number},
    {IDC_POSITION_Y, "Position", 1, E::Number},
    {IDC_POSITION_Z, "Position", 2, E::Number},
    {IDC_OVERLAY_X, "Position2DX", -1, E::Number},
    {IDC_OVERLAY_Y, "Position2DY", -1, E::Number},
    {IDC_DISABLED_AT, "DisabledPercentage", -1, E::Number},
    {IDC_REPAIR_COMPLEXITY, "RepairComplexity", -1, E::Number},
    {IDC_TARGETABLE, "Targetable", -1, E::Check},
    {IDC_PRIMARY, "Primary", -1, E::Check},
    {IDC_SUBSYSTEM_RADIUS, "Radius", -1, E::Number},
};
} // namespace

CEditSubsystemDialog::CEditSubsystemDialog() : CZenaraPropertyPage(IDD_SUBSYSTEM)
{
    BindFields(SubsystemProperty::GetFieldSet(), CONTROLS);
}

void CEditSubsystemDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SLIDE, m_kSlideButton);
    CZenaraPropertyPage::DoDataExchange(pDX);
}

BOOL CEditSubsystemDialog::OnInitDialog()
{
    m_kSlideButton.SubclassDlgItem(IDC_SLIDE, this);
    CZenaraPropertyPage::OnInitDialog();
    m_kSlideButton.m_kPosition = GetPoint(IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
    return TRUE;
}

void CEditSubsystemDialog::OnEditChange()
{
    ApplyWhileTyping();
}

void CEditSubsystemDialog::OnGetPosition()
{
    TakePickPoint(m_kSlideButton, IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
}

void CEditSubsystemDialog::OnSlideChanged(NMHDR* pNMHDR, LRESULT*)
{
    TakeSlidePosition(m_kSlideButton, IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
    delete pNMHDR;
}
