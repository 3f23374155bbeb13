#include "editor/CEditImpulseEngineDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/ImpulseEngineProperty.h"

IMPLEMENT_DYNAMIC(CEditImpulseEngineDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_MAX_ACCELERATION, "MaxAccel", -1, E::Number},
    {IDC_MAX_ANGULAR_ACCELERATION, "MaxAngularAccel", -1, E::Number},
    {IDC_MAX_ANGULAR_VELOCITY, "MaxAngularVelocity", -1, E::Number},
    {IDC_MAX_SPEED, "MaxSpeed", -1, E::Number},
    {IDC_ENGINE_SOUND, "EngineSound", -1, E::Text},
};
} // namespace

CEditImpulseEngineDialog::CEditImpulseEngineDialog() : CZenaraPropertyPage(IDD_IMPULSE_ENGINE)
{
    BindFields(ImpulseEngineProperty::GetFieldSet(), CONTROLS);
}

void CEditImpulseEngineDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
