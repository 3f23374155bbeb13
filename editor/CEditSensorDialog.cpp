#include "editor/CEditSensorDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/SensorProperty.h"

IMPLEMENT_DYNAMIC(CEditSensorDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_SENSOR_RANGE, "BaseSensorRange", -1, E::Number},
    {IDC_MAX_PROBES, "MaxProbes", -1, E::Integer},
};
} // namespace

CEditSensorDialog::CEditSensorDialog() : CZenaraPropertyPage(IDD_SENSOR)
{
    BindFields(SensorProperty::GetFieldSet(), CONTROLS);
}

void CEditSensorDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
