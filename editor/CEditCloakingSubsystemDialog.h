#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a cloaking subsystem: its strength.
class CEditCloakingSubsystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditCloakingSubsystemDialog)

public:
    CEditCloakingSubsystemDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
