#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a blinking light: its colour (red, green and blue as c x 255, alpha as stored, with
// "Pick..."), duration, period, radius and texture.
class CEditBlinkingLightDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditBlinkingLightDialog)

public:
    CEditBlinkingLightDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;

protected:
    void OnPickColor();

    DECLARE_MESSAGE_MAP()
};
