#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CString.h"

#include <vector>

// Finds files by name or pattern ('*' and '?', matched without regard to case).
class CFileFind
{
public:
    // TRUE when something matches; FindNextFile then steps to each match in turn.
    BOOL FindFile(const char* pcName = nullptr);
    BOOL FindNextFile();
    void Close();

    // The folder of the current match, without a closing separator.
    CString GetRoot() const;
    CString GetFilePath() const;
    CString GetFileName() const;

private:
    CString m_strRoot;
    std::vector<CString> m_kNames;
    size_t m_uiNext = 0;
    CString m_strCurrent;
};
