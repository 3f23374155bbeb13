#include "editor/CEditWeaponDialog.h"

#include "editor/CEditSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/WeaponProperty.h"

IMPLEMENT_DYNAMIC(CEditWeaponDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_DUMBFIRE, "Dumbfire", -1, E::Check},
    {IDC_WEAPON_ID, "WeaponID", -1, E::Integer},
    {IDC_DAMAGE_RADIUS_FACTOR, "DamageRadiusFactor", -1, E::Number},
    {IDC_GROUP_1, "Groups", 0, E::Check},
    {IDC_GROUP_2, "Groups", 1, E::Check},
    {IDC_GROUP_3, "Groups", 2, E::Check},
    {IDC_GROUP_4, "Groups", 3, E::Check},
    {IDC_GROUP_5, "Groups", 4, E::Check},
    {IDC_ICON_ABOVE_SHIP, "IconAboveShip", -1, E::Check},
    {IDC_ICON_X, "IconPositionX", -1, E::Number},
    {IDC_ICON_Y, "IconPositionY", -1, E::Number},
    {IDC_ICON_NUMBER, "IconNum", -1, E::Unsigned},
};
} // namespace

CEditWeaponDialog::CEditWeaponDialog() : CZenaraPropertyPage(IDD_WEAPON)
{
    BindFields(WeaponProperty::GetFieldSet(), CONTROLS);
}

void CEditWeaponDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditSubsystemDialog);
}
