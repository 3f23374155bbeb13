#pragma once

#include "platform/mfc/CView.h"

// A view made of a dialog template's controls. Its controls' notifications come to it as
// commands and WM_NOTIFY; data exchange works as in a dialog.
class CFormView : public CView
{
    DECLARE_DYNAMIC(CFormView)

public:
    explicit CFormView(UINT nIDTemplate);

    // Exchanges data into the controls, then the view's first update.
    void OnInitialUpdate() override;
    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    wxWindow* CreateToolkitWindow(wxWindow* pkParent, int nID) override;
    // Arranges the built controls for the pane's size; the base keeps the template's places.
    virtual void ArrangeControls(wxWindow* pkHost);

private:
    UINT m_nIDTemplate;
};
