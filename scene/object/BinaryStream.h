#pragma once

#include <cstdint>

// The byte stream under the .nif object stream: a file or a memory buffer. Reads and
// writes answer how many bytes moved; a short count is how callers see the end of the
// data or a failure.
class BinaryStream
{
public:
    virtual ~BinaryStream();

    virtual bool IsGood() = 0;
    virtual uint32_t Read(void* pvDestination, uint32_t uiBytes) = 0;
    virtual uint32_t Write(const void* pvSource, uint32_t uiBytes) = 0;

    // Reads one line into pcBuffer (at most uiSize - 1 characters, always terminated when
    // uiSize >= 1). The newline is consumed but not stored; a longer line leaves its rest
    // for the next call. Returns the bytes consumed, 0 when nothing was read.
    uint32_t GetLine(char* pcBuffer, uint32_t uiSize);

    // Writes the characters of pcText without a newline; returns how many were written.
    uint32_t PutString(const char* pcText);

    static uint32_t Read(BinaryStream& kStream, void* pvDestination, uint32_t uiBytes);

    // Reads uiCount 4-byte values as they lie in the stream (no byte-order change); returns
    // the bytes read. A count whose byte size does not fit 32 bits reads nothing.
    static uint32_t ReadDwords(BinaryStream& kStream, void* pvDestination, uint32_t uiCount);
};
