// SKStream: construction and opening; raw bytes and text; typed values; compressed vectors and the
// packed length codec; position and status.
#include "core/SKStream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <sys/stat.h>

namespace
{
using Status = SKStreamException;

constexpr float INV_127 = 1.0f / 127.0f;
constexpr float INV_255 = 1.0f / 255.0f;
constexpr float INV_4095 = 1.0f / 4095.0f;
constexpr float ZERO_LENGTH = 0.000001f;

// Upper bounds of the eight decades of the packed length: 0.001 as a float, then ten times the one below
// in double precision. Each bound lies a little above its decimal power.
constexpr std::array<double, 8> MakeDecadeBounds()
{
    std::array<double, 8> adHi{};
    adHi[0] = static_cast<double>(0.001f);
    for (size_t i = 1; i < adHi.size(); i++)
        adHi[i] = adHi[i - 1] * 10.0;
    return adHi;
}
constexpr std::array<double, 8> DECADE_HI = MakeDecadeBounds();

double DecadeLow(size_t uiDecade)
{
    return uiDecade == 0 ? 0.0 : DECADE_HI[uiDecade - 1];
}

// Truncates toward zero into a signed byte; out-of-range values saturate and NaN gives 0, so a caller's
// bad vector never reaches an undefined conversion.
int8_t TruncToSignedByte(float fValue)
{
    if (std::isnan(fValue))
        return 0;
    return static_cast<int8_t>(std::clamp(std::trunc(fValue), -128.0f, 127.0f));
}

uint8_t TruncToUnsignedByte(float fValue)
{
    if (std::isnan(fValue))
        return 0;
    return static_cast<uint8_t>(std::clamp(std::trunc(fValue), 0.0f, 255.0f));
}

int SeekOrigin(int32_t iOrigin)
{
    switch (iOrigin)
    {
    case 0:
        return SEEK_SET;
    case 1:
        return SEEK_CUR;
    case 2:
        return SEEK_END;
    default:
        return -1;
    }
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Construction and opening

SKStream::SKStream() : m_kStatus(Status::STATUS_OK) {}

SKStream::~SKStream()
{
    SKStream::Close();
}

void SKStream::Open(const char* pcName, const char* pcMode)
{
    if (m_pkFile)
    {
        RaiseError(Status::STATUS_ALREADY_OPEN);
        return;
    }
    m_iWriteMode = 0;
    SetStatus(Status::STATUS_OK);
    if (!pcName || !pcMode)
    {
        SetStatus(Status::STATUS_OPEN_FAILED);
        return;
    }
    std::FILE* pkFile = std::fopen(pcName, pcMode);
    // A folder opens for reading on Linux but is no file to stream.
    struct stat kInfo;
    if (pkFile && (fstat(fileno(pkFile), &kInfo) != 0 || S_ISDIR(kInfo.st_mode)))
    {
        std::fclose(pkFile);
        pkFile = nullptr;
    }
    if (!pkFile)
    {
        SetStatus(Status::STATUS_OPEN_FAILED);
        return;
    }
    m_pkFile = pkFile;
    m_bWritable = std::strpbrk(pcMode, "wa+") != nullptr;
}

void SKStream::Close()
{
    if (!m_pkFile)
        return;
    // Buffered bytes are written here: a failure is a write error like any other, but Close never throws
    // (destructors call it).
    if (std::fclose(m_pkFile) != 0)
        SetStatus(Status::STATUS_WRITE_ERROR);
    m_pkFile = nullptr;
}

void SKStream::SetWriteMode(int32_t) {}

int32_t SKStream::GetWriteMode() const
{
    return m_iWriteMode;
}

// ---------------------------------------------------------------------------------------------------------
// Raw bytes and text

int32_t SKStream::Read(void* pvBuffer, int32_t iCount)
{
    if (iCount <= 0)
        return 0;
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return 0;
    }
    size_t uiRead = fread_unlocked(pvBuffer, 1, static_cast<size_t>(iCount), m_pkFile);
    if (uiRead != static_cast<size_t>(iCount))
        RaiseError(Status::STATUS_READ_ERROR);
    return static_cast<int32_t>(uiRead);
}

void SKStream::Write(const void* pvBuffer, int32_t iCount)
{
    if (iCount <= 0)
        return;
    WriteRaw(pvBuffer, static_cast<size_t>(iCount));
}

void SKStream::ReadCLine(char* pcBuffer, int32_t iSize, char cTerminator)
{
    if (iSize <= 0)
        return;
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return;
    }
    if (iSize == 1)
    {
        pcBuffer[0] = '\0';
        return;
    }
    if (cTerminator == '\n')
    {
        // At the end of the file nothing is read and the buffer stays as it was; that is no thrown error,
        // so line readers can run to the end.
        if (!fgets(pcBuffer, iSize, m_pkFile))
        {
            if (std::ferror(m_pkFile))
                RaiseError(Status::STATUS_READ_ERROR);
            else
                SetStatus(Status::STATUS_READ_ERROR);
        }
        return;
    }
    int32_t i = 0;
    while (i < iSize - 1 && !std::feof(m_pkFile))
    {
        int iByte = getc_unlocked(m_pkFile);
        if (iByte == EOF)
        {
            if (std::ferror(m_pkFile))
            {
                pcBuffer[i] = '\0';
                RaiseError(Status::STATUS_READ_ERROR);
                return;
            }
            break;
        }
        pcBuffer[i++] = static_cast<char>(iByte);
        if (static_cast<char>(iByte) == cTerminator)
            break;
    }
    pcBuffer[i] = '\0';
}

