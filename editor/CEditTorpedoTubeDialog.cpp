#include "editor/CEditTorpedoTubeDialog.h"

#include "editor/CEditWeaponDialog.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/TorpedoTubeProperty.h"
#include "scene/object/NiRotationMatrix.h"

IMPLEMENT_DYNAMIC(CEditTorpedoTubeDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditTorpedoTubeDialog, CZenaraPropertyPage)
ON_EN_CHANGE(IDC_TUBE_DIRECTION_X, QuickUpdate)
ON_EN_CHANGE(IDC_TUBE_DIRECTION_Y, QuickUpdate)
ON_EN_CHANGE(IDC_TUBE_DIRECTION_Z, QuickUpdate)
ON_EN_CHANGE(IDC_RIGHT_X, QuickUpdate)
ON_EN_CHANGE(IDC_RIGHT_Y, QuickUpdate)
ON_EN_CHANGE(IDC_RIGHT_Z, QuickUpdate)
ON_BN_CLICKED(IDC_NORMAL, OnNormal)
ON_NOTIFY(NM_SPIN_CHANGED, IDC_SPINNER, OnSpinChanged)
END_MESSAGE_MAP()

namespace
{
constexpr std::initializer_list<UINT> DIRECTION = {IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y,
                                                   IDC_TUBE_DIRECTION_Z};
constexpr std::initializer_list<UINT> RIGHT = {IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z};

using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_TUBE_DIRECTION_X, "Direction", 0, E::Number},
    {IDC_TUBE_DIRECTION_Y, "Direction", 1, E::Number},
    {IDC_TUBE_DIRECTION_Z, "Direction", 2, E::Number},
    {IDC_IMMEDIATE_DELAY, "ImmediateDelay", -1, E::Number},
    {IDC_MAXIMUM_READY, "MaxReady", -1, E::Integer},
    {IDC_RELOAD_DELAY, "ReloadDelay", -1, E::Number},
    {IDC_RIGHT_Y, "Right", 1, E::Number},
    {IDC_RIGHT_X, "Right", 0, E::Number},
    {IDC_RIGHT_Z, "Right", 2, E::Number},
};
} // namespace

CEditTorpedoTubeDialog::CEditTorpedoTubeDialog() : CZenaraPropertyPage(IDD_TORPEDO_TUBE)
{
    BindFields(TorpedoTubeProperty::GetFieldSet(), CONTROLS);
}

void CEditTorpedoTubeDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SPINNER, m_kSpinButton);
    CZenaraPropertyPage::DoDataExchange(pDX);
}

BOOL CEditTorpedoTubeDialog::OnInitDialog()
{
    m_kSpinButton.SubclassDlgItem(IDC_SPINNER, this);
    CZenaraPropertyPage::OnInitDialog();
    const NiPoint3 kDirection = GetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z);
    const NiPoint3 kRight = GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z);
    m_kSpinButton.m_kForward = kDirection;
    m_kSpinButton.m_kRight = kRight;
    m_kSpinButton.m_kUp = kRight.Cross(kDirection);
    return TRUE;
}

BOOL CEditTorpedoTubeDialog::ApplyToProperty()
{
    const BOOL bExchanged = UpdateData(TRUE);
    WriteFields({IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z, IDC_RIGHT_X, IDC_RIGHT_Y,
                 IDC_RIGHT_Z});
    auto* pkProperty = TorpedoTubeProperty::Cast(GetEditProperty());
    if (pkProperty == nullptr)
        return bExchanged;
    if (AnyChanged(DIRECTION))
    {
        pkProperty->SetDirection(AxisOr(
            GetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z), NiPoint3::UNIT_Y));
        MarkWritten(DIRECTION);
    }
    else
        RestoreFields(DIRECTION);
    if (AnyChanged(RIGHT))
    {
        pkProperty->SetRight(AxisOr(GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z), NiPoint3::UNIT_X));
        MarkWritten(RIGHT);
    }
    else
        RestoreFields(RIGHT);
    return bExchanged;
}

void CEditTorpedoTubeDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditWeaponDialog);
}

void CEditTorpedoTubeDialog::QuickUpdate()
{
    if (!ControlsParse())
        return;
    // The direction as typed, not normalised, while the right waits for the apply.
    auto* pkProperty = TorpedoTubeProperty::Cast(GetEditProperty());
    if (pkProperty != nullptr && AnyChanged(DIRECTION))
    {
        pkProperty->SetDirection(GetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z));
        MarkWritten(DIRECTION);
    }
    else
        RestoreFields(DIRECTION);
    RedrawView();
}

void CEditTorpedoTubeDialog::OnNormal()
{
    CPropertyDoc* pkDocument = GetDocument();
    if (pkDocument == nullptr)
        return;
    const NiPoint3 kNormal = pkDocument->GetPickNormal();
    NiRotationMatrix kTurn;
    if (!TurnOnto(GetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z), kNormal,
                  GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z), kTurn))
        return;
    SetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z, kNormal);
    const NiPoint3 kRight = kTurn * GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z);
    SetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z, kRight);
    m_kSpinButton.m_kForward = kNormal;
    m_kSpinButton.m_kRight = kRight;
    m_kSpinButton.m_kUp = kRight.Cross(kNormal);
    UpdateData(FALSE);
    ApplyToProperty();
    QuickUpdate();
}

void CEditTorpedoTubeDialog::OnSpinChanged(NMHDR* pNMHDR, LRESULT*)
{
    SetPoint(IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z, m_kSpinButton.m_kForward);
    SetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z, m_kSpinButton.m_kRight);
    UpdateData(FALSE);
    if (auto* pkProperty = TorpedoTubeProperty::Cast(GetEditProperty()))
    {
        pkProperty->SetDirection(m_kSpinButton.m_kForward);
        pkProperty->SetRight(m_kSpinButton.m_kRight);
        MarkWritten(DIRECTION);
        MarkWritten(RIGHT);
    }
    QuickUpdate();
    delete pNMHDR;
}
