#include "platform/mfc/CStatusBar.h"

#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/Resources.h"

#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

namespace
{
const char* LockText(UINT nID)
{
    switch (nID)
    {
    case ID_INDICATOR_CAPS:
        return "CAP";
    case ID_INDICATOR_NUM:
        return "NUM";
    case ID_INDICATOR_SCRL:
        return "SCRL";
    default:
        return nullptr;
    }
}

wxKeyCode LockKey(UINT nID)
{
    switch (nID)
    {
    case ID_INDICATOR_CAPS:
        return WXK_CAPITAL;
    case ID_INDICATOR_NUM:
        return WXK_NUMLOCK;
    default:
        return WXK_SCROLL;
    }
}
} // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CWnd)

BOOL CStatusBar::Create(CWnd* pParentWnd)
{
    auto* pkFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (pkFrame == nullptr || pkFrame->GetToolkitFrame() == nullptr)
        return FALSE;
    auto* pkBar = new wxStatusBar(pkFrame->GetToolkitFrame(), wxID_ANY);
    pkFrame->GetToolkitFrame()->SetStatusBar(pkBar);
    Attach(pkBar);
    pkFrame->SetStatusBar(this);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    auto* pkBar = dynamic_cast<wxStatusBar*>(m_pkWindow);
    if (pkBar == nullptr || nIDCount <= 0)
        return FALSE;
    m_kIDs.assign(lpIDArray, lpIDArray + nIDCount);
    std::vector<int> kWidths;
    for (UINT nID : m_kIDs)
    {
        if (nID == ID_SEPARATOR)
        {
            kWidths.push_back(-1);
            continue;
        }
        const char* pcLock = LockText(nID);
        std::string kText;
        if (pcLock != nullptr)
            kText = pcLock;
        else
            mfc::Resources::FindString(nID, kText);
        kWidths.push_back(pkBar->GetTextExtent(wxString::FromUTF8(kText.c_str())).GetWidth() + 12);
    }
    pkBar->SetFieldsCount(nIDCount, kWidths.data());
    for (int i = 0; i < nIDCount; ++i)
    {
        const UINT nID = m_kIDs[static_cast<size_t>(i)];
        std::string kText;
        if (nID == ID_SEPARATOR)
            mfc::Resources::FindString(AFX_IDS_IDLEMESSAGE, kText);
        else if (LockText(nID) == nullptr)
            mfc::Resources::FindString(nID, kText);
        pkBar->SetStatusText(wxString::FromUTF8(kText.c_str()), i);
    }
    UpdateIndicators();
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, const char* pcText, BOOL)
{
    auto* pkBar = dynamic_cast<wxStatusBar*>(m_pkWindow);
    if (pkBar == nullptr || nIndex < 0 || nIndex >= pkBar->GetFieldsCount())
        return FALSE;
    pkBar->SetStatusText(wxString::FromUTF8(pcText != nullptr ? pcText : ""), nIndex);
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    auto* pkBar = dynamic_cast<wxStatusBar*>(m_pkWindow);
    if (pkBar == nullptr || nIndex < 0 || nIndex >= pkBar->GetFieldsCount())
        return CString();
    return CString(std::string(pkBar->GetStatusText(nIndex).utf8_str()));
}

void CStatusBar::UpdateIndicators()
{
    for (size_t i = 0; i < m_kIDs.size(); ++i)
        if (const char* pcLock = LockText(m_kIDs[i]))
            SetPaneText(static_cast<int>(i), wxGetKeyState(LockKey(m_kIDs[i])) ? pcLock : "");
}
