#pragma once

#include "editor/CSpinButton.h"
#include "editor/CZenaraPropertyPage.h"

// The page of a torpedo tube: its direction and right vectors (with the spinner and "Normal") and
// its firing delays and ready count. A typed direction reaches the property at once, as typed;
// the vectors are normalised (zero ones replaced by the model axes) when the page is applied.
class CEditTorpedoTubeDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditTorpedoTubeDialog)

public:
    CEditTorpedoTubeDialog();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL ApplyToProperty() override;
    void AddPages(CPropertyEditSheet* pSheet) override;

    CSpinButton m_kSpinButton;

protected:
    // The direction as typed into the property (right waits for the apply), and a redraw.
    void QuickUpdate();
    void OnNormal();
    void OnSpinChanged(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
