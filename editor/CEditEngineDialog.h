#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of an engine: its type, chosen from a list (nothing chosen keeps the stored type).
class CEditEngineDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditEngineDialog)

public:
    CEditEngineDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
