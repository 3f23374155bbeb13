#include "scene/object/BufferedFileStream.h"

#include "platform/win32/CaseBlindPath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Opened without waiting (a FIFO with no writer would block the open) and kept only when it is
// a regular file: a FIFO or a device named by a model would block or never end a read.
std::FILE* OpenRegularFile(const char* pcPath, uint64_t& uiSize)
{
    const int iFile = open(pcPath, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (iFile < 0)
        return nullptr;
    struct stat kInfo;
    if (fstat(iFile, &kInfo) != 0 || !S_ISREG(kInfo.st_mode) ||
        fcntl(iFile, F_SETFL, fcntl(iFile, F_GETFL) & ~O_NONBLOCK) != 0)
    {
        close(iFile);
        return nullptr;
    }
    std::FILE* pkFile = fdopen(iFile, "rb");
    if (pkFile == nullptr)
    {
        close(iFile);
        return nullptr;
    }
    uiSize = static_cast<uint64_t>(kInfo.st_size);
    return pkFile;
}
} // namespace

BufferedFileStream::BufferedFileStream(const char* pcPath, bool bWrite, uint32_t uiBufferSize)
    : m_bRead(!bWrite)
{
    if (pcPath == nullptr)
        return;
    // Models name their files as a case-blind system spelled them.
    const std::string kPath = win32::ResolvePath(pcPath);
    TakeFile(bWrite ? std::fopen(kPath.c_str(), "wb") : OpenRegularFile(kPath.c_str(), m_uiFileSize),
             uiBufferSize);
}

BufferedFileStream::BufferedFileStream(std::FILE* pkFile, uint32_t uiBufferSize) : m_bRead(false)
{
    TakeFile(pkFile, uiBufferSize);
}

void BufferedFileStream::TakeFile(std::FILE* pkFile, uint32_t uiBufferSize)
{
    m_pkFile = pkFile;
    if (m_pkFile == nullptr)
        return;
    if (uiBufferSize > 0)
    {
        m_pcBuffer.reset(new (std::nothrow) char[uiBufferSize]);
        if (!m_pcBuffer)
        {
            std::fclose(m_pkFile);
            m_pkFile = nullptr;
            return;
        }
        m_uiBufferSize = uiBufferSize;
    }
    m_bGood = true;
}

BufferedFileStream::~BufferedFileStream()
{
    if (m_pkFile == nullptr)
        return;
    if (!m_bRead && m_bGood)
        WriteBuffer();
    std::fclose(m_pkFile);
}

bool BufferedFileStream::Refill()
{
    m_uiPosition = 0;
    m_uiFill = static_cast<uint32_t>(std::fread(m_pcBuffer.get(), 1, m_uiBufferSize, m_pkFile));
    if (m_uiFill < m_uiBufferSize && std::ferror(m_pkFile))
        m_bGood = false;
    return m_uiFill > 0;
}

uint32_t BufferedFileStream::Read(void* pvDestination, uint32_t uiBytes)
{
    if (!m_bGood || !m_bRead || uiBytes == 0)
        return 0;
    char* pcDestination = static_cast<char*>(pvDestination);
    const uint32_t uiBuffered = m_uiFill - m_uiPosition;
    if (uiBuffered >= uiBytes)
    {
        std::memcpy(pcDestination, m_pcBuffer.get() + m_uiPosition, uiBytes);
        m_uiPosition += uiBytes;
        return uiBytes;
    }

    if (uiBuffered > 0)
        std::memcpy(pcDestination, m_pcBuffer.get() + m_uiPosition, uiBuffered);
    m_uiFill = m_uiPosition = 0;
    const uint32_t uiRest = uiBytes - uiBuffered;
    if (uiRest > m_uiBufferSize)
    {
        const uint32_t uiDirect = ReadUnbuffered(pcDestination + uiBuffered, uiRest);
        return uiBuffered + uiDirect;
    }
    if (!Refill())
        return uiBuffered;
    const uint32_t uiCopied = uiRest < m_uiFill ? uiRest : m_uiFill;
    std::memcpy(pcDestination + uiBuffered, m_pcBuffer.get(), uiCopied);
    m_uiPosition = uiCopied;
    return uiBuffered + uiCopied;
}

bool BufferedFileStream::WriteBuffer()
{
    const uint32_t uiPending = m_uiPosition;
    m_uiPosition = 0;
    if (uiPending > 0 && std::fwrite(m_pcBuffer.get(), 1, uiPending, m_pkFile) != uiPending)
    {
        m_bGood = false;
        return false;
    }
    return true;
}

