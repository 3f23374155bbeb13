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
constexpr CZenaraPropertyPage::FieldControl BEFORE_LOOK[] = {
    {IDC_PHASER_LENGTH, "Length", -1, E::Number},
    {IDC_PHASER_WIDTH, "Width", -1, E::Number},
    {IDC_TEXTURE_START, "PhaserTextureStart", -1, E::Integer},
    {IDC_TEXTURE_STOP, "PhaserTextureEnd", -1, E::Integer},
};
constexpr CZenaraPropertyPage::FieldControl INSIDE_LOOK[] = {
    {IDC_LENGTH_TEXTURE_TILE, "LengthTextureTilePerUnit", -1, E::Number},
    {IDC_MAIN_RADIUS, "MainRadius", -1, E::Number},
};
constexpr CZenaraPropertyPage::FieldControl AFTER_LOOK[] = {
    {IDC_BEAM_TEXTURE_NAME, "TextureName", -1, E::Text},
    {IDC_TEXTURE_SPEED, "TextureSpeed", -1, E::Number},
};
} // namespace

CEditPhaserDialog::CEditPhaserDialog()
    : CArcWeaponPage(IDD_PHASER, IDC_PHASER_SPIN, PhaserProperty::GetFieldSet())
{
    BindBeamLook(PhaserProperty::GetFieldSet(), BEFORE_LOOK, INSIDE_LOOK, AFTER_LOOK);
}
