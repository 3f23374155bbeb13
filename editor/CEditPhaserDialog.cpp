#include "editor/CEditPhaserDialog.h"

#include "editor/resources/PageResource.h"
#include "properties/PhaserProperty.h"

IMPLEMENT_DYNAMIC(CEditPhaserDialog, CArcWeaponPage)

BEGIN_MESSAGE_MAP(CEditPhaserDialog, CArcWeaponPage)
ON_NOTIFY(NM_SPIN_CHANGED, IDC_PHASER_SPIN, OnSpinChanged)
ON_EN_CHANGE(IDC_PHASER_LENGTH, OnEditChange)
ON_EN_CHANGE(IDC_PHASER_WIDTH, OnEditChange)
END_MESSAGE_MAP()

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_PHASER_LENGTH, "Length", -1, E::Number},
    {IDC_PHASER_WIDTH, "Width", -1, E::Number},
    {IDC_TEXTURE_START, "PhaserTextureStart", -1, E::Integer},
    {IDC_TEXTURE_STOP, "PhaserTextureEnd", -1, E::Integer},
    {IDC_CORE_SCALE, "CoreScale", -1, E::Number},
    {IDC_INNER_CORE_A, "InnerCoreColor", 3, E::Number},
    {IDC_INNER_CORE_B, "InnerCoreColor", 2, E::Number},
    {IDC_INNER_CORE_G, "InnerCoreColor", 1, E::Number},
    {IDC_INNER_CORE_R, "InnerCoreColor", 0, E::Number},
    {IDC_INNER_SHELL_A, "InnerShellColor", 3, E::Number},
    {IDC_INNER_SHELL_B, "InnerShellColor", 2, E::Number},
    {IDC_INNER_SHELL_G, "InnerShellColor", 1, E::Number},
    {IDC_INNER_SHELL_R, "InnerShellColor", 0, E::Number},
    {IDC_LENGTH_TEXTURE_TILE, "LengthTextureTilePerUnit", -1, E::Number},
    {IDC_MAIN_RADIUS, "MainRadius", -1, E::Number},
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
    {IDC_BEAM_TEXTURE_NAME, "TextureName", -1, E::Text},
    {IDC_TEXTURE_SPEED, "TextureSpeed", -1, E::Number},
};
} // namespace

CEditPhaserDialog::CEditPhaserDialog()
    : CArcWeaponPage(IDD_PHASER, IDC_PHASER_SPIN, PhaserProperty::GetFieldSet())
{
    BindFields(PhaserProperty::GetFieldSet(), CONTROLS);
}
