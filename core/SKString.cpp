// SKString: assignment; changing; reading; stream form.
#include "core/SKString.h"

#include "core/SKStream.h"

#include <algorithm>
#include <cstring>
#include <ostream>

namespace
{
std::u16string Widen(const char* pcText)
{
    std::u16string kUnits;
    if (!pcText)
        return kUnits;
    kUnits.resize(std::strlen(pcText));
    for (size_t i = 0; i < kUnits.size(); i++)
        kUnits[i] = static_cast<unsigned char>(pcText[i]);
    return kUnits;
}

std::u16string Lowered(std::u16string kUnits)
{
    for (char16_t& usUnit : kUnits)
    {
        if (usUnit >= u'A' && usUnit <= u'Z')
            usUnit = static_cast<char16_t>(usUnit + (u'a' - u'A'));
    }
    return kUnits;
}

int32_t Sign(int iValue)
{
    return (iValue > 0) - (iValue < 0);
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Assignment

SKString::SKString(const char* pcText)
{
    SetString(pcText);
}

void SKString::SetString(const char* pcText)
{
    m_kUnits = Widen(pcText);
}

SKString& SKString::operator=(const char* pcText)
{
    if (pcText)
        SetString(pcText);
    return *this;
}

SKString& SKString::operator=(const char16_t* pusUnits)
{
    if (pusUnits)
        m_kUnits = pusUnits;
    return *this;
}

void SKString::Assign(const char16_t* pusUnits, int32_t iCount)
{
    m_kUnits.assign(pusUnits, static_cast<size_t>(std::max(iCount, 0)));
}

// ---------------------------------------------------------------------------------------------------------
// Changing

SKString& SKString::operator+=(const SKString& kOther)
{
    m_kUnits += kOther.m_kUnits;
    return *this;
}

SKString& SKString::operator+=(const char* pcText)
{
    m_kUnits += Widen(pcText);
    return *this;
}

SKString& SKString::operator+=(const char16_t* pusUnits)
{
    if (pusUnits)
        m_kUnits += pusUnits;
    return *this;
}

void SKString::Insert(int32_t iIndex, const char* pcText)
{
    m_kUnits.insert(static_cast<size_t>(iIndex), Widen(pcText));
}

void SKString::Insert(int32_t iIndex, const SKString& kOther)
{
    m_kUnits.insert(static_cast<size_t>(iIndex), kOther.m_kUnits);
}

void SKString::Insert(int32_t iIndex, const char16_t* pusUnits)
{
    m_kUnits.insert(static_cast<size_t>(iIndex), pusUnits ? std::u16string(pusUnits) : std::u16string());
}

void SKString::Insert(int32_t iIndex, char16_t usUnit)
{
    m_kUnits.insert(static_cast<size_t>(iIndex), 1, usUnit);
}

void SKString::Insert(int32_t iIndex, char cByte)
{
    m_kUnits.insert(static_cast<size_t>(iIndex), 1, static_cast<char16_t>(static_cast<int16_t>(cByte)));
}

void SKString::Erase(int32_t iIndex, int32_t iCount)
{
    m_kUnits.erase(static_cast<size_t>(iIndex), static_cast<size_t>(std::max(iCount, 0)));
}

void SKString::ToLower()
{
    m_kUnits = Lowered(std::move(m_kUnits));
}

void SKString::ToUpper()
{
    for (char16_t& usUnit : m_kUnits)
    {
        if (usUnit >= u'a' && usUnit <= u'z')
            usUnit = static_cast<char16_t>(usUnit - (u'a' - u'A'));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Reading

char16_t SKString::GetAt(int32_t iIndex) const
{
    if (iIndex < 0 || iIndex >= GetLength())
        return 0;
    return m_kUnits[static_cast<size_t>(iIndex)];
}

int32_t SKString::Find(const SKString& kOther, int32_t iStart, bool bCaseSensitive) const
{
    if (iStart < 0 || iStart > GetLength())
        return -1;
    size_t uiFound = bCaseSensitive
                         ? m_kUnits.find(kOther.m_kUnits, static_cast<size_t>(iStart))
                         : Lowered(m_kUnits).find(Lowered(kOther.m_kUnits), static_cast<size_t>(iStart));
    return uiFound == std::u16string::npos ? -1 : static_cast<int32_t>(uiFound);
}

int32_t SKString::FindC(const char* pcText, int32_t iStart, bool bCaseSensitive) const
{
    return Find(SKString(pcText), iStart, bCaseSensitive);
}

int32_t SKString::Compare(const SKString& kOther, bool bIgnoreCase) const
{
    if (!bIgnoreCase)
        return Sign(m_kUnits.compare(kOther.m_kUnits));
    return Sign(Lowered(m_kUnits).compare(Lowered(kOther.m_kUnits)));
}

int32_t SKString::CompareC(const char* pcText, bool bIgnoreCase) const
{
    return Compare(SKString(pcText), bIgnoreCase);
}

std::unique_ptr<char[]> SKString::GetCString() const
{
    std::unique_ptr<char[]> pcText(new char[m_kUnits.size() + 1]);
    for (size_t i = 0; i < m_kUnits.size(); i++)
        pcText[i] = static_cast<char>(m_kUnits[i] > 0xFF ? 0x01 : m_kUnits[i]);
    pcText[m_kUnits.size()] = '\0';
    return pcText;
}

SKString SKString::Append(const SKString& kOther) const
{
    SKString kResult(*this);
    kResult += kOther;
    return kResult;
}

SKString operator+(const SKString& kLeft, const SKString& kRight)
{
    return kLeft.Append(kRight);
}

std::ostream& operator<<(std::ostream& kOut, const SKString& kString)
{
    return kOut << kString.GetCString().get();
}

// ---------------------------------------------------------------------------------------------------------
// Stream form

bool SKString::SaveToStream(SKStream& kStream) const
{
    kStream.WriteInt(GetLength());
    for (char16_t usUnit : m_kUnits)
        kStream.WriteWChar(usUnit);
    return true;
}

bool SKString::LoadFromStream(SKStream& kStream)
{
    if (!kStream.CheckRemaining(4))
        return false;
    int32_t iLength = kStream.ReadInt();
    // The length comes from the file: a negative one, or one the stream cannot hold, fails the load
    // before anything is allocated.
    if (!kStream.CheckRemaining(static_cast<int64_t>(iLength) * 2))
        return false;
    std::u16string kUnits(static_cast<size_t>(iLength), u'\0');
    for (char16_t& usUnit : kUnits)
        usUnit = kStream.ReadWChar();
    m_kUnits = std::move(kUnits);
    return true;
}
