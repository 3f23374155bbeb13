#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of the energy-weapon level: the fire sound, the charge and damage values and the firing arc
// indicator icon.
class CEditEnergyWeaponDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditEnergyWeaponDialog)

public:
    CEditEnergyWeaponDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
