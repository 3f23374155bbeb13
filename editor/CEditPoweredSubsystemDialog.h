#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of the powered-subsystem level: the normal power drawn per second.
class CEditPoweredSubsystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNCREATE(CEditPoweredSubsystemDialog)

public:
    CEditPoweredSubsystemDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
