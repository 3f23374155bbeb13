#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a ship: species, genus and affiliation as plain numbers, mass, inertia, damage
// resolution, stationary, and the ship's names and strings. A value that does not parse writes
// nothing at all.
class CEditShipDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditShipDialog)

public:
    CEditShipDialog();

    BOOL ApplyToProperty() override;
};
