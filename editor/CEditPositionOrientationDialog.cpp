#include "editor/CEditPositionOrientationDialog.h"

#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/PositionOrientationProperty.h"

IMPLEMENT_DYNAMIC(CEditPositionOrientationDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditPositionOrientationDialog, CZenaraPropertyPage)
ON_EN_CHANGE(IDC_DIRECTION_X, OnEditChange)
ON_EN_CHANGE(IDC_DIRECTION_Y, OnEditChange)
ON_EN_CHANGE(IDC_DIRECTION_Z, OnEditChange)
ON_EN_CHANGE(IDC_UP_X, OnEditChange)
ON_EN_CHANGE(IDC_UP_Y, OnEditChange)
ON_EN_CHANGE(IDC_UP_Z, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_X, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_Y, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_Z, OnEditChange)
ON_EN_CHANGE(IDC_POSITION_X, OnEditChange)
ON_EN_CHANGE(IDC_POSITION_Y, OnEditChange)
ON_EN_CHANGE(IDC_POSITION_Z, OnEditChange)
ON_BN_CLICKED(IDC_GET_POSITION, OnGetPosition)
ON_BN_CLICKED(IDC_NORMAL, OnNormal)
ON_NOTIFY(NM_SLIDE_CHANGED, IDC_SLIDE, OnSlideChanged)
ON_NOTIFY(NM_SPIN_CHANGED, IDC_SPIN, OnSpinChanged)
END_MESSAGE_MAP()

namespace
{
constexpr std::initializer_list<UINT> AXES = {IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z,
                                              IDC_UP_X,        IDC_UP_Y,        IDC_UP_Z,
                                              IDC_RIGHT_X,     IDC_RIGHT_Y,     IDC_RIGHT_Z};

using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_DIRECTION_X, "Forward", 0, E::Number},
    {IDC_DIRECTION_Y, "Forward", 1, E::Number},
    {IDC_DIRECTION_Z, "Forward", 2, E::Number},
    {IDC_POSITION_X, "Position", 0, E::Number},
    {IDC_POSITION_Y, "Position", 1, E::Number},
    {IDC_POSITION_Z, "Position", 2, E::Number},
    {IDC_RIGHT_X, "Right", 0, E::Number},
    {IDC_RIGHT_Y, "Right", 1, E::Number},
    {IDC_RIGHT_Z, "Right", 2, E::Number},
    {IDC_UP_X, "Up", 0, E::Number},
    {IDC_UP_Y, "Up", 1, E::Number},
    {IDC_UP_Z, "Up", 2, E::Number},
};
} // namespace

CEditPositionOrientationDialog::CEditPositionOrientationDialog()
    : CZenaraPropertyPage(IDD_POSITION_ORIENTATION)
{
    BindFields(PositionOrientationProperty::GetFieldSet(), CONTROLS);
}

void CEditPositionOrientationDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SLIDE, m_kSlideButton);
    DDX_Control(pDX, IDC_SPIN, m_kSpinButton);
    CZenaraPropertyPage::DoDataExchange(pDX);
}

BOOL CEditPositionOrientationDialog::OnInitDialog()
{
    m_kSpinButton.SubclassDlgItem(IDC_SPIN, this);
    m_kSlideButton.SubclassDlgItem(IDC_SLIDE, this);
    CZenaraPropertyPage::OnInitDialog();
    m_kSlideButton.m_kPosition = GetPoint(IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
    m_kSpinButton.m_kForward = GetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z);
    m_kSpinButton.m_kUp = GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z);
    m_kSpinButton.m_kRight = GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z);
    return TRUE;
}

BOOL CEditPositionOrientationDialog::ApplyToProperty()
{
    const BOOL bExchanged = UpdateData(TRUE);
    WriteFields(AXES);
    auto* pkProperty = PositionOrientationProperty::Cast(GetEditProperty());
    if (pkProperty == nullptr)
        return bExchanged;
    // The axes go together, normalised, once any of them changed.
    if (!AnyChanged(AXES))
    {
        RestoreFields(AXES);
        return bExchanged;
    }
    pkProperty->SetOrientation(
        AxisOr(GetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z), NiPoint3::UNIT_Y),
        AxisOr(GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z), NiPoint3::UNIT_Z),
        AxisOr(GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z), NiPoint3::UNIT_X));
    MarkWritten(AXES);
    return bExchanged;
}

void CEditPositionOrientationDialog::OnEditChange()
{
    ApplyWhileTyping();
}

void CEditPositionOrientationDialog::OnGetPosition()
{
    TakePickPoint(m_kSlideButton, IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
}

void CEditPositionOrientationDialog::OnNormal()
{
    TurnToPickNormal(m_kSpinButton);
}

void CEditPositionOrientationDialog::OnSlideChanged(NMHDR* pNMHDR, LRESULT*)
{
    TakeSlidePosition(m_kSlideButton, IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z);
    delete pNMHDR;
}

void CEditPositionOrientationDialog::OnSpinChanged(NMHDR* pNMHDR, LRESULT*)
{
    TakeSpinFrame(m_kSpinButton);
    delete pNMHDR;
}
