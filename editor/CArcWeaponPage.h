#pragma once

#include "editor/CSpinButton.h"
#include "editor/CZenaraPropertyPage.h"

class SKFieldSet;

// What the phaser, pulse weapon and tractor beam pages share: the mount's orientation (forward
// and up edits, right shown only, the spin button and "Normal") and the firing arc in degrees,
// which apply at once and redraw, and of the beam pages the controls of the beam's look and its
// four colours' "Pick" buttons.
class CArcWeaponPage : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CArcWeaponPage)

public:
    void DoDataExchange(CDataExchange* pDX) override;
    // Right shows forward x up of the stored axes.
    BOOL OnInitDialog() override;
    // Forward and up normalised (zero ones replaced by the model axes); right := forward x up.
    BOOL ApplyToProperty() override;
    void AddPages(CPropertyEditSheet* pSheet) override;

    CSpinButton m_kSpinButton;

protected:
    // The page's template, its spin button and its class's fields (orientation and arc first).
    CArcWeaponPage(UINT nIDTemplate, UINT nSpinID, const SKFieldSet& kFields);
    // The beam pages' look: the core scale and inner colours, then the outer colours and the
    // beam's sides and taper, with each page's own controls before, between and after them in
    // the order the page exchanges its controls.
    void BindBeamLook(const SKFieldSet& kFields, std::span<const FieldControl> kBefore,
                      std::span<const FieldControl> kBetween, std::span<const FieldControl> kAfter);

    void OnEditChange();
    void OnNormal();
    void OnSpinChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPickOuterShell();
    void OnPickInnerShell();
    void OnPickOuterCore();
    void OnPickInnerCore();

    DECLARE_MESSAGE_MAP()

private:
    UINT m_nSpinID;
};
