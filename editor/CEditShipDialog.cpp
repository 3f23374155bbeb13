#include "editor/CEditShipDialog.h"

#include "editor/resources/PageResource.h"
#include "properties/ShipProperty.h"

IMPLEMENT_DYNAMIC(CEditShipDialog, CZenaraPropertyPage)

namespace
{
using E = CZenaraPropertyPage::Exchange;
constexpr CZenaraPropertyPage::FieldControl CONTROLS[] = {
    {IDC_SHIP_SPECIES, "Species", -1, E::Integer},
    {IDC_SHIP_GENUS, "Genus", -1, E::Integer},
    {IDC_SHIP_MASS, "Mass", -1, E::Number},
    {IDC_ROTATIONAL_INERTIA, "RotationalInertia", -1, E::Number},
    {IDC_MODEL_FILE_NAME, "ModelFilename", -1, E::Text},
    {IDC_SHIP_NAME, "ShipName", -1, E::Text},
    {IDC_DAMAGE_RESOLUTION, "DamageResolution", -1, E::Number},
    {IDC_AFFILIATION, "Affiliation", -1, E::Integer},
    {IDC_STATIONARY, "Stationary", -1, E::Check},
    {IDC_AI_STRING, "AIString", -1, E::Text},
    {IDC_DEATH_EXPLOSION_SOUND, "DeathExplosionSound", -1, E::Text},
};
} // namespace

CEditShipDialog::CEditShipDialog() : CZenaraPropertyPage(IDD_SHIP)
{
    BindFields(ShipProperty::GetFieldSet(), CONTROLS);
}

BOOL CEditShipDialog::ApplyToProperty()
{
    if (!UpdateData(TRUE))
        return FALSE;
    WriteFields();
    return TRUE;
}
