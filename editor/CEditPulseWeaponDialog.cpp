#include "editor/CEditPulseWeaponDialog.h"

#include "editor/resources/PageResource.h"
#include "properties/PulseWeaponProperty.h"

IMPLEMENT_DYNAMIC(CEditPulseWeaponDialog, CArcWeaponPage)

BEGIN_MESSAGE_MAP(CEditPulseWeaponDialog, CArcWeaponPage)
ON_NOTIFY(NM_SPIN_CHANGED, IDC_PULSE_SPIN, OnSpinChanged)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_COOLDOWN_TIME, "CooldownTime", -1, E::Number},
    {IDC_PULSE_SCRIPT, "ModuleName", -1, E::Text},
};
} // namespace

CEditPulseWeaponDialog::CEditPulseWeaponDialog()
    : CArcWeaponPage(IDD_PULSE_WEAPON, IDC_PULSE_SPIN, PulseWeaponProperty::GetFieldSet())
{
    BindFields(PulseWeaponProperty::GetFieldSet(), CONTROLS);
}
