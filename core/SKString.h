#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

class SKStream;

// The engine's text: a value string of 16-bit units. Byte strings enter one unit per byte, widened without
// sign (but for Insert of a single byte, which keeps its sign), and leave through GetCString. Only 'A'-'Z'
// and 'a'-'z' take part in case folding. Indexes and lengths are in units; an Insert or Erase index beyond
// the length throws std::out_of_range.
class SKString
{
public:
    SKString() = default;
    explicit SKString(const char* pcText);

    // Assignment. A null pointer leaves the string as it was.
    void SetString(const char* pcText);
    SKString& operator=(const char* pcText);
    SKString& operator=(const char16_t* pusUnits);
    void Assign(const char16_t* pusUnits, int32_t iCount);

    int32_t GetLength() const { return static_cast<int32_t>(m_kUnits.size()); }
    const std::u16string& GetUnits() const { return m_kUnits; }

    // Changing.
    SKString& operator+=(const SKString& kOther);
    SKString& operator+=(const char* pcText);
    SKString& operator+=(const char16_t* pusUnits);
    void Insert(int32_t iIndex, const char* pcText);
    void Insert(int32_t iIndex, const SKString& kOther);
    void Insert(int32_t iIndex, const char16_t* pusUnits);
    void Insert(int32_t iIndex, char16_t usUnit);
    void Insert(int32_t iIndex, char cByte); // 0x80-0xFF become 0xFF80-0xFFFF
    void Erase(int32_t iIndex, int32_t iCount);
    void ToLower();
    void ToUpper();

    // Reading. Find gives the index of the first occurrence from iStart on, or -1 (also for a start below
    // 0 or beyond the length); Compare gives <0, 0 or >0.
    char16_t GetAt(int32_t iIndex) const;
    int32_t Find(const SKString& kOther, int32_t iStart, bool bCaseSensitive) const;
    int32_t FindC(const char* pcText, int32_t iStart, bool bCaseSensitive) const;
    int32_t Compare(const SKString& kOther, bool bIgnoreCase) const;
    int32_t CompareC(const char* pcText, bool bIgnoreCase) const;
    // One byte per unit (units above 0xFF become 0x01) and a zero byte.
    std::unique_ptr<char[]> GetCString() const;
    SKString Append(const SKString& kOther) const;

    bool operator==(const SKString& kOther) const = default;

    // Stream form: Int length, then the units as WChars. A load whose length is negative or larger than
    // what the stream holds fails (the file stream throws) and leaves the string as it was.
    bool SaveToStream(SKStream& kStream) const;
    bool LoadFromStream(SKStream& kStream);

private:
    std::u16string m_kUnits;
};

SKString operator+(const SKString& kLeft, const SKString& kRight);
std::ostream& operator<<(std::ostream& kOut, const SKString& kString);