void SKStream::WriteCLine(const char* pcText)
{
    if (!pcText)
        return;
    size_t uiLength = std::strlen(pcText);
    if (uiLength > 0)
        WriteRaw(pcText, uiLength);
}

void SKStream::ReadCString(char* pcBuffer, int32_t iSize)
{
    int32_t iLength = ReadLong();
    if (iSize <= 0)
        return;
    // A longer stored text is cut to the buffer; its rest stays unread in the stream.
    iLength = std::min(iLength, iSize - 1);
    int32_t iRead = iLength > 0 ? Read(pcBuffer, iLength) : 0;
    pcBuffer[std::max(iRead, 0)] = '\0';
}

void SKStream::WriteCString(const char* pcText)
{
    size_t uiLength = pcText ? std::strlen(pcText) : 0;
    if (uiLength > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    {
        RaiseError(Status::STATUS_WRITE_ERROR);
        return;
    }
    WriteLong(static_cast<int32_t>(uiLength));
    Write(pcText, static_cast<int32_t>(uiLength));
}

std::unique_ptr<char[]> SKStream::ReadNewCString(int32_t iMaximum)
{
    int32_t iLength = ReadLong();
    if (iLength <= 0 || (iMaximum > 0 && iLength > iMaximum))
        return nullptr;
    // The length comes from the file: never allocate more than the stream still holds.
    if (!CheckRemaining(iLength))
        return nullptr;
    std::unique_ptr<char[]> pcText(new (std::nothrow) char[static_cast<size_t>(iLength) + 1]);
    if (!pcText)
    {
        RaiseError(Status::STATUS_READ_ERROR);
        return nullptr;
    }
    int32_t iRead = Read(pcText.get(), iLength);
    // Terminated whether or not the stored bytes ended with their zero byte.
    pcText[static_cast<size_t>(std::max(iRead, 0))] = '\0';
    return pcText;
}

void SKStream::WriteNewCString(const char* pcText)
{
    if (!pcText)
    {
        WriteLong(0);
        return;
    }
    size_t uiLength = std::strlen(pcText) + 1;
    if (uiLength > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    {
        RaiseError(Status::STATUS_WRITE_ERROR);
        return;
    }
    WriteLong(static_cast<int32_t>(uiLength));
    Write(pcText, static_cast<int32_t>(uiLength));
}

void SKStream::ReadCWLine(char16_t* pusBuffer, int32_t iSize, char16_t usTerminator)
{
    if (iSize <= 0)
        return;
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return;
    }
    // The end of the file ends the line quietly; a failed read ends it and then raises.
    bool bFailed = false;
    ReadWideLine(pusBuffer, iSize, usTerminator,
                 [&](char16_t& usUnit)
                 {
                     if (std::feof(m_pkFile))
                         return false;
                     if (fread_unlocked(&usUnit, sizeof usUnit, 1, m_pkFile) == 1)
                         return true;
                     bFailed = std::ferror(m_pkFile) != 0;
                     return false;
                 });
    if (bFailed)
        RaiseError(Status::STATUS_READ_ERROR);
}

void SKStream::WriteCWLine(const char16_t* pusText)
{
    if (!pusText)
        return;
    size_t uiLength = std::char_traits<char16_t>::length(pusText);
    if (uiLength > 0)
        WriteRaw(pusText, uiLength * sizeof(char16_t));
}

char16_t SKStream::ReadWChar()
{
    return ReadValue<char16_t>();
}

void SKStream::WriteWChar(char16_t usUnit)
{
    WriteValue(usUnit);
}

int32_t SKStream::ReadObjectRef()
{
    return ReadLong();
}

void SKStream::WriteObjectRef(int32_t iRef)
{
    WriteLong(iRef);
}

// ---------------------------------------------------------------------------------------------------------
// Typed values

bool SKStream::ReadBool()
{
    // ReadChar gives -1 at the end of the file, which must not read as true.
    int32_t iByte = ReadChar();
    return iByte > 0;
}

void SKStream::WriteBool(bool bValue)
{
    WriteChar(bValue ? 1 : 0);
}

int32_t SKStream::ReadChar()
{
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return -1;
    }
    int iByte = getc_unlocked(m_pkFile);
    if (iByte == EOF)
    {
        if (std::ferror(m_pkFile))
            RaiseError(Status::STATUS_READ_ERROR);
        else
            SetStatus(Status::STATUS_READ_ERROR);
        return -1;
    }
    return iByte;
}

