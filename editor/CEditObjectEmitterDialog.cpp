#include "editor/CEditObjectEmitterDialog.h"

#include "editor/CEditPositionOrientationDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/ObjectEmitterProperty.h"

IMPLEMENT_DYNCREATE(CEditObjectEmitterDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_EMITTED_OBJECT_TYPE, "EmittedObjectType", -1, E::Choice},
};
} // namespace

CEditObjectEmitterDialog::CEditObjectEmitterDialog() : CZenaraPropertyPage(IDD_OBJECT_EMITTER)
{
    BindFields(ObjectEmitterProperty::GetFieldSet(), CONTROLS);
}

void CEditObjectEmitterDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPositionOrientationDialog);
}
