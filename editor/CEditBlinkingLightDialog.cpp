#include "editor/CEditBlinkingLightDialog.h"

#include "editor/CEditPositionOrientationDialog.h"
#include "editor/resources/PageResource.h"
#include "properties/BlinkingLightProperty.h"

IMPLEMENT_DYNAMIC(CEditBlinkingLightDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditBlinkingLightDialog, CZenaraPropertyPage)
ON_BN_CLICKED(IDC_PICK_LIGHT_COLOR, OnPickColor)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_LIGHT_RED, "Color", 0, E::Number},      {IDC_LIGHT_GREEN, "Color", 1, E::Number},
    {IDC_LIGHT_BLUE, "Color", 2, E::Number},     {IDC_LIGHT_DURATION, "Duration", -1, E::Number},
    {IDC_LIGHT_PERIOD, "Period", -1, E::Number}, {IDC_LIGHT_RADIUS, "Radius", -1, E::Number},
    {IDC_LIGHT_ALPHA, "Color", 3, E::Number},    {IDC_TEXTURE_NAME, "TextureName", -1, E::Text},
};
} // namespace

CEditBlinkingLightDialog::CEditBlinkingLightDialog() : CZenaraPropertyPage(IDD_BLINKING_LIGHT)
{
    BindFields(BlinkingLightProperty::GetFieldSet(), CONTROLS);
}

void CEditBlinkingLightDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPositionOrientationDialog);
}

void CEditBlinkingLightDialog::OnPickColor()
{
    PickColor(IDC_LIGHT_RED, IDC_LIGHT_GREEN, IDC_LIGHT_BLUE);
}
