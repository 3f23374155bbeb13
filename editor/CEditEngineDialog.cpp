#include "editor/CEditEngineDialog.h"

#include "editor/CEditSubsystemDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/EngineProperty.h"

IMPLEMENT_DYNAMIC(CEditEngineDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_ENGINE_TYPE, "EngineType", -1, E::Choice},
};
} // namespace

CEditEngineDialog::CEditEngineDialog() : CZenaraPropertyPage(IDD_ENGINE)
{
    BindFields(EngineProperty::GetFieldSet(), CONTROLS);
}

void CEditEngineDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditSubsystemDialog);
}
