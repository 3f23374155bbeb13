#include "editor/CEditShieldDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/ShieldProperty.h"

IMPLEMENT_DYNAMIC(CEditShieldDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditShieldDialog, CZenaraPropertyPage)
ON_BN_CLICKED(IDC_PICK_GLOW_COLOR, OnPickColor)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_GLOW_DECAY, "ShieldGlowDecay", -1, E::Number},
    {IDC_GLOW_RED, "ShieldGlowColor", 0, E::Number},
    {IDC_GLOW_GREEN, "ShieldGlowColor", 1, E::Number},
    {IDC_GLOW_ALPHA, "ShieldGlowColor", 3, E::Number},
    {IDC_GLOW_BLUE, "ShieldGlowColor", 2, E::Number},
    {IDC_BOTTOM_STRENGTH, "MaxShieldsBottom", -1, E::Number},
    {IDC_BOTTOM_CHARGE, "ShieldChargePerSecondBottom", -1, E::Number},
    {IDC_FRONT_CHARGE, "ShieldChargePerSecondFront", -1, E::Number},
    {IDC_LEFT_CHARGE, "ShieldChargePerSecondLeft", -1, E::Number},
    {IDC_REAR_CHARGE, "ShieldChargePerSecondRear", -1, E::Number},
    {IDC_RIGHT_CHARGE, "ShieldChargePerSecondRight", -1, E::Number},
    {IDC_TOP_CHARGE, "ShieldChargePerSecondTop", -1, E::Number},
    {IDC_FRONT_STRENGTH, "MaxShieldsFront", -1, E::Number},
    {IDC_LEFT_STRENGTH, "MaxShieldsLeft", -1, E::Number},
    {IDC_REAR_STRENGTH, "MaxShieldsRear", -1, E::Number},
    {IDC_RIGHT_STRENGTH, "MaxShieldsRight", -1, E::Number},
    {IDC_TOP_STRENGTH, "MaxShieldsTop", -1, E::Number},
};
} // namespace

CEditShieldDialog::CEditShieldDialog() : CZenaraPropertyPage(IDD_SHIELD)
{
    BindFields(ShieldProperty::GetFieldSet(), CONTROLS);
}

void CEditShieldDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}

void CEditShieldDialog::OnPickColor()
{
    PickColor(IDC_GLOW_RED, IDC_GLOW_GREEN, IDC_GLOW_BLUE);
}
