#include "editor/CArcWeaponPage.h"

#include "editor/CEditEnergyWeaponDialog.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/ArcWeaponProperty.h"

IMPLEMENT_DYNAMIC(CArcWeaponPage, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CArcWeaponPage, CZenaraPropertyPage)
ON_EN_CHANGE(IDC_DIRECTION_X, OnEditChange)
ON_EN_CHANGE(IDC_DIRECTION_Y, OnEditChange)
ON_EN_CHANGE(IDC_DIRECTION_Z, OnEditChange)
ON_EN_CHANGE(IDC_UP_X, OnEditChange)
ON_EN_CHANGE(IDC_UP_Y, OnEditChange)
ON_EN_CHANGE(IDC_UP_Z, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_X, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_Y, OnEditChange)
ON_EN_CHANGE(IDC_RIGHT_Z, OnEditChange)
ON_EN_CHANGE(IDC_HORIZONTAL_START, OnEditChange)
ON_EN_CHANGE(IDC_HORIZONTAL_END, OnEditChange)
ON_EN_CHANGE(IDC_VERTICAL_START, OnEditChange)
ON_EN_CHANGE(IDC_VERTICAL_END, OnEditChange)
ON_BN_CLICKED(IDC_NORMAL, OnNormal)
ON_BN_CLICKED(IDC_PICK_OUTER_SHELL, OnPickOuterShell)
ON_BN_CLICKED(IDC_PICK_INNER_SHELL, OnPickInnerShell)
ON_BN_CLICKED(IDC_PICK_OUTER_CORE, OnPickOuterCore)
ON_BN_CLICKED(IDC_PICK_INNER_CORE, OnPickInnerCore)
END_MESSAGE_MAP()

namespace
{
constexpr std::initializer_list<UINT> FORWARD_AND_UP = {IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z,
                                                        IDC_UP_X,        IDC_UP_Y,        IDC_UP_Z};
constexpr std::initializer_list<UINT> AXES = {IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z,
                                              IDC_UP_X,        IDC_UP_Y,        IDC_UP_Z,
                                              IDC_RIGHT_X,     IDC_RIGHT_Y,     IDC_RIGHT_Z};

using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_DIRECTION_X, "Forward", 0, E::Number},
    {IDC_DIRECTION_Y, "Forward", 1, E::Number},
    {IDC_DIRECTION_Z, "Forward", 2, E::Number},
    {IDC_UP_X, "Up", 0, E::Number},
    {IDC_UP_Y, "Up", 1, E::Number},
    {IDC_UP_Z, "Up", 2, E::Number},
    {IDC_RIGHT_X, "Right", 0, E::Number},
    {IDC_RIGHT_Y, "Right", 1, E::Number},
    {IDC_RIGHT_Z, "Right", 2, E::Number},
    {IDC_HORIZONTAL_END, "ArcWidthAngleMax", -1, E::Number},
    {IDC_HORIZONTAL_START, "ArcWidthAngleMin", -1, E::Number},
    {IDC_VERTICAL_START, "ArcHeightAngleMin", -1, E::Number},
    {IDC_VERTICAL_END, "ArcHeightAngleMax", -1, E::Number},
};

constexpr CZenaraPropertyPage::FieldControl BEAM_CORE_AND_INNER_COLOURS[] = {
    {IDC_CORE_SCALE, "CoreScale", -1, E::Number},
    {IDC_INNER_CORE_A, "InnerCoreColor", 3, E::Number},
    {IDC_INNER_CORE_B, "InnerCoreColor", 2, E::Number},
    {IDC_INNER_CORE_G, "InnerCoreColor", 1, E::Number},
    {IDC_INNER_CORE_R, "InnerCoreColor", 0, E::Number},
    {IDC_INNER_SHELL_A, "InnerShellColor", 3, E::Number},
    {IDC_INNER_SHELL_B, "InnerShellColor", 2, E::Number},
    {IDC_INNER_SHELL_G, "InnerShellColor", 1, E::Number},
    {IDC_INNER_SHELL_R, "InnerShellColor", 0, E::Number},
};
constexpr CZenaraPropertyPage::FieldControl BEAM_OUTER_COLOURS_AND_SHAPE[] = {
    {IDC_OUTER_CORE_A, "OuterCoreColor", 3, E::Number},
    {IDC_OUTER_CORE_B, "OuterCoreColor", 2, E::Number},
    {IDC_OUTER_CORE_G, "OuterCoreColor", 1, E::Number},
    {IDC_OUTER_CORE_R, "OuterCoreColor", 0, E::Number},
    {IDC_OUTER_SHELL_A, "OuterShellColor", 3, E::Number},
    {IDC_OUTER_SHELL_B, "OuterShellColor", 2, E::Number},
    {IDC_OUTER_SHELL_G, "OuterShellColor", 1, E::Number},
    {IDC_OUTER_SHELL_R, "OuterShellColor", 0, E::Number},
    {IDC_PERIMETER_TILE, "PerimeterTile", -1, E::Number},
    {IDC_NUM_SIDES, "NumSides", -1, E::Integer},
    {IDC_TAPER_MAX_LENGTH, "TaperMaxLength", -1, E::Number},
    {IDC_TAPER_MIN_LENGTH, "TaperMinLength", -1, E::Number},
    {IDC_TAPER_RADIUS, "TaperRadius", -1, E::Number},
    {IDC_TAPER_RATIO, "TaperRatio", -1, E::Number},
};
} // namespace

