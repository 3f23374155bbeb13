#include "editor/CEditCloakingSubsystemDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/CloakingSubsystemProperty.h"

IMPLEMENT_DYNAMIC(CEditCloakingSubsystemDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_CLOAK_STRENGTH, "CloakStrength", -1, E::Number},
};
} // namespace

CEditCloakingSubsystemDialog::CEditCloakingSubsystemDialog() : CZenaraPropertyPage(IDD_CLOAKING_SUBSYSTEM)
{
    BindFields(CloakingSubsystemProperty::GetFieldSet(), CONTROLS);
}

void CEditCloakingSubsystemDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
