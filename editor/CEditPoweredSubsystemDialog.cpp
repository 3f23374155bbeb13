#include "editor/CEditPoweredSubsystemDialog.h"

#include "editor/CEditSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/PoweredSubsystemProperty.h"

IMPLEMENT_DYNCREATE(CEditPoweredSubsystemDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_NORMAL_POWER, "NormalPowerPerSecond", -1, E::Number},
};
} // namespace

CEditPoweredSubsystemDialog::CEditPoweredSubsystemDialog() : CZenaraPropertyPage(IDD_POWERED_SUBSYSTEM)
{
    BindFields(PoweredSubsystemProperty::GetFieldSet(), CONTROLS);
}

void CEditPoweredSubsystemDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditSubsystemDialog);
}
