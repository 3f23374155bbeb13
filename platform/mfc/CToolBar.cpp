#include "platform/mfc/CToolBar.h"

#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/Resources.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <vector>

namespace
{
// The tool bar's bitmap of pictures side by side, or an invalid bitmap when there is none.
wxBitmap PictureStrip(UINT nIDResource)
{
    const mfc::BitmapResource* pkStrip = mfc::Resources::FindBitmap(nIDResource);
    if (pkStrip == nullptr || pkStrip->kXpm.empty())
        return wxNullBitmap;
    std::vector<const char*> kLines;
    kLines.reserve(pkStrip->kXpm.size());
    for (const std::string& kLine : pkStrip->kXpm)
        kLines.push_back(kLine.c_str());
    return wxBitmap(kLines.data());
}

// The picture of a button: the toolkit's stock picture when it has one, else its own from the
// strip, else its label written small.
wxBitmap ButtonPicture(const mfc::ToolBarButton& kButton, const wxBitmap& kStrip, int cx, int cy)
{
    if (!kButton.kArt.empty())
    {
        wxBitmap kArt = wxArtProvider::GetBitmap(kButton.kArt, wxART_TOOLBAR, wxSize(cx, cx));
        if (kArt.IsOk())
            return kArt;
    }
    if (kButton.iImage >= 0 && kStrip.IsOk() && (kButton.iImage + 1) * cx <= kStrip.GetWidth())
        return kStrip.GetSubBitmap(wxRect(kButton.iImage * cx, 0, cx, std::min(cy, kStrip.GetHeight())));
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

wxItemKind ToolKind(UINT nStyle)
{
    return nStyle == TBBS_CHECKBOX || nStyle == TBBS_CHECKGROUP ? wxITEM_CHECK : wxITEM_NORMAL;
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
    // The toolkit lets a pressed check button up on a second press; a check-group button stays
    // down and lets the rest of its group up. The command then goes on to the frame.
    pkBar->Bind(wxEVT_TOOL,
                [this](wxCommandEvent& kEvent)
                {
                    const UINT nID = ResourceId(kEvent.GetId());
                    const auto itAt = std::find(m_kCommands.begin(), m_kCommands.end(), nID);
                    if (itAt != m_kCommands.end() && m_kStyles[itAt - m_kCommands.begin()] == TBBS_CHECKGROUP)
                        CheckButton(nID, TRUE);
                    kEvent.Skip();
                });
    // The bar's own update query (the toolkit asks for the bar as well as for each button)
    // names no command; answered by the frame's route it would disable the whole bar.
    pkBar->Bind(wxEVT_UPDATE_UI,
                [pkBar](wxUpdateUIEvent& kEvent)
                {
                    if (kEvent.GetId() != pkBar->GetId())
                        kEvent.Skip();
                });
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
    m_kStyles.clear();
    m_kCommands.clear();
    pkBar->SetToolBitmapSize(wxSize(pkResource->cx, pkResource->cx));
    const wxBitmap kStrip = PictureStrip(nIDResource);
    for (const mfc::ToolBarButton& kButton : pkResource->kButtons)
    {
        m_kCommands.push_back(kButton.nID);
        if (kButton.nID == ID_SEPARATOR)
        {
            m_kStyles.push_back(TBBS_BUTTON);
            pkBar->AddSeparator();
            continue;
        }
        m_kStyles.push_back(kButton.nStyle);
        const wxString kLabel = wxString::FromUTF8(kButton.kLabel.c_str());
        pkBar->AddTool(ToolkitId(kButton.nID), kLabel,
                       ButtonPicture(kButton, kStrip, pkResource->cx, pkResource->cy), kLabel,
                       ToolKind(kButton.nStyle));
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

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) < m_kStyles.size() ? m_kStyles[nIndex] : TBBS_BUTTON;
}

BOOL CToolBar::CheckButton(UINT nID, BOOL bCheck)
{
    auto* pkBar = dynamic_cast<wxToolBar*>(m_pkWindow);
    const auto itAt = std::find(m_kCommands.begin(), m_kCommands.end(), nID);
    if (pkBar == nullptr || nID == ID_SEPARATOR || itAt == m_kCommands.end())
        return FALSE;
    const size_t uiAt = static_cast<size_t>(itAt - m_kCommands.begin());
    if (m_kStyles[uiAt] == TBBS_BUTTON)
        return FALSE;
    pkBar->ToggleTool(ToolkitId(nID), bCheck != FALSE);
    if (m_kStyles[uiAt] != TBBS_CHECKGROUP || !bCheck)
        return TRUE;
    for (size_t i = uiAt; i > 0 && m_kStyles[i - 1] == TBBS_CHECKGROUP; --i)
        pkBar->ToggleTool(ToolkitId(m_kCommands[i - 1]), false);
    for (size_t i = uiAt + 1; i < m_kStyles.size() && m_kStyles[i] == TBBS_CHECKGROUP; ++i)
        pkBar->ToggleTool(ToolkitId(m_kCommands[i]), false);
    return TRUE;
}

BOOL CToolBar::IsButtonChecked(UINT nID) const
{
    auto* pkBar = dynamic_cast<wxToolBar*>(m_pkWindow);
    return pkBar != nullptr && nID != ID_SEPARATOR && pkBar->FindById(ToolkitId(nID)) != nullptr &&
           pkBar->GetToolState(ToolkitId(nID));
}
