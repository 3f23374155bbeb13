#pragma once

#include "editor/CSlideButton.h"
#include "editor/CSpinButton.h"
#include "editor/CZenaraPropertyPage.h"

// The page of a position/orientation property (emitters and lights): forward, up and right axes
// and a position, with the spin and slide buttons, "Normal" (forward onto the picked surface's
// normal) and "Get Position" (the picked point). Every edit applies at once and redraws.
class CEditPositionOrientationDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditPositionOrientationDialog)

public:
    CEditPositionOrientationDialog();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Position as typed; each axis normalised on its own, a zero one replaced by the model axis.
    BOOL ApplyToProperty() override;

    CSpinButton m_kSpinButton;
    CSlideButton m_kSlideButton;

protected:
    void OnEditChange();
    void OnGetPosition();
    void OnNormal();
    void OnSlideChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinChanged(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
