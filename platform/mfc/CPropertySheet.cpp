#include "platform/mfc/CPropertySheet.h"

#include "platform/mfc/CPropertyPage.h"
#include "platform/mfc/DialogBuilder.h"
#include "platform/mfc/Resources.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include <algorithm>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace
{
// GTK scrolls a row of tabs wider than the pages and hides the last ones behind an arrow: the
// tabs are made as wide as the pages and at least as wide as the whole row, measured without
// the scrolling.
void FitTabRow(wxNotebook* pkTabs)
{
#ifdef __WXGTK__
    GtkNotebook* pkNotebook = GTK_NOTEBOOK(pkTabs->GetHandle());
    gtk_notebook_set_scrollable(pkNotebook, FALSE);
    int iMinimum = 0;
    int iNatural = 0;
    gtk_widget_get_preferred_width(GTK_WIDGET(pkNotebook), &iMinimum, &iNatural);
    gtk_notebook_set_scrollable(pkNotebook, TRUE);
    pkTabs->SetMinSize(wxSize(std::max(iMinimum, pkTabs->GetBestSize().GetWidth()), -1));
#else
    (void)pkTabs;
#endif
}
} // namespace

CPropertySheet::CPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption != nullptr ? pszCaption : ""), m_pParentWnd(pParentWnd),
      m_iSelectPage(iSelectPage)
{
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage == nullptr)
        return;
    m_kPages.push_back(pPage);
    // A page added to a sheet that is up gets its tab at once; its window comes on activation.
    if (m_pkTabs != nullptr)
        m_pkTabs->AddPage(new wxPanel(m_pkTabs), wxString::FromUTF8(pPage->GetCaption().Str().c_str()));
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_kPages[static_cast<size_t>(nPage)] : nullptr;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    const auto kAt = std::find(m_kPages.begin(), m_kPages.end(), pPage);
    return kAt != m_kPages.end() && SetActivePage(static_cast<int>(kAt - m_kPages.begin()));
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_pkTabs == nullptr)
    {
        m_iSelectPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_iActive)
        return TRUE;
    CPropertyPage* pkLeaving = GetActivePage();
    if (pkLeaving != nullptr && pkLeaving->IsPageCreated() && !pkLeaving->OnKillActive())
        return FALSE;
    return ActivatePage(nPage);
}

BOOL CPropertySheet::ActivatePage(int nPage)
{
    CPropertyPage* pkPage = GetPage(nPage);
    m_iActive = nPage;
    if (!pkPage->IsPageCreated())
        pkPage->CreatePage(m_pkTabs->GetPage(static_cast<size_t>(nPage)));
    if (m_pkTabs->GetSelection() != nPage)
        m_pkTabs->ChangeSelection(static_cast<size_t>(nPage));
    pkPage->OnSetActive();
    return TRUE;
}

void CPropertySheet::OnPageChanging(wxBookCtrlEvent& kEvent)
{
    if (kEvent.GetEventObject() != m_pkTabs)
        return;
    CPropertyPage* pkLeaving = GetActivePage();
    if (pkLeaving != nullptr && pkLeaving->IsPageCreated() && !pkLeaving->OnKillActive())
        kEvent.Veto();
}

void CPropertySheet::OnPageChanged(wxBookCtrlEvent& kEvent)
{
    if (kEvent.GetEventObject() != m_pkTabs || kEvent.GetSelection() == wxNOT_FOUND ||
        kEvent.GetSelection() == m_iActive)
        return;
    ActivatePage(kEvent.GetSelection());
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD)
{
    if (m_pkWindow != nullptr || m_kPages.empty())
        return FALSE;
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    wxWindow* pkParent = m_pParentWnd != nullptr ? m_pParentWnd->GetToolkitWindow() : nullptr;
    auto* pkSheet = new wxDialog(pkParent, wxID_ANY, wxString::FromUTF8(m_strCaption.Str().c_str()),
                                 wxDefaultPosition, wxDefaultSize, wxCAPTION);
    m_pkTabs = new wxNotebook(pkSheet, wxID_ANY);
    for (CPropertyPage* pkPage : m_kPages)
        m_pkTabs->AddPage(new wxPanel(m_pkTabs), wxString::FromUTF8(pkPage->GetCaption().Str().c_str()));
    // Every tab is as large as the largest page template, measured in the tabs' own font.
    wxSize kPageSize;
    for (CPropertyPage* pkPage : m_kPages)
        if (const mfc::DialogResource* pkTemplate = mfc::Resources::FindDialog(pkPage->GetTemplateId()))
            kPageSize.IncTo(mfc::DialogBuilder::TemplateSize(m_pkTabs->GetPage(0), *pkTemplate));
    for (size_t i = 0; i < m_pkTabs->GetPageCount(); ++i)
        m_pkTabs->GetPage(i)->SetMinSize(kPageSize);
    FitTabRow(m_pkTabs);
    auto* pkButtons = new wxBoxSizer(wxHORIZONTAL);
    pkButtons->AddStretchSpacer();
    const struct
    {
        UINT nID;
        const char* pcText;
    } kStandard[] = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {ID_APPLY_NOW, "&Apply"}, {IDHELP, "Help"}};
    for (const auto& kButton : kStandard)
        pkButtons->Add(new wxButton(pkSheet, ToolkitId(kButton.nID), kButton.pcText), 0, wxLEFT, 6);
    auto* pkLayout = new wxBoxSizer(wxVERTICAL);
    pkLayout->Add(m_pkTabs, 1, wxEXPAND | wxALL, 7);
    pkLayout->Add(pkButtons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 7);
    // Fitted without a minimum: a modeless sheet shrinks above its buttons.
    pkSheet->SetSizer(pkLayout);
    pkLayout->Fit(pkSheet);

    Attach(pkSheet);
    mfc::DialogBuilder::BindNotifications(pkSheet);
    m_pkTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGING, &CPropertySheet::OnPageChanging, this);
    m_pkTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CPropertySheet::OnPageChanged, this);
    // Shown first, so that the initialisation measures the window where it stands.
    if (dwStyle == static_cast<DWORD>(-1) || (dwStyle & WS_VISIBLE))
        pkSheet->Show();
    OnInitDialog();
    return TRUE;
}

void CPropertySheet::OnDestroy()
{
    m_pkTabs = nullptr;
    m_iActive = -1;
    CWnd::OnDestroy();
}

BOOL CPropertySheet::OnInitDialog()
{
    ActivatePage(std::min(static_cast<int>(m_iSelectPage), GetPageCount() - 1));
    // The buttons stand where the full layout puts them (shown windows measure their real size).
    m_pkWindow->GetSizer()->Fit(m_pkWindow);
    m_pkWindow->Layout();
    // Modeless: the standard buttons are hidden and disabled; the tabs take their room.
    for (UINT nID :
         {static_cast<UINT>(IDOK), static_cast<UINT>(IDCANCEL), ID_APPLY_NOW, static_cast<UINT>(IDHELP)})
        if (wxWindow* pkButton = m_pkWindow->FindWindow(ToolkitId(nID)))
        {
            pkButton->Hide();
            pkButton->Disable();
        }
    m_pkWindow->Layout();
    return TRUE;
}
