#pragma once

#include "core/SKStreamException.h"

#include <cstdint>
#include <cstdio>
#include <memory>

// The engine's stream of typed values over a file. Values are written raw in little-endian order: Char and
// Bool 1 byte, Short and WChar 2, Int, Long, ID and Float 4, Double 8. SKBufferStream serves the same
// interface over memory. The typed values are written once, here, over the value byte operations that each
// stream gives with its own end-of-data behaviour.
//
// Failures set the status code (see SKStreamException). The file stream then throws a pointer to its own
// status object; a failed Open only sets -1, and reading a line or a character at the end of the file only
// sets -4 (ReadChar gives -1 there, ReadBool false, ReadCLine leaves the buffer as it was).
//
// Sections: opening and closing; raw bytes and text; typed values; compressed vectors; position and
// status.
class SKStream
{
public:
    SKStream();
    virtual ~SKStream();
    SKStream(const SKStream&) = delete;
    SKStream& operator=(const SKStream&) = delete;

    // Opening and closing. Open takes a standard file mode text ("rb", "wt", ...); test GetStatus after it.
    virtual void Open(const char* pcName, const char* pcMode);
    virtual void Close();
    virtual void SetWriteMode(int32_t iMode);
    virtual int32_t GetWriteMode() const;

    // Raw bytes and text. Read gives the number of bytes it delivered. A CString is a Long byte count and
    // the bytes; a NewCString counts and stores the zero byte too (a null text is the count 0 alone); the
    // line forms carry no length.
    virtual int32_t Read(void* pvBuffer, int32_t iCount);
    virtual void Write(const void* pvBuffer, int32_t iCount);
    virtual void ReadCLine(char* pcBuffer, int32_t iSize, char cTerminator);
    virtual void WriteCLine(const char* pcText);
    virtual void ReadCString(char* pcBuffer, int32_t iSize);
    virtual void WriteCString(const char* pcText);
    virtual std::unique_ptr<char[]> ReadNewCString(int32_t iMaximum);
    virtual void WriteNewCString(const char* pcText);
    virtual void ReadCWLine(char16_t* pusBuffer, int32_t iSize, char16_t usTerminator);
    virtual void WriteCWLine(const char16_t* pusText);
    virtual char16_t ReadWChar();
    virtual void WriteWChar(char16_t usUnit);
    virtual int32_t ReadObjectRef();
    virtual void WriteObjectRef(int32_t iRef);

    // Typed values.
    virtual bool ReadBool();
    virtual void WriteBool(bool bValue);
    virtual int32_t ReadChar();
    virtual void WriteChar(int32_t iByte);
    virtual int16_t ReadShort();
    virtual void WriteShort(int16_t sValue);
    virtual int32_t ReadInt();
    virtual void WriteInt(int32_t iValue);
    virtual int32_t ReadLong();
    virtual void WriteLong(int32_t iValue);
    virtual float ReadFloat();
    virtual void WriteFloat(float fValue);
    virtual double ReadDouble();
    virtual void WriteDouble(double dValue);
    virtual int32_t ReadID();
    virtual void WriteID(int32_t iID);

    // Compressed vectors: a direction as three signed bytes (component x 127, truncated), then the length
    // when the form has one: a Float, a 16-bit packed length, or a byte scaled to a maximum length.
    virtual void WriteUnitVector(float fX, float fY, float fZ);
    virtual void ReadUnitVector(float& fX, float& fY, float& fZ);
    virtual void WriteVector(float fX, float fY, float fZ, bool bPackedLength);
    virtual void ReadVector(float& fX, float& fY, float& fZ, bool bPackedLength);
    virtual void WriteScaledVector(float fX, float fY, float fZ, float fMaximum);
    virtual void ReadScaledVector(float& fX, float& fY, float& fZ, float fMaximum);
    static void CompressVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                               float& fLength);
    static void CompressVectorPacked(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                                     uint16_t& usLength);
    static void CompressUnitVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ);
    static void CompressScaledVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                                     uint8_t& ucLength, float fMaximum);
    static void DecompressVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                 float fLength);
    static void DecompressVectorPacked(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                       uint16_t usLength);
    static void DecompressUnitVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ);
    static void DecompressScaledVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                       uint8_t ucLength, float fMaximum);
    // The 16-bit float of the packed lengths: sign, a decade 0-7 above 0.001, a 12-bit mantissa.
    static uint16_t EncodePackedLength(float fValue);
    static double DecodePackedLength(uint16_t usCode);

    // The "to last" reads keep the vector in the stream for GetLastX/Y/Z.
    virtual void ReadScaledVectorToLast(float fMaximum);
    virtual void ReadUnitVectorToLast();
    virtual void ReadVectorToLast();
    float GetLastX() const { return m_fLastX; }
    float GetLastY() const { return m_fLastY; }
    float GetLastZ() const { return m_fLastZ; }

    // Position and status. Seek origins: 0 from the start, 1 from the current position, 2 from the end.
    virtual int32_t GetPos();
    virtual void Seek(int32_t iOffset, int32_t iOrigin);
    virtual int32_t GetLength();
    virtual bool Eof();
    int32_t GetStatus() const { return m_kStatus.GetCode(); }
    virtual void ClearStatus();

    // Loaders call this before they trust a length or count read from the stream: true when at least
    // iCount more bytes remain; otherwise a read error (which the file stream throws).
    bool CheckRemaining(int64_t iCount);

protected:
    // Records the code; the file stream then throws its status object, a memory stream only records.
    virtual void RaiseError(int32_t iCode);
    void SetStatus(int32_t iCode) { m_kStatus.SetCode(iCode); }

    // A wide line read unit by unit while the buffer has room (iSize - 1 units and the closing 0) and
    // kNextUnit(usUnit) gives one: a 0 unit ends it, and so does the terminator, which is kept. The
    // buffer always ends with a 0.
    template <class TNextUnit>
    static void ReadWideLine(char16_t* pusBuffer, int32_t iSize, char16_t usTerminator, TNextUnit&& kNextUnit)
    {
        int32_t i = 0;
        char16_t usUnit = 0;
        while (i < iSize - 1 && kNextUnit(usUnit))
        {
            pusBuffer[i] = usUnit;
            if (usUnit == 0)
                return;
            if (usUnit == usTerminator)
            {
                pusBuffer[i + 1] = 0;
                return;
            }
            i++;
        }
        pusBuffer[i] = 0;
    }

    // The bytes of one typed value. A read that finds too few bytes fills the rest of the value with
    // zeros and fails as the stream fails at the end of its data; a write that does not fit fails likewise.
    virtual void ReadValueBytes(void* pvValue, size_t uiCount);
    virtual void WriteValueBytes(const void* pvValue, size_t uiCount);

private:
    void ReadRaw(void* pvBuffer, size_t uiCount);
    void WriteRaw(const void* pvBuffer, size_t uiCount);
    template <class T> T ReadValue();
    template <class T> void WriteValue(T value);

    SKStreamException m_kStatus;
    std::FILE* m_pkFile = nullptr;
    bool m_bWritable = false; // opened with a mode that writes: GetLength flushes first
    int32_t m_iWriteMode = 0;
    float m_fLastX = 0.0f;
    float m_fLastY = 0.0f;
    float m_fLastZ = 0.0f;
};
