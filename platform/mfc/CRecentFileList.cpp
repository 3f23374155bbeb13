#include "platform/mfc/CRecentFileList.h"

#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CWinApp.h"

#include <wx/menu.h>

#include <algorithm>
#include <filesystem>
#include <strings.h>

CRecentFileList::CRecentFileList(UINT nStart, const char* pcSection, const char* pcEntryFormat, int nSize)
    : m_nStart(nStart), m_strSection(pcSection), m_strEntryFormat(pcEntryFormat), m_nSize(nSize)
{
}

void CRecentFileList::Add(const char* pcPathName)
{
    std::error_code kError;
    std::filesystem::path kPath = std::filesystem::absolute(pcPathName, kError);
    const CString kFull(kError ? std::string(pcPathName) : kPath.lexically_normal().string());
    std::erase_if(m_kFiles, [&](const CString& k) { return strcasecmp(k, kFull) == 0; });
    m_kFiles.insert(m_kFiles.begin(), kFull);
    if (static_cast<int>(m_kFiles.size()) > m_nSize)
        m_kFiles.resize(static_cast<size_t>(m_nSize));
    UpdateMenus();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetSize())
        m_kFiles.erase(m_kFiles.begin() + nIndex);
    UpdateMenus();
}

void CRecentFileList::ReadList()
{
    CWinApp* pkApp = AfxGetApp();
    m_kFiles.clear();
    for (int i = 0; i < m_nSize && pkApp != nullptr; ++i)
    {
        CString kEntry;
        kEntry.Format(m_strEntryFormat, i + 1);
        CString kFile = pkApp->GetProfileString(m_strSection, kEntry, "");
        if (!kFile.IsEmpty())
            m_kFiles.push_back(kFile);
    }
    UpdateMenus();
}

void CRecentFileList::WriteList()
{
    CWinApp* pkApp = AfxGetApp();
    if (pkApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString kEntry;
        kEntry.Format(m_strEntryFormat, i + 1);
        pkApp->WriteProfileString(m_strSection, kEntry,
                                  i < GetSize() ? m_kFiles[static_cast<size_t>(i)].GetString() : nullptr);
    }
}

void CRecentFileList::UpdateMenus() const
{
    for (CFrameWnd* pkFrame : CFrameWnd::GetAllFrames())
        UpdateMenuBar(pkFrame->GetMenuBar());
}

void CRecentFileList::UpdateMenuBar(wxMenuBar* pkBar) const
{
    if (pkBar == nullptr)
        return;
    wxMenu* pkMenu = nullptr;
    wxMenuItem* pkFirst = pkBar->FindItem(CWnd::ToolkitId(m_nStart), &pkMenu);
    if (pkFirst == nullptr || pkMenu == nullptr)
        return;
    for (int i = 1; i < m_nSize; ++i)
        if (pkMenu->FindChildItem(CWnd::ToolkitId(m_nStart + static_cast<UINT>(i))) != nullptr)
            pkMenu->Delete(CWnd::ToolkitId(m_nStart + static_cast<UINT>(i)));
    if (m_kFiles.empty())
    {
        pkFirst->SetItemLabel("Recent File");
        pkFirst->Enable(false);
        return;
    }
    size_t uiPosition = 0;
    pkMenu->FindChildItem(CWnd::ToolkitId(m_nStart), &uiPosition);
    for (size_t i = 0; i < m_kFiles.size(); ++i)
    {
        wxString kLabel = wxString::Format("&%d ", static_cast<int>(i + 1)) + wxString::FromUTF8(m_kFiles[i]);
        kLabel.Replace("&", "&&", true);
        kLabel[0] = '&';
        kLabel.Remove(1, 1);
        if (i == 0)
        {
            pkFirst->SetItemLabel(kLabel);
            pkFirst->Enable(true);
        }
        else
            pkMenu->Insert(uiPosition + i, CWnd::ToolkitId(m_nStart + static_cast<UINT>(i)), kLabel);
    }
}
