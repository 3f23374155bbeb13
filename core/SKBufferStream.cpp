// SKBufferStream: buffers; raw bytes and lines; packed booleans; typed values; position and status.
#include "core/SKBufferStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace
{
using Status = SKStreamException;

constexpr int BOOLS_PER_BYTE = 5;
constexpr uint8_t BOOL_VALUE_BITS = 0x1F;
constexpr int BOOL_COUNT_SHIFT = 5;
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Buffers

SKBufferStream::~SKBufferStream()
{
    Detach();
}

void SKBufferStream::AttachBuffer(void* pvBuffer, int32_t iSize)
{
    if (m_pucBuffer)
    {
        SetStatus(Status::STATUS_ALREADY_OPEN);
        return;
    }
    if (!pvBuffer || iSize < 0)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return;
    }
    SetStatus(Status::STATUS_OK);
    m_pucBuffer = static_cast<uint8_t*>(pvBuffer);
    m_iSize = iSize;
    m_iPosition = 0;
    m_iBoolByte = 0;
    m_ucBoolMask = 0;
}

void SKBufferStream::OpenBuffer(int32_t iSize)
{
    if (m_pucBuffer)
    {
        SetStatus(Status::STATUS_ALREADY_OPEN);
        return;
    }
    if (iSize <= 0)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return;
    }
    std::unique_ptr<uint8_t[]> pucBlock(new (std::nothrow) uint8_t[static_cast<size_t>(iSize)]());
    if (!pucBlock)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return;
    }
    m_pucOwned = std::move(pucBlock);
    AttachBuffer(m_pucOwned.get(), iSize);
}

void SKBufferStream::CloseBuffer()
{
    Close();
    m_pucOwned.reset();
}

void SKBufferStream::Open(const char*, const char*)
{
    SetStatus(Status::STATUS_NOT_ATTACHED);
}

void SKBufferStream::Close()
{
    if (!m_pucBuffer)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return;
    }
    Detach();
}

