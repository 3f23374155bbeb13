#include "platform/mfc/CFormView.h"

#include "platform/mfc/DialogBuilder.h"
#include "platform/mfc/Resources.h"

#include <wx/panel.h>

IMPLEMENT_DYNAMIC(CFormView, CView)

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

wxWindow* CFormView::CreateToolkitWindow(wxWindow* pkParent, int nID)
{
    const mfc::DialogResource* pkTemplate = mfc::Resources::FindDialog(m_nIDTemplate);
    if (pkTemplate == nullptr)
        return nullptr;
    auto* pkPanel = new wxPanel(pkParent, nID, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    mfc::DialogBuilder::Build(pkPanel, *pkTemplate);
    mfc::DialogBuilder::BindNotifications(pkPanel);
    ArrangeControls(pkPanel);
    return pkPanel;
}

void CFormView::ArrangeControls(wxWindow*) {}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}
