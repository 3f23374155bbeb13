#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a warp engine, which adds nothing to edit: it leads to its bases' pages.
class CEditWarpEngineDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditWarpEngineDialog)

public:
    CEditWarpEngineDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
