#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a power plant: its output and its batteries' and conduits' limits.
class CEditPowerDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditPowerDialog)

public:
    CEditPowerDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
