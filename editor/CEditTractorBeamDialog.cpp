#include "editor/CEditTractorBeamDialog.h"

#include "editor/resources/PageResource.h"
#include "properties/TractorBeamProperty.h"

IMPLEMENT_DYNAMIC(CEditTractorBeamDialog, CArcWeaponPage)

BEGIN_MESSAGE_MAP(CEditTractorBeamDialog, CArcWeaponPage)
ON_NOTIFY(NM_SPIN_CHANGED, IDC_TRACTOR_SPIN, OnSpinChanged)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_BEAM_TEXTURE_NAME, "TextureName", -1, E::Text},
    {IDC_CORE_SCALE, "CoreScale", -1, E::Number},
    {IDC_INNER_CORE_A, "InnerCoreColor", 3, E::Number},
    {IDC_INNER_CORE_B, "InnerCoreColor", 2, E::Number},
    {IDC_INNER_CORE_G, "InnerCoreColor", 1, E::Number},
    {IDC_INNER_CORE_R, "InnerCoreColor", 0, E::Number},
    {IDC_INNER_SHELL_A, "InnerShellColor", 3, E::Number},
    {IDC_INNER_SHELL_B, "InnerShellColor", 2, E::Number},
    {IDC_INNER_SHELL_G, "InnerShellColor", 1, E::Number},
    {IDC_INNER_SHELL_R, "InnerShellColor", 0, E::Number},
    {IDC_OUTER_CORE_A, "OuterCoreColor", 3, E::Number},
    {IDC_OUTER_CORE_B, "OuterCoreColor", 2, E::Number},
    {IDC_OUTER_CORE_G, "OuterCoreColor", 1, E::Number},
    {IDC_OUTER_CORE_R, "OuterCoreColor", 0, E::Number},
    {IDC_OUTER_SHELL_A, "OuterShellColor", 3, E::Number},
    {IDC_OUTER_SHELL_B, "OuterShellColor", 2, E::Number},
    {IDC_OUTER_SHELL_G, "OuterShellColor", 1, E::Number},
    {IDC_OUTER_SHELL_R, "OuterShellColor", 0, E::Number},
    {IDC_PERIMETER_TILE, "PerimeterTile", -1, E::Number},
    {IDC_NUM_SIDES, "NumSides", -1, E::Integer},
    {IDC_TAPER_MAX_LENGTH, "TaperMaxLength", -1, E::Number},
    {IDC_TAPER_MIN_LENGTH, "TaperMinLength", -1, E::Number},
    {IDC_TAPER_RADIUS, "TaperRadius", -1, E::Number},
    {IDC_TAPER_RATIO, "TaperRatio", -1, E::Number},
    {IDC_TEXTURE_SPEED, "TextureSpeed", -1, E::Number},
    {IDC_LENGTH_TEXTURE_TILE, "LengthTextureTilePerUnit", -1, E::Number},
    {IDC_MAIN_RADIUS, "MainRadius", -1, E::Number},
    {IDC_TRACTOR_BEAM_WIDTH, "TractorBeamWidth", -1, E::Number},
};
} // namespace

CEditTractorBeamDialog::CEditTractorBeamDialog()
    : CArcWeaponPage(IDD_TRACTOR_BEAM, IDC_TRACTOR_SPIN, TractorBeamProperty::GetFieldSet())
{
    BindFields(TractorBeamProperty::GetFieldSet(), CONTROLS);
}