void SKStream::WriteChar(int32_t iByte)
{
    uint8_t ucByte = static_cast<uint8_t>(iByte);
    WriteRaw(&ucByte, 1);
}

int16_t SKStream::ReadShort()
{
    return ReadValue<int16_t>();
}

void SKStream::WriteShort(int16_t sValue)
{
    WriteValue(sValue);
}

int32_t SKStream::ReadInt()
{
    return ReadValue<int32_t>();
}

void SKStream::WriteInt(int32_t iValue)
{
    WriteValue(iValue);
}

int32_t SKStream::ReadLong()
{
    return ReadValue<int32_t>();
}

void SKStream::WriteLong(int32_t iValue)
{
    WriteValue(iValue);
}

float SKStream::ReadFloat()
{
    return ReadValue<float>();
}

void SKStream::WriteFloat(float fValue)
{
    WriteValue(fValue);
}

double SKStream::ReadDouble()
{
    return ReadValue<double>();
}

void SKStream::WriteDouble(double dValue)
{
    WriteValue(dValue);
}

int32_t SKStream::ReadID()
{
    return ReadValue<int32_t>();
}

void SKStream::WriteID(int32_t iID)
{
    WriteValue(iID);
}

template <class T> T SKStream::ReadValue()
{
    T value{};
    ReadValueBytes(&value, sizeof value);
    return value;
}

template <class T> void SKStream::WriteValue(T value)
{
    WriteValueBytes(&value, sizeof value);
}

void SKStream::ReadValueBytes(void* pvValue, size_t uiCount)
{
    ReadRaw(pvValue, uiCount);
}

void SKStream::WriteValueBytes(const void* pvValue, size_t uiCount)
{
    WriteRaw(pvValue, uiCount);
}

void SKStream::ReadRaw(void* pvBuffer, size_t uiCount)
{
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return;
    }
    size_t uiRead = fread_unlocked(pvBuffer, 1, uiCount, m_pkFile);
    if (uiRead != uiCount)
    {
        std::memset(static_cast<char*>(pvBuffer) + uiRead, 0, uiCount - uiRead);
        RaiseError(Status::STATUS_READ_ERROR);
    }
}

void SKStream::WriteRaw(const void* pvBuffer, size_t uiCount)
{
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return;
    }
    if (fwrite_unlocked(pvBuffer, 1, uiCount, m_pkFile) != uiCount)
        RaiseError(Status::STATUS_WRITE_ERROR);
}

// ---------------------------------------------------------------------------------------------------------
// Compressed vectors

void SKStream::WriteUnitVector(float fX, float fY, float fZ)
{
    int8_t acBytes[3];
    CompressUnitVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2]);
    Write(acBytes, 3);
}

void SKStream::ReadUnitVector(float& fX, float& fY, float& fZ)
{
    int8_t acBytes[3] = {};
    Read(acBytes, 3);
    DecompressUnitVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2]);
}

