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
constexpr CZenaraPropertyPage::FieldControl BEFORE_LOOK[] = {
    {IDC_BEAM_TEXTURE_NAME, "TextureName", -1, E::Text},
};
constexpr CZenaraPropertyPage::FieldControl AFTER_LOOK[] = {
    {IDC_TEXTURE_SPEED, "TextureSpeed", -1, E::Number},
    {IDC_LENGTH_TEXTURE_TILE, "LengthTextureTilePerUnit", -1, E::Number},
    {IDC_MAIN_RADIUS, "MainRadius", -1, E::Number},
    {IDC_TRACTOR_BEAM_WIDTH, "TractorBeamWidth", -1, E::Number},
};
} // namespace

CEditTractorBeamDialog::CEditTractorBeamDialog()
    : CArcWeaponPage(IDD_TRACTOR_BEAM, IDC_TRACTOR_SPIN, TractorBeamProperty::GetFieldSet())
{
    BindBeamLook(TractorBeamProperty::GetFieldSet(), BEFORE_LOOK, {}, AFTER_LOOK);
}
