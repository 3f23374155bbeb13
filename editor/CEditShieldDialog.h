#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a shield: the glow's decay time and colour (0..255 per component, with "Pick
// Color"), and each facing's strength and charge rate.
class CEditShieldDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditShieldDialog)

public:
    CEditShieldDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;

protected:
    void OnPickColor();

    DECLARE_MESSAGE_MAP()
};