void SKStream::WriteVector(float fX, float fY, float fZ, bool bPackedLength)
{
    int8_t acBytes[3];
    if (bPackedLength)
    {
        uint16_t usLength;
        CompressVectorPacked(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], usLength);
        Write(acBytes, 3);
        WriteShort(static_cast<int16_t>(usLength));
        return;
    }
    float fLength;
    CompressVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], fLength);
    Write(acBytes, 3);
    WriteFloat(fLength);
}

void SKStream::ReadVector(float& fX, float& fY, float& fZ, bool bPackedLength)
{
    int8_t acBytes[3] = {};
    Read(acBytes, 3);
    if (bPackedLength)
    {
        uint16_t usLength = static_cast<uint16_t>(ReadShort());
        DecompressVectorPacked(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], usLength);
        return;
    }
    float fLength = ReadFloat();
    DecompressVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], fLength);
}

void SKStream::WriteScaledVector(float fX, float fY, float fZ, float fMaximum)
{
    int8_t acBytes[4];
    uint8_t ucLength;
    CompressScaledVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], ucLength, fMaximum);
    acBytes[3] = static_cast<int8_t>(ucLength);
    Write(acBytes, 4);
}

void SKStream::ReadScaledVector(float& fX, float& fY, float& fZ, float fMaximum)
{
    int8_t acBytes[4] = {};
    Read(acBytes, 4);
    DecompressScaledVector(fX, fY, fZ, acBytes[0], acBytes[1], acBytes[2], static_cast<uint8_t>(acBytes[3]),
                           fMaximum);
}

void SKStream::CompressVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                              float& fLength)
{
    fLength = std::sqrt(fX * fX + fY * fY + fZ * fZ);
    if (!(fLength > ZERO_LENGTH))
    {
        fLength = 0.0f;
        cX = cY = cZ = 0;
        return;
    }
    float fInverse = 1.0f / fLength;
    cX = TruncToSignedByte(fX * fInverse * 127.0f);
    cY = TruncToSignedByte(fY * fInverse * 127.0f);
    cZ = TruncToSignedByte(fZ * fInverse * 127.0f);
}

void SKStream::CompressVectorPacked(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                                    uint16_t& usLength)
{
    float fLength;
    CompressVector(fX, fY, fZ, cX, cY, cZ, fLength);
    usLength = EncodePackedLength(fLength);
}

void SKStream::CompressUnitVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ)
{
    cX = TruncToSignedByte(fX * 127.0f);
    cY = TruncToSignedByte(fY * 127.0f);
    cZ = TruncToSignedByte(fZ * 127.0f);
}

void SKStream::CompressScaledVector(float fX, float fY, float fZ, int8_t& cX, int8_t& cY, int8_t& cZ,
                                    uint8_t& ucLength, float fMaximum)
{
    float fLength;
    CompressVector(fX, fY, fZ, cX, cY, cZ, fLength);
    // A maximum of 0 (or less) leaves no scale to express a length in.
    if (!(fMaximum > 0.0f))
    {
        ucLength = 0;
        return;
    }
    fLength = std::min(fLength, fMaximum);
    ucLength = TruncToUnsignedByte(fLength / fMaximum * 255.0f);
}

void SKStream::DecompressVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                float fLength)
{
    fX = cX * INV_127 * fLength;
    fY = cY * INV_127 * fLength;
    fZ = cZ * INV_127 * fLength;
}

void SKStream::DecompressVectorPacked(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                      uint16_t usLength)
{
    DecompressVector(fX, fY, fZ, cX, cY, cZ, static_cast<float>(DecodePackedLength(usLength)));
}

void SKStream::DecompressUnitVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ)
{
    fX = cX * INV_127;
    fY = cY * INV_127;
    fZ = cZ * INV_127;
    float fLength = std::sqrt(fX * fX + fY * fY + fZ * fZ);
    if (fLength > ZERO_LENGTH)
    {
        fX /= fLength;
        fY /= fLength;
        fZ /= fLength;
        return;
    }
    fX = fY = fZ = 0.0f;
}

void SKStream::DecompressScaledVector(float& fX, float& fY, float& fZ, int8_t cX, int8_t cY, int8_t cZ,
                                      uint8_t ucLength, float fMaximum)
{
    DecompressUnitVector(fX, fY, fZ, cX, cY, cZ);
    float fScale = static_cast<float>(ucLength) * fMaximum * INV_255;
    fX *= fScale;
    fY *= fScale;
    fZ *= fScale;
}