CArcWeaponPage::CArcWeaponPage(UINT nIDTemplate, UINT nSpinID, const SKFieldSet& kFields)
    : CZenaraPropertyPage(nIDTemplate), m_nSpinID(nSpinID)
{
    BindFields(kFields, CONTROLS);
}

void CArcWeaponPage::BindBeamLook(const SKFieldSet& kFields, std::span<const FieldControl> kBefore,
                                  std::span<const FieldControl> kBetween,
                                  std::span<const FieldControl> kAfter)
{
    BindFields(kFields, kBefore);
    BindFields(kFields, BEAM_CORE_AND_INNER_COLOURS);
    BindFields(kFields, kBetween);
    BindFields(kFields, BEAM_OUTER_COLOURS_AND_SHAPE);
    BindFields(kFields, kAfter);
}

void CArcWeaponPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, static_cast<int>(m_nSpinID), m_kSpinButton);
    CZenaraPropertyPage::DoDataExchange(pDX);
}

BOOL CArcWeaponPage::OnInitDialog()
{
    m_kSpinButton.SubclassDlgItem(m_nSpinID, this);
    CZenaraPropertyPage::OnInitDialog();
    const NiPoint3 kForward = GetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z);
    const NiPoint3 kUp = GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z);
    SetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z, kForward.Cross(kUp));
    m_kSpinButton.m_kForward = kForward;
    m_kSpinButton.m_kUp = kUp;
    m_kSpinButton.m_kRight = kForward.Cross(kUp);
    UpdateData(FALSE);
    return TRUE;
}

BOOL CArcWeaponPage::ApplyToProperty()
{
    const BOOL bExchanged = UpdateData(TRUE);
    WriteFields(AXES);
    auto* pkProperty = dynamic_cast<ArcWeaponProperty*>(GetEditProperty());
    if (pkProperty == nullptr)
        return bExchanged;
    // Right is shown only: forward and up decide, and right follows them.
    if (!AnyChanged(FORWARD_AND_UP))
    {
        RestoreFields(AXES);
        return bExchanged;
    }
    pkProperty->SetOrientation(
        AxisOr(GetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z), NiPoint3::UNIT_Y),
        AxisOr(GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z), NiPoint3::UNIT_Z));
    MarkWritten(AXES);
    return bExchanged;
}

void CArcWeaponPage::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditEnergyWeaponDialog);
}

void CArcWeaponPage::OnEditChange()
{
    ApplyWhileTyping();
}

void CArcWeaponPage::OnNormal()
{
    TurnToPickNormal(m_kSpinButton);
}

void CArcWeaponPage::OnSpinChanged(NMHDR* pNMHDR, LRESULT*)
{
    TakeSpinFrame(m_kSpinButton);
    delete pNMHDR;
}

void CArcWeaponPage::OnPickOuterShell()
{
    PickColor(IDC_OUTER_SHELL_R, IDC_OUTER_SHELL_G, IDC_OUTER_SHELL_B);
}

void CArcWeaponPage::OnPickInnerShell()
{
    PickColor(IDC_INNER_SHELL_R, IDC_INNER_SHELL_G, IDC_INNER_SHELL_B);
}

void CArcWeaponPage::OnPickOuterCore()
{
    PickColor(IDC_OUTER_CORE_R, IDC_OUTER_CORE_G, IDC_OUTER_CORE_B);
}

void CArcWeaponPage::OnPickInnerCore()
{
    PickColor(IDC_INNER_CORE_R, IDC_INNER_CORE_G, IDC_INNER_CORE_B);
}
