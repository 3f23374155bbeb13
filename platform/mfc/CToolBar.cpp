#include "platform/mfc/CToolBar.h"

#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/Resources.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/toolbar.h>

namespace
{
// The picture of a button: the toolkit's stock picture when it has one, else its label
// written small.
wxBitmap ButtonPicture(const mfc::ToolBarButton& kButton, int cx, int cy)
{
    if (!kButton.kArt.empty())
    {
        wxBitmap kArt = wxArtProvider::GetBitmap(kButton.kArt, wxART_TOOLBAR, wxSize(cx, cx));
        if (kArt.IsOk())
            return kArt;
    }
    wxBitmap kBitmap(cx, cy);
    wxMemoryDC kDC(kBitmap);
    kDC.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    kDC.Clear();
    wxFont kFont(wxFontInfo(7).Bold());
    kDC.SetFont(kFont);
    kDC.SetTextForeground(*wxBLACK);
    const wxString kText = wxString::FromUTF8(kButton.kLabel.substr(0, 2).c_str());
    const wxSize kExtent = kDC.GetTextExtent(kText);
    kDC.DrawText(kText, (cx - kExtent.GetWidth()) / 2, (cy - kExtent.GetHeight()) / 2);
    kDC.SelectObject(wxNullBitmap);
    return kBitmap;
}
} // namespace

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle)
{
    auto* pkFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (pkFrame == nullptr || pkFrame->GetToolkitFrame() == nullptr)
        return FALSE;
    auto* pkBar = new wxToolBar(pkFrame->GetToolkitFrame(), wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTB_HORIZONTAL | wxTB_FLAT);
    pkBar->SetExtraStyle(pkBar->GetExtraStyle() | wxWS_EX_PROCESS_UI_UPDATES);
    Attach(pkBar);
    m_dwStyle = dwStyle;
    pkFrame->GetToolkitFrame()->SetToolBar(pkBar);
    pkFrame->SetToolBar(this);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    auto* pkBar = dynamic_cast<wxToolBar*>(m_pkWindow);
    const mfc::ToolBarResource* pkResource = mfc::Resources::FindToolBar(nIDResource);
    if (pkBar == nullptr || pkResource == nullptr)
        return FALSE;
    pkBar->ClearTools();
    pkBar->SetToolBitmapSize(wxSize(pkResource->cx, pkResource->cx));
    for (const mfc::ToolBarButton& kButton : pkResource->kButtons)
    {
        if (kButton.nID == ID_SEPARATOR)
        {
            pkBar->AddSeparator();
            continue;
        }
        const wxString kLabel = wxString::FromUTF8(kButton.kLabel.c_str());
        pkBar->AddTool(ToolkitId(kButton.nID), kLabel, ButtonPicture(kButton, pkResource->cx, pkResource->cy),
                       kLabel);
    }
    pkBar->Realize();
    return TRUE;
}

int CToolBar::GetCount() const
{
    auto* pkBar = dynamic_cast<wxToolBar*>(m_pkWindow);
    return pkBar != nullptr ? static_cast<int>(pkBar->GetToolsCount()) : 0;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    auto* pkBar = dynamic_cast<wxToolBar*>(m_pkWindow);
    if (pkBar == nullptr)
        return 0;
    const wxToolBarToolBase* pkTool = pkBar->GetToolByPos(nIndex);
    return pkTool == nullptr || pkTool->IsSeparator() ? ID_SEPARATOR : ResourceId(pkTool->GetId());
}
