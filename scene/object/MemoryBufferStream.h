#pragma once

#include "scene/object/BinaryStream.h"

#include <cstdint>

// A stream over memory: either read-only over a caller's buffer (never freed here), or a
// growable buffer that writes append to. A growable buffer is allocated with std::malloc;
// whoever takes it with Detach frees it with std::free.
class MemoryBufferStream : public BinaryStream
{
public:
    static constexpr uint32_t INITIAL_CAPACITY = 1024;

    MemoryBufferStream(const void* pvBuffer, uint32_t uiSize);
    MemoryBufferStream();
    ~MemoryBufferStream() override;

    MemoryBufferStream(const MemoryBufferStream&) = delete;
    MemoryBufferStream& operator=(const MemoryBufferStream&) = delete;

    bool IsGood() override { return true; }
    uint32_t Read(void* pvDestination, uint32_t uiBytes) override;

    // Appends at the end of the data; 0 for a stream over a caller's buffer, a detached
    // buffer, or when the buffer cannot grow.
    uint32_t Write(const void* pvSource, uint32_t uiBytes) override;

    char* Detach();
    void SetDetached(bool bDetached) { m_bDetached = bDetached; }

    const char* GetBuffer() const { return m_pcBuffer; }
    uint32_t GetSize() const { return m_uiSize; }
    uint32_t GetCapacity() const { return m_uiCapacity; }

    using BinaryStream::Read;

private:
    char* m_pcBuffer = nullptr;
    uint32_t m_uiReadPosition = 0;
    uint32_t m_uiSize = 0;
    uint32_t m_uiCapacity = 0; // 0: the caller's read-only buffer
    bool m_bDetached = false;
};
