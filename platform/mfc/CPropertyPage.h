#pragma once

#include "platform/mfc/CDialog.h"

class CPropertySheet;

// One tab of a property sheet, built from its dialog template (whose caption is the tab's
// text). The sheet makes the page's window the first time the page is activated; then
// OnInitDialog runs. Leaving the page asks OnKillActive (FALSE keeps it); entering it again
// refreshes its controls from its members (OnSetActive).
class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    CPropertyPage() = default;
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // The base exchanges into the controls, but not on the first activation (OnInitDialog has).
    virtual BOOL OnSetActive();
    // The base exchanges out of the controls: FALSE when a value does not parse.
    virtual BOOL OnKillActive();
    // The sheet's OK and Cancel; the base does nothing.
    void OnOK() override;
    void OnCancel() override;

    // The tab's text: the caption string, or the template's caption.
    CString GetCaption() const;
    bool IsPageCreated() const { return m_pkWindow != nullptr; }
    // Makes the page's controls inside its tab window and runs OnInitDialog (the sheet calls it).
    BOOL CreatePage(wxWindow* pkTab);

private:
    UINT m_nIDCaption = 0;
    bool m_bFirstSetActive = true;
};
