#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a weapon system: its type (nothing chosen keeps the stored type), the firing flags and the
// firing chain string.
class CEditWeaponSystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditWeaponSystemDialog)

public:
    CEditWeaponSystemDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