uint32_t BufferedFileStream::Write(const void* pvSource, uint32_t uiBytes)
{
    if (!m_bGood || m_bRead || uiBytes == 0)
        return 0;
    const char* pcSource = static_cast<const char*>(pvSource);
    const uint32_t uiRoom = m_uiBufferSize - m_uiPosition;
    if (uiBytes <= uiRoom)
    {
        std::memcpy(m_pcBuffer.get() + m_uiPosition, pcSource, uiBytes);
        m_uiPosition += uiBytes;
        return uiBytes;
    }

    if (uiRoom > 0)
        std::memcpy(m_pcBuffer.get() + m_uiPosition, pcSource, uiRoom);
    m_uiPosition = m_uiBufferSize;
    if (!WriteBuffer())
        return 0;
    const uint32_t uiRest = uiBytes - uiRoom;
    if (uiRest >= m_uiBufferSize)
        return WriteUnbuffered(pcSource + uiRoom, uiRest) == uiRest ? uiBytes : 0;
    std::memcpy(m_pcBuffer.get(), pcSource + uiRoom, uiRest);
    m_uiPosition = uiRest;
    return uiBytes;
}

bool BufferedFileStream::Flush()
{
    if (!m_bGood)
        return false;
    if (m_bRead)
    {
        m_uiFill = m_uiPosition = 0;
        return true;
    }
    // Pushing the C library's own buffer out too is what makes a full disk show here
    // rather than only when the file is closed.
    if (!WriteBuffer() || std::fflush(m_pkFile) != 0)
    {
        m_bGood = false;
        return false;
    }
    return true;
}

bool BufferedFileStream::SaveReplacing(const char* pcPath,
                                       const std::function<bool(BufferedFileStream&)>& fnWrite,
                                       uint32_t uiBufferSize)
{
    if (pcPath == nullptr)
        return false;
    // Created exclusively with the ordinary permissions, so a file of the temporary's name is
    // never overwritten and the renamed file looks like any other file the process writes.
    std::string kTemporary;
    std::FILE* pkFile = nullptr;
    for (int iAttempt = 0; iAttempt < 100 && !pkFile; ++iAttempt)
    {
        kTemporary = std::string(pcPath) + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(iAttempt);
        const int iDescriptor = open(kTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (iDescriptor < 0)
        {
            if (errno == EEXIST)
                continue;
            return false;
        }
        pkFile = fdopen(iDescriptor, "wb");
        if (!pkFile)
        {
            close(iDescriptor);
            unlink(kTemporary.c_str());
            return false;
        }
    }
    if (!pkFile)
        return false;
    bool bSaved = false;
    {
        BufferedFileStream kFile(pkFile, uiBufferSize);
        bSaved = kFile.IsGood() && fnWrite(kFile) && kFile.Flush() && kFile.IsGood();
    }
    if (bSaved && std::rename(kTemporary.c_str(), pcPath) != 0)
        bSaved = false;
    if (!bSaved)
        unlink(kTemporary.c_str());
    return bSaved;
}

void BufferedFileStream::Seek(int64_t iOffset, int iOrigin)
{
    if (!m_bGood)
        return;
    if (iOrigin == ORIGIN_CURRENT && m_bRead)
    {
        const int64_t iTarget = int64_t{m_uiPosition} + iOffset;
        if (iTarget >= 0 && iTarget <= int64_t{m_uiFill})
        {
            m_uiPosition = static_cast<uint32_t>(iTarget);
            return;
        }
        // The file stands at the end of the buffered bytes, not at the position handed out.
        iOffset += int64_t{m_uiPosition} - int64_t{m_uiFill};
    }
    int iWhence = SEEK_SET;
    if (iOrigin == ORIGIN_CURRENT)
        iWhence = SEEK_CUR;
    else if (iOrigin == ORIGIN_END)
        iWhence = SEEK_END;
    else if (iOrigin != ORIGIN_BEGIN)
    {
        m_bGood = false;
        return;
    }
    if (!Flush())
        return;
    m_bGood = fseeko(m_pkFile, static_cast<off_t>(iOffset), iWhence) == 0;
}

uint32_t BufferedFileStream::ReadUnbuffered(void* pvDestination, uint32_t uiBytes)
{
    if (!m_bGood || !m_bRead)
        return 0;
    const uint32_t uiRead = static_cast<uint32_t>(std::fread(pvDestination, 1, uiBytes, m_pkFile));
    if (uiRead < uiBytes && std::ferror(m_pkFile))
        m_bGood = false;
    return uiRead;
}

uint32_t BufferedFileStream::WriteUnbuffered(const void* pvSource, uint32_t uiBytes)
{
    if (!m_bGood || m_bRead)
        return 0;
    const uint32_t uiWritten = static_cast<uint32_t>(std::fwrite(pvSource, 1, uiBytes, m_pkFile));
    if (uiWritten != uiBytes)
        m_bGood = false;
    return uiWritten;
}
