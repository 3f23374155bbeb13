#pragma once

#include <string>
#include <string_view>

// The framework's byte string: engine names and file paths stay the bytes they are.
class CString
{
public:
    CString() = default;
    CString(const char* pc) : m_k(pc != nullptr ? pc : "") {}
    CString(std::string k) : m_k(std::move(k)) {}
    CString(std::string_view k) : m_k(k) {}
    CString(char c, int iCount) : m_k(iCount > 0 ? static_cast<size_t>(iCount) : 0, c) {}

    operator const char*() const { return m_k.c_str(); }
    const char* GetString() const { return m_k.c_str(); }
    const std::string& Str() const { return m_k; }

    int GetLength() const { return static_cast<int>(m_k.size()); }
    bool IsEmpty() const { return m_k.empty(); }
    void Empty() { m_k.clear(); }
    char GetAt(int i) const { return m_k[static_cast<size_t>(i)]; }

    CString Left(int iCount) const;
    CString Right(int iCount) const;
    CString Mid(int iFirst, int iCount = -1) const;
    void MakeUpper();
    void MakeLower();
    // Replaces every occurrence; answers how many there were.
    int Replace(const char* pcOld, const char* pcNew);
    int Find(const char* pcSub, int iStart = 0) const;
    int Find(char c, int iStart = 0) const;
    int ReverseFind(char c) const;
    // ASCII letters compared without case, like the framework's compare.
    int CompareNoCase(const char* pc) const;
    void TrimLeft();
    void TrimRight();

    // printf-style, always in the C numeric locale of the process.
    void Format(const char* pcFormat, ...) __attribute__((format(printf, 2, 3)));

    CString& operator=(const char* pc)
    {
        m_k = pc != nullptr ? pc : "";
        return *this;
    }
    CString& operator+=(const CString& k)
    {
        m_k += k.m_k;
        return *this;
    }
    CString& operator+=(const char* pc)
    {
        m_k += pc != nullptr ? pc : "";
        return *this;
    }
    CString& operator+=(char c)
    {
        m_k += c;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_k + b.m_k); }
    friend CString operator+(const CString& a, const char* b) { return a + CString(b); }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_k == b.m_k; }
    friend bool operator==(const CString& a, const char* b) { return a.m_k == (b != nullptr ? b : ""); }

private:
    std::string m_k;
};
