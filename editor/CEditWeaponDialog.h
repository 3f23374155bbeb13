#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of the weapon level: dumb-fire, the weapon id, the damage radius, the groups 1 to 5 (the bits
// 0 to 4 of the group mask; the other bits stay) and the icon above the ship.
class CEditWeaponDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditWeaponDialog)

public:
    CEditWeaponDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
