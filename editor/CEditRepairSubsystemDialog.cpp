#include "editor/CEditRepairSubsystemDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/RepairSubsystemProperty.h"

IMPLEMENT_DYNAMIC(CEditRepairSubsystemDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_MAX_REPAIR_POINTS, "MaxRepairPoints", -1, E::Number},
    {IDC_REPAIR_TEAMS, "NumRepairTeams", -1, E::Integer},
};
} // namespace

CEditRepairSubsystemDialog::CEditRepairSubsystemDialog() : CZenaraPropertyPage(IDD_REPAIR_SUBSYSTEM)
{
    BindFields(RepairSubsystemProperty::GetFieldSet(), CONTROLS);
}

void CEditRepairSubsystemDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
