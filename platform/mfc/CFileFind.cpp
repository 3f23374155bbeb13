#include "platform/mfc/CFileFind.h"

#include "platform/win32/FileFind.h"

#include <filesystem>

BOOL CFileFind::FindFile(const char* pcName)
{
    Close();
    std::string kPattern = pcName != nullptr ? pcName : "*.*";
    for (char& c : kPattern)
        if (c == '\\')
            c = '/';
    const size_t uiSlash = kPattern.rfind('/');
    std::filesystem::path kRoot(".");
    if (uiSlash == 0)
        kRoot = std::filesystem::path("/");
    else if (uiSlash != std::string::npos)
        kRoot = std::filesystem::path(std::string_view(kPattern).substr(0, uiSlash));
    std::error_code kError;
    const std::filesystem::path kAbsolute = std::filesystem::absolute(kRoot, kError);
    m_strRoot = CString((kError ? kRoot : kAbsolute.lexically_normal()).string());
    if (m_strRoot.GetLength() > 1 && m_strRoot.Right(1) == "/")
        m_strRoot = m_strRoot.Left(m_strRoot.GetLength() - 1);
    WIN32_FIND_DATAA kData;
    HANDLE hFind = FindFirstFileA(kPattern.c_str(), &kData);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    do
    {
        if (kData.cFileName != "." && kData.cFileName != "..")
            m_kNames.emplace_back(kData.cFileName);
    } while (FindNextFileA(hFind, &kData));
    FindClose(hFind);
    return m_kNames.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_uiNext >= m_kNames.size())
        return FALSE;
    m_strCurrent = m_kNames[m_uiNext++];
    return m_uiNext < m_kNames.size() ? TRUE : FALSE;
}

void CFileFind::Close()
{
    m_kNames.clear();
    m_uiNext = 0;
    m_strCurrent.Empty();
    m_strRoot.Empty();
}

CString CFileFind::GetRoot() const
{
    return m_strRoot;
}

CString CFileFind::GetFilePath() const
{
    std::string kPath = m_strRoot.Str();
    if (kPath.empty() || kPath.back() != '/')
        kPath.push_back('/');
    kPath.append(m_strCurrent.Str());
    return CString(std::move(kPath));
}

CString CFileFind::GetFileName() const
{
    return m_strCurrent;
}