// Forgets the buffer. An OpenBuffer block stays alive (a caller may still read what GetBuffer gave) until
// CloseBuffer, the next OpenBuffer or the destructor frees it.
void SKBufferStream::Detach()
{
    m_pucBuffer = nullptr;
    m_iSize = 0;
    m_iPosition = 0;
    m_iBoolByte = 0;
    m_ucBoolMask = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Raw bytes and lines

int32_t SKBufferStream::Read(void* pvBuffer, int32_t iCount)
{
    if (iCount <= 0)
        return 0;
    int32_t iCopied = std::min(iCount, Remaining());
    if (iCopied > 0)
        std::memcpy(pvBuffer, m_pucBuffer + m_iPosition, static_cast<size_t>(iCopied));
    if (iCopied < iCount)
    {
        SetStatus(Status::STATUS_READ_ERROR);
        m_iPosition = m_iSize;
        return iCopied;
    }
    m_iPosition += iCopied;
    return iCopied;
}

void SKBufferStream::Write(const void* pvBuffer, int32_t iCount)
{
    if (iCount <= 0)
        return;
    int32_t iCopied = std::min(iCount, Remaining());
    if (iCopied > 0)
        std::memcpy(m_pucBuffer + m_iPosition, pvBuffer, static_cast<size_t>(iCopied));
    if (iCopied < iCount)
    {
        SetStatus(Status::STATUS_WRITE_ERROR);
        m_iPosition = m_iSize;
        return;
    }
    m_iPosition += iCopied;
}

void SKBufferStream::ReadCLine(char* pcBuffer, int32_t iSize, char cTerminator)
{
    if (iSize <= 0)
        return;
    int32_t i = 0;
    while (i < iSize - 1 && m_iPosition < m_iSize)
    {
        char cByte = static_cast<char>(m_pucBuffer[m_iPosition++]);
        pcBuffer[i++] = cByte;
        if (cByte == cTerminator)
            break;
    }
    pcBuffer[i] = '\0';
}

void SKBufferStream::WriteCLine(const char* pcText)
{
    if (!pcText)
        return;
    size_t uiLength = std::strlen(pcText);
    if (uiLength + 1 > static_cast<size_t>(Remaining()))
    {
        SetStatus(Status::STATUS_WRITE_ERROR);
        m_iPosition = m_iSize;
        return;
    }
    std::memcpy(m_pucBuffer + m_iPosition, pcText, uiLength);
    m_pucBuffer[m_iPosition + static_cast<int32_t>(uiLength)] = '\n';
    m_iPosition += static_cast<int32_t>(uiLength) + 1;
}

void SKBufferStream::ReadCWLine(char16_t* pusBuffer, int32_t iSize, char16_t usTerminator)
{
    if (iSize <= 1)
        return;
    ReadWideLine(pusBuffer, iSize, usTerminator,
                 [this](char16_t& usUnit)
                 {
                     if (Remaining() < 2)
                         return false;
                     usUnit = static_cast<char16_t>(ReadShort());
                     return true;
                 });
}

void SKBufferStream::WriteCWLine(const char16_t* pusText)
{
    if (!pusText)
        return;
    for (; *pusText; pusText++)
        WriteShort(static_cast<int16_t>(*pusText));
    WriteShort(0);
}

// ---------------------------------------------------------------------------------------------------------
// Packed booleans

bool SKBufferStream::ReadBool()
{
    if (m_ucBoolMask == 0)
    {
        if (Remaining() < 1)
        {
            SetStatus(Status::STATUS_READ_ERROR);
            return false;
        }
        m_iBoolByte = m_iPosition++;
        m_ucBoolMask = 1;
    }
    uint8_t ucByte = m_pucBuffer[m_iBoolByte];
    bool bValue = (ucByte & BOOL_VALUE_BITS & m_ucBoolMask) != 0;
    // The byte's count closes it; a malformed count still ends once the mask has left the byte.
    m_ucBoolMask = static_cast<uint8_t>(m_ucBoolMask << 1);
    if (m_ucBoolMask == (1u << (ucByte >> BOOL_COUNT_SHIFT)))
        m_ucBoolMask = 0;
    return bValue;
}

void SKBufferStream::WriteBool(bool bValue)
{
    uint8_t ucOld = 0;
    if (m_ucBoolMask == 0)
    {
        if (Remaining() < 1)
        {
            SetStatus(Status::STATUS_WRITE_ERROR);
            m_iPosition = m_iSize;
            return;
        }
        m_iBoolByte = m_iPosition++;
        m_ucBoolMask = 1;
    }
    else
    {
        ucOld = m_pucBuffer[m_iBoolByte];
    }
    int iCount = ucOld >> BOOL_COUNT_SHIFT;
    uint8_t ucValues = static_cast<uint8_t>((ucOld & BOOL_VALUE_BITS) | (bValue ? m_ucBoolMask : 0));
    m_pucBuffer[m_iBoolByte] = static_cast<uint8_t>(ucValues | ((iCount + 1) << BOOL_COUNT_SHIFT));
    m_ucBoolMask = iCount + 1 == BOOLS_PER_BYTE ? 0 : static_cast<uint8_t>(m_ucBoolMask << 1);
}

// ---------------------------------------------------------------------------------------------------------
// Typed values

int32_t SKBufferStream::ReadChar()
{
    if (Remaining() < 1)
    {
        SetStatus(Status::STATUS_READ_ERROR);
        return 0;
    }
    return m_pucBuffer[m_iPosition++];
}

void SKBufferStream::WriteChar(int32_t iByte)
{
    if (Remaining() < 1)
    {
        SetStatus(Status::STATUS_WRITE_ERROR);
        return;
    }
    m_pucBuffer[m_iPosition++] = static_cast<uint8_t>(iByte);
}

void SKBufferStream::ReadValueBytes(void* pvValue, size_t uiCount)
{
    const int32_t iCount = static_cast<int32_t>(uiCount);
    if (Remaining() < iCount)
    {
        SetStatus(Status::STATUS_READ_ERROR);
        if (m_iPosition <= std::numeric_limits<int32_t>::max() - iCount)
            m_iPosition += iCount;
        std::memset(pvValue, 0, uiCount);
        return;
    }
    std::memcpy(pvValue, m_pucBuffer + m_iPosition, uiCount);
    m_iPosition += iCount;
}

void SKBufferStream::WriteValueBytes(const void* pvValue, size_t uiCount)
{
    const int32_t iCount = static_cast<int32_t>(uiCount);
    if (Remaining() < iCount)
    {
        SetStatus(Status::STATUS_WRITE_ERROR);
        m_iPosition = m_iSize;
        return;
    }
    std::memcpy(m_pucBuffer + m_iPosition, pvValue, uiCount);
    m_iPosition += iCount;
}

// ---------------------------------------------------------------------------------------------------------
// Position and status

void SKBufferStream::Seek(int32_t iOffset, int32_t iOrigin)
{
    switch (iOrigin)
    {
    case 0:
        if (iOffset >= 0 && iOffset < m_iSize)
        {
            m_iPosition = iOffset;
            return;
        }
        break;
    case 1:
    {
        int64_t iTarget = static_cast<int64_t>(m_iPosition) + iOffset;
        if (iTarget >= 0 && iTarget <= m_iSize)
        {
            m_iPosition = static_cast<int32_t>(iTarget);
            return;
        }
        break;
    }
    default:
        if (iOffset >= 0 && iOffset < m_iSize)
        {
            m_iPosition = m_iSize - iOffset;
            return;
        }
        m_iPosition = 0;
        break;
    }
    SetStatus(Status::STATUS_POSITION_ERROR);
}

int32_t SKBufferStream::GetLength()
{
    if (!m_pucBuffer)
    {
        SetStatus(Status::STATUS_NOT_ATTACHED);
        return -1;
    }
    return m_iSize;
}

void SKBufferStream::ClearStatus()
{
    SetStatus(Status::STATUS_OK);
}

void SKBufferStream::RaiseError(int32_t iCode)
{
    SetStatus(iCode);
}
