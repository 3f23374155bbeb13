#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CString.h"

#include <vector>

class wxMenuBar;

// The most recently opened files, newest first, kept in the profile and shown in every
// frame's menu in place of the first recent-file command.
class CRecentFileList
{
public:
    CRecentFileList(UINT nStart, const char* pcSection, const char* pcEntryFormat, int nSize);

    void Add(const char* pcPathName);
    void Remove(int nIndex);
    int GetSize() const { return static_cast<int>(m_kFiles.size()); }
    const CString& operator[](int nIndex) const { return m_kFiles[static_cast<size_t>(nIndex)]; }

    void ReadList();
    void WriteList();
    // Rewrites the recent-file items of every open frame's menu.
    void UpdateMenus() const;
    // Rewrites them in one menu bar (one that holds the first recent-file command).
    void UpdateMenuBar(wxMenuBar* pkBar) const;

private:
    UINT m_nStart;
    CString m_strSection;
    CString m_strEntryFormat;
    int m_nSize;
    std::vector<CString> m_kFiles;
};
