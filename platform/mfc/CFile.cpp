#include "platform/mfc/CFile.h"

CFile::CFile(const char* pcFileName, UINT nOpenFlags)
{
    Open(pcFileName, nOpenFlags);
}

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(const char* pcFileName, UINT nOpenFlags)
{
    Close();
    const char* pcMode = "rb";
    if (nOpenFlags & modeCreate)
        pcMode = (nOpenFlags & (modeWrite | modeReadWrite)) == modeWrite ? "wb" : "w+b";
    else if (nOpenFlags & modeReadWrite)
        pcMode = "r+b";
    else if (nOpenFlags & modeWrite)
        pcMode = "r+b";
    m_pkFile = std::fopen(pcFileName, pcMode);
    m_strPath = pcFileName;
    return m_pkFile != nullptr;
}

void CFile::Close()
{
    if (m_pkFile != nullptr)
        std::fclose(m_pkFile);
    m_pkFile = nullptr;
}

UINT CFile::Read(void* pBuffer, UINT nCount)
{
    return m_pkFile != nullptr ? static_cast<UINT>(std::fread(pBuffer, 1, nCount, m_pkFile)) : 0;
}

void CFile::Write(const void* pBuffer, UINT nCount)
{
    if (m_pkFile != nullptr)
        std::fwrite(pBuffer, 1, nCount, m_pkFile);
}

void CFile::Flush()
{
    if (m_pkFile != nullptr)
        std::fflush(m_pkFile);
}
