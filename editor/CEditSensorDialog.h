#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a sensor: its base range and how many probes it carries.
class CEditSensorDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditSensorDialog)

public:
    CEditSensorDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
