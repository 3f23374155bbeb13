#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a repair subsystem: its repair points and teams.
class CEditRepairSubsystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditRepairSubsystemDialog)

public:
    CEditRepairSubsystemDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
