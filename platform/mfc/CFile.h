#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CString.h"

#include <cstdio>

// A file opened for reading or writing (binary, no translation of line ends).
class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
    };

    CFile() = default;
    // Opens at once; IsOpen tells whether it worked.
    CFile(const char* pcFileName, UINT nOpenFlags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate makes or empties the file; modeReadWrite without it opens an existing one.
    BOOL Open(const char* pcFileName, UINT nOpenFlags);
    void Close();
    bool IsOpen() const { return m_pkFile != nullptr; }
    const CString& GetFilePath() const { return m_strPath; }
    UINT Read(void* pBuffer, UINT nCount);
    void Write(const void* pBuffer, UINT nCount);
    void Flush();
    std::FILE* GetStream() const { return m_pkFile; }

private:
    std::FILE* m_pkFile = nullptr;
    CString m_strPath;
};
