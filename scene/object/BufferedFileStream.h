#pragma once

#include "scene/object/BinaryStream.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

// A binary file read or written through a buffer of fixed size. Requests at least as
// large as the buffer bypass it. Once opening, a write, a seek or a refill has failed the
// stream stays not good and every later operation does nothing.
class BufferedFileStream : public BinaryStream
{
public:
    static constexpr uint32_t DEFAULT_BUFFER_SIZE = 10240;

    // Seek origins, as the standard file functions number them.
    enum
    {
        ORIGIN_BEGIN = 0,
        ORIGIN_CURRENT = 1,
        ORIGIN_END = 2
    };

    // Opens the file for binary reading or writing. The path may use either separator and
    // differ in case from the names on disk. Reading opens regular files only.
    BufferedFileStream(const char* pcPath, bool bWrite, uint32_t uiBufferSize = DEFAULT_BUFFER_SIZE);
    ~BufferedFileStream() override;

    BufferedFileStream(const BufferedFileStream&) = delete;
    BufferedFileStream& operator=(const BufferedFileStream&) = delete;

    bool IsGood() override { return m_bGood; }
    uint32_t Read(void* pvDestination, uint32_t uiBytes) override;
    uint32_t Write(const void* pvSource, uint32_t uiBytes) override;

    // Write mode: writes the buffered bytes out (false on a failure, which also clears the
    // good state). Read mode: drops the buffered bytes.
    bool Flush();

    // Saves a whole file without ever leaving a short one under the target's name: the writer
    // fills a stream on a temporary file beside the target (made under a name no file had, so no
    // other file is touched), which replaces the target only when the writer succeeded and every
    // byte was written; otherwise it is removed and an earlier file of that name stays as it was.
    static bool SaveReplacing(const char* pcPath, const std::function<bool(BufferedFileStream&)>& fnWrite,
                              uint32_t uiBufferSize = DEFAULT_BUFFER_SIZE);

    void Seek(int64_t iOffset, int iOrigin);

    // Read mode: the file's size when it was opened.
    uint64_t GetFileSize() const { return m_uiFileSize; }

    uint32_t ReadUnbuffered(void* pvDestination, uint32_t uiBytes);
    uint32_t WriteUnbuffered(const void* pvSource, uint32_t uiBytes);

    using BinaryStream::Read;

private:
    // Writes to a file already open for writing, which the stream closes.
    BufferedFileStream(std::FILE* pkFile, uint32_t uiBufferSize);
    void TakeFile(std::FILE* pkFile, uint32_t uiBufferSize);

    bool Refill();
    bool WriteBuffer();

    std::FILE* m_pkFile = nullptr;
    std::unique_ptr<char[]> m_pcBuffer;
    uint32_t m_uiBufferSize = 0;
    uint32_t m_uiFill = 0;
    uint32_t m_uiPosition = 0;
    uint64_t m_uiFileSize = 0;
    bool m_bRead = true;
    bool m_bGood = false;
};
