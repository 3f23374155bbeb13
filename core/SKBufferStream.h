#pragma once

#include "core/SKStream.h"

#include <cstdint>
#include <memory>

// SKStream's interface over a block of memory. It differs from the file stream in three ways: errors only
// set the status code and are never thrown; booleans are packed up to five to a byte (bits 0-4 the values,
// bits 5-7 their count); and the line writers end each line themselves (a line feed after narrow text, a 0
// unit after wide text).
//
// A block from OpenBuffer belongs to the stream and is freed by CloseBuffer, the next OpenBuffer or the
// destructor; a block handed to AttachBuffer stays the caller's.
class SKBufferStream : public SKStream
{
public:
    SKBufferStream() = default;
    ~SKBufferStream() override;

    // Buffers. Attaching while a buffer is attached fails with -3; OpenBuffer of 0 bytes or less, or one
    // whose block cannot be had, fails with -2.
    virtual void AttachBuffer(void* pvBuffer, int32_t iSize);
    virtual uint8_t* GetBuffer() const { return m_pucBuffer; }
    virtual void OpenBuffer(int32_t iSize);
    virtual void CloseBuffer();

    // The memory forms of SKStream's operations. Open is not supported (-2); Close forgets the buffer.
    void Open(const char* pcName, const char* pcMode) override;
    void Close() override;
    int32_t Read(void* pvBuffer, int32_t iCount) override;
    void Write(const void* pvBuffer, int32_t iCount) override;
    void ReadCLine(char* pcBuffer, int32_t iSize, char cTerminator) override;
    void WriteCLine(const char* pcText) override;
    void ReadCWLine(char16_t* pusBuffer, int32_t iSize, char16_t usTerminator) override;
    void WriteCWLine(const char16_t* pusText) override;
    bool ReadBool() override;
    void WriteBool(bool bValue) override;
    int32_t ReadChar() override;
    void WriteChar(int32_t iByte) override;

    // Seek origins: 0 from the start (below the size), 1 from the position (up to the size), anything else
    // backwards from the end. A seek that would leave the buffer fails with -6.
    int32_t GetPos() override { return m_iPosition; }
    void Seek(int32_t iOffset, int32_t iOrigin) override;
    int32_t GetLength() override;
    bool Eof() override { return m_iPosition >= m_iSize; }
    void ClearStatus() override;

protected:
    void RaiseError(int32_t iCode) override;
    // A short read still moves the position on by the whole value, so a reader that counts bytes stays in
    // step with the record; a write that does not fit leaves the position at the end.
    void ReadValueBytes(void* pvValue, size_t uiCount) override;
    void WriteValueBytes(const void* pvValue, size_t uiCount) override;

private:
    // Bytes left from the position; 0 once a failed read has carried the position past the end.
    int32_t Remaining() const { return m_iPosition < m_iSize ? m_iSize - m_iPosition : 0; }
    void Detach();

    uint8_t* m_pucBuffer = nullptr;
    std::unique_ptr<uint8_t[]> m_pucOwned; // the OpenBuffer block, if any
    int32_t m_iSize = 0;
    int32_t m_iPosition = 0;
    int32_t m_iBoolByte = 0;  // where the current packed booleans live
    uint8_t m_ucBoolMask = 0; // the next boolean's bit; 0 starts a new byte
};
