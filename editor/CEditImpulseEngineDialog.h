#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of an impulse engine: its speed and acceleration limits and its sound.
class CEditImpulseEngineDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditImpulseEngineDialog)

public:
    CEditImpulseEngineDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