uint16_t SKStream::EncodePackedLength(float fValue)
{
    uint16_t usSign = fValue < 0.0f ? 0x8000 : 0;
    double dMagnitude = std::fabs(static_cast<double>(fValue));
    for (size_t uiDecade = 0; uiDecade < DECADE_HI.size(); uiDecade++)
    {
        if (dMagnitude < DECADE_HI[uiDecade])
        {
            double dLow = DecadeLow(uiDecade);
            double dMantissa = (dMagnitude - dLow) / (DECADE_HI[uiDecade] - dLow) * 4095.0;
            uint16_t usMantissa = static_cast<uint16_t>(std::min(dMantissa, 4095.0));
            return static_cast<uint16_t>(usSign | (uiDecade << 12) | usMantissa);
        }
    }
    // Everything from about 10000 up (and NaN) takes the largest code.
    return static_cast<uint16_t>(usSign | 0x7FFF);
}

double SKStream::DecodePackedLength(uint16_t usCode)
{
    size_t uiDecade = (usCode >> 12) & 0x7;
    double dMantissa = usCode & 0xFFF;
    double dLow = DecadeLow(uiDecade);
    double dValue = dLow + dMantissa * static_cast<double>(INV_4095) * (DECADE_HI[uiDecade] - dLow);
    return (usCode & 0x8000) ? -dValue : dValue;
}

void SKStream::ReadScaledVectorToLast(float fMaximum)
{
    ReadScaledVector(m_fLastX, m_fLastY, m_fLastZ, fMaximum);
}

void SKStream::ReadUnitVectorToLast()
{
    ReadUnitVector(m_fLastX, m_fLastY, m_fLastZ);
}

void SKStream::ReadVectorToLast()
{
    ReadVector(m_fLastX, m_fLastY, m_fLastZ, false);
}

// ---------------------------------------------------------------------------------------------------------
// Position and status

int32_t SKStream::GetPos()
{
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return -1;
    }
    long lPosition = std::ftell(m_pkFile);
    if (lPosition < 0 || lPosition > std::numeric_limits<int32_t>::max())
    {
        RaiseError(Status::STATUS_POSITION_ERROR);
        return -1;
    }
    return static_cast<int32_t>(lPosition);
}

void SKStream::Seek(int32_t iOffset, int32_t iOrigin)
{
    if (!m_pkFile)
    {
        RaiseError(Status::STATUS_NOT_ATTACHED);
        return;
    }
    int iWhence = SeekOrigin(iOrigin);
    if (iWhence < 0 || std::fseek(m_pkFile, iOffset, iWhence) != 0 || std::ferror(m_pkFile))
        RaiseError(Status::STATUS_POSITION_ERROR);
}

int32_t SKStream::GetLength()
{
    if (!m_pkFile)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return -1;
    }
    // Bytes still in the write buffer belong to the file's length.
    if (m_bWritable)
        std::fflush(m_pkFile);
    struct stat kInfo;
    if (fstat(fileno(m_pkFile), &kInfo) != 0)
    {
        SetStatus(Status::STATUS_POSITION_ERROR);
        return -1;
    }
    return static_cast<int32_t>(std::min<off_t>(kInfo.st_size, std::numeric_limits<int32_t>::max()));
}

bool SKStream::Eof()
{
    return !m_pkFile || std::feof(m_pkFile);
}

void SKStream::ClearStatus()
{
    SetStatus(Status::STATUS_OK);
    if (m_pkFile)
        std::clearerr(m_pkFile);
}

bool SKStream::CheckRemaining(int64_t iCount)
{
    if (iCount < 0)
    {
        RaiseError(Status::STATUS_READ_ERROR);
        return false;
    }
    int32_t iLength = GetLength();
    if (iLength < 0)
    {
        RaiseError(GetStatus());
        return false;
    }
    int64_t iRemaining = std::max<int64_t>(0, static_cast<int64_t>(iLength) - GetPos());
    if (iCount > iRemaining)
    {
        RaiseError(Status::STATUS_READ_ERROR);
        return false;
    }
    return true;
}

void SKStream::RaiseError(int32_t iCode)
{
    SetStatus(iCode);
    throw &m_kStatus;
}
