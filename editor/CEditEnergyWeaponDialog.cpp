#include "editor/CEditEnergyWeaponDialog.h"

#include "editor/CEditWeaponDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/EnergyWeaponProperty.h"

IMPLEMENT_DYNAMIC(CEditEnergyWeaponDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_FIRE_SOUND, "FireSound", -1, E::Text},
    {IDC_MAX_CHARGE, "MaxCharge", -1, E::Number},
    {IDC_MAX_DAMAGE, "MaxDamage", -1, E::Number},
    {IDC_MAX_DAMAGE_DISTANCE, "MaxDamageDistance", -1, E::Number},
    {IDC_MIN_FIRING_CHARGE, "MinFiringCharge", -1, E::Number},
    {IDC_NORMAL_DISCHARGE_RATE, "NormalDischargeRate", -1, E::Number},
    {IDC_RECHARGE_RATE, "RechargeRate", -1, E::Number},
    {IDC_INDICATOR_ICON_NUMBER, "IndicatorIconNum", -1, E::Unsigned},
    {IDC_INDICATOR_ICON_X, "IndicatorIconPositionX", -1, E::Number},
    {IDC_INDICATOR_ICON_Y, "IndicatorIconPositionY", -1, E::Number},
};
} // namespace

CEditEnergyWeaponDialog::CEditEnergyWeaponDialog() : CZenaraPropertyPage(IDD_ENERGY_WEAPON)
{
    BindFields(EnergyWeaponProperty::GetFieldSet(), CONTROLS);
}

void CEditEnergyWeaponDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditWeaponDialog);
}
