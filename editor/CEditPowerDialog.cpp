#include "editor/CEditPowerDialog.h"

#include "editor/CEditSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/PowerProperty.h"

IMPLEMENT_DYNAMIC(CEditPowerDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_POWER_OUTPUT, "PowerOutput", -1, E::Number},
    {IDC_MAIN_BATTERY_LIMIT, "MainBatteryLimit", -1, E::Number},
    {IDC_BACKUP_BATTERY_LIMIT, "BackupBatteryLimit", -1, E::Number},
    {IDC_MAIN_CONDUIT_CAPACITY, "MainConduitCapacity", -1, E::Number},
    {IDC_BACKUP_CONDUIT_CAPACITY, "BackupConduitCapacity", -1, E::Number},
};
} // namespace

CEditPowerDialog::CEditPowerDialog() : CZenaraPropertyPage(IDD_POWER)
{
    BindFields(PowerProperty::GetFieldSet(), CONTROLS);
}

void CEditPowerDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditSubsystemDialog);
}
