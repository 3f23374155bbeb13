#include "editor/CEditWeaponSystemDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/WeaponSystemProperty.h"

IMPLEMENT_DYNAMIC(CEditWeaponSystemDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_WEAPON_SYSTEM_TYPE, "WeaponSystemType", -1, E::Choice},
    {IDC_SINGLE_FIRE, "SingleFire", -1, E::Check},
    {IDC_AIMED_WEAPON, "AimedWeapon", -1, E::Check},
    {IDC_FIRING_CHAIN, "FiringChainString", -1, E::Text},
};
} // namespace

CEditWeaponSystemDialog::CEditWeaponSystemDialog() : CZenaraPropertyPage(IDD_WEAPON_SYSTEM)
{
    BindFields(WeaponSystemProperty::GetFieldSet(), CONTROLS);
}

void CEditWeaponSystemDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
