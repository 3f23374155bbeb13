#include "platform/mfc/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <strings.h>

CString CString::Left(int iCount) const
{
    return CString(m_k.substr(0, static_cast<size_t>(std::clamp(iCount, 0, GetLength()))));
}

CString CString::Right(int iCount) const
{
    const int iTake = std::clamp(iCount, 0, GetLength());
    return CString(m_k.substr(m_k.size() - static_cast<size_t>(iTake)));
}

CString CString::Mid(int iFirst, int iCount) const
{
    iFirst = std::clamp(iFirst, 0, GetLength());
    const int iRest = GetLength() - iFirst;
    const int iTake = iCount < 0 ? iRest : std::min(iCount, iRest);
    return CString(m_k.substr(static_cast<size_t>(iFirst), static_cast<size_t>(iTake)));
}

void CString::MakeUpper()
{
    for (char& c : m_k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
}

void CString::MakeLower()
{
    for (char& c : m_k)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

int CString::Replace(const char* pcOld, const char* pcNew)
{
    const std::string kOld = pcOld != nullptr ? pcOld : "";
    const std::string kNew = pcNew != nullptr ? pcNew : "";
    if (kOld.empty())
        return 0;
    int iCount = 0;
    for (size_t uiAt = m_k.find(kOld); uiAt != std::string::npos; uiAt = m_k.find(kOld, uiAt + kNew.size()))
    {
        m_k.replace(uiAt, kOld.size(), kNew);
        ++iCount;
    }
    return iCount;
}

int CString::Find(const char* pcSub, int iStart) const
{
    const size_t uiAt = m_k.find(pcSub != nullptr ? pcSub : "", static_cast<size_t>(std::max(iStart, 0)));
    return uiAt == std::string::npos ? -1 : static_cast<int>(uiAt);
}

int CString::Find(char c, int iStart) const
{
    const size_t uiAt = m_k.find(c, static_cast<size_t>(std::max(iStart, 0)));
    return uiAt == std::string::npos ? -1 : static_cast<int>(uiAt);
}

int CString::ReverseFind(char c) const
{
    const size_t uiAt = m_k.rfind(c);
    return uiAt == std::string::npos ? -1 : static_cast<int>(uiAt);
}

int CString::CompareNoCase(const char* pc) const
{
    return strcasecmp(m_k.c_str(), pc != nullptr ? pc : "");
}

void CString::TrimLeft()
{
    m_k.erase(0, m_k.find_first_not_of(" \t\r\n"));
}

void CString::TrimRight()
{
    const size_t uiLast = m_k.find_last_not_of(" \t\r\n");
    m_k.erase(uiLast == std::string::npos ? 0 : uiLast + 1);
}

void CString::Format(const char* pcFormat, ...)
{
    va_list kArgs;
    va_start(kArgs, pcFormat);
    va_list kCopy;
    va_copy(kCopy, kArgs);
    const int iLength = std::vsnprintf(nullptr, 0, pcFormat, kCopy);
    va_end(kCopy);
    std::string kText(static_cast<size_t>(std::max(iLength, 0)) + 1, '\0');
    std::vsnprintf(kText.data(), kText.size(), pcFormat, kArgs);
    va_end(kArgs);
    kText.resize(static_cast<size_t>(std::max(iLength, 0)));
    m_k = std::move(kText);
}
