#include "core/SKReplacingFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

SKReplacingFile::SKReplacingFile(const char* pcTarget) : m_kTarget(pcTarget ? pcTarget : "")
{
    if (!pcTarget)
        return;
    // Created exclusively with the ordinary permissions, so the renamed file looks like any other
    // file the process writes.
    for (int iAttempt = 0; iAttempt < 100; ++iAttempt)
    {
        m_kTemporary = m_kTarget + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(iAttempt);
        int iDescriptor = open(m_kTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (iDescriptor < 0)
        {
            if (errno == EEXIST)
                continue;
            return;
        }
        m_pkFile = fdopen(iDescriptor, "wb");
        if (!m_pkFile)
        {
            close(iDescriptor);
            unlink(m_kTemporary.c_str());
        }
        return;
    }
}

SKReplacingFile::~SKReplacingFile()
{
    if (!m_pkFile)
        return;
    std::fclose(m_pkFile);
    unlink(m_kTemporary.c_str());
}

bool SKReplacingFile::Write(const void* pvData, size_t uiSize)
{
    if (!m_pkFile)
        return false;
    return uiSize == 0 || std::fwrite(pvData, 1, uiSize, m_pkFile) == uiSize;
}

bool SKReplacingFile::Commit()
{
    if (!m_pkFile)
        return false;
    FILE* pkFile = m_pkFile;
    m_pkFile = nullptr;
    if (std::fclose(pkFile) != 0 || std::rename(m_kTemporary.c_str(), m_kTarget.c_str()) != 0)
    {
        unlink(m_kTemporary.c_str());
        return false;
    }
    return true;
}
