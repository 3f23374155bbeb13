#pragma once

#include "editor/CSlideButton.h"
#include "editor/CZenaraPropertyPage.h"

// The page of the subsystem level (the root page of subsystems and weapons): hit points, the
// flags, repair complexity, the disabled fraction, radius, the 3D position (with the slide button
// and "Get Position") and the 2D overlay position. The position and radius edits apply at once.
class CEditSubsystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditSubsystemDialog)

public:
    CEditSubsystemDialog();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CSlideButton m_kSlideButton;

protected:
    void OnEditChange();
    void OnGetPosition();
    void OnSlideChanged(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
