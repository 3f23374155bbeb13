#include "scene/object/MemoryBufferStream.h"

#include <cstdlib>
#include <cstring>
#include <limits>

MemoryBufferStream::MemoryBufferStream(const void* pvBuffer, uint32_t uiSize)
    : m_pcBuffer(static_cast<char*>(const_cast<void*>(pvBuffer))), m_uiSize(pvBuffer != nullptr ? uiSize : 0)
{
}

MemoryBufferStream::MemoryBufferStream()
{
    m_pcBuffer = static_cast<char*>(std::malloc(INITIAL_CAPACITY));
    if (m_pcBuffer != nullptr)
        m_uiCapacity = INITIAL_CAPACITY;
}

MemoryBufferStream::~MemoryBufferStream()
{
    if (m_uiCapacity > 0 && !m_bDetached)
        std::free(m_pcBuffer);
}

uint32_t MemoryBufferStream::Read(void* pvDestination, uint32_t uiBytes)
{
    const uint32_t uiLeft = m_uiSize - m_uiReadPosition;
    const uint32_t uiCopied = uiBytes < uiLeft ? uiBytes : uiLeft;
    if (uiCopied == 0)
        return 0;
    std::memcpy(pvDestination, m_pcBuffer + m_uiReadPosition, uiCopied);
    m_uiReadPosition += uiCopied;
    return uiCopied;
}

uint32_t MemoryBufferStream::Write(const void* pvSource, uint32_t uiBytes)
{
    // Once detached the buffer belongs to the caller, so growing it here would free their memory.
    if (m_uiCapacity == 0 || m_bDetached || uiBytes == 0)
        return 0;
    const uint64_t uiNeeded = uint64_t{m_uiSize} + uiBytes;
    if (uiNeeded > std::numeric_limits<uint32_t>::max())
        return 0;
    if (uiNeeded > m_uiCapacity)
    {
        uint64_t uiNewCapacity = uint64_t{m_uiCapacity} * 2;
        if (uiNewCapacity < uiNeeded)
            uiNewCapacity = uiNeeded;
        if (uiNewCapacity > std::numeric_limits<uint32_t>::max())
            uiNewCapacity = uiNeeded;
        char* pcGrown = static_cast<char*>(std::realloc(m_pcBuffer, uiNewCapacity));
        if (pcGrown == nullptr)
            return 0;
        m_pcBuffer = pcGrown;
        m_uiCapacity = static_cast<uint32_t>(uiNewCapacity);
    }
    std::memcpy(m_pcBuffer + m_uiSize, pvSource, uiBytes);
    m_uiSize += uiBytes;
    return uiBytes;
}

char* MemoryBufferStream::Detach()
{
    m_bDetached = true;
    return m_pcBuffer;
}
