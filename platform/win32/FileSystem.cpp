#include "platform/win32/FileSystem.h"

#include "platform/win32/CaseBlindPath.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr mode_t WRITE_BITS = S_IWUSR | S_IWGRP | S_IWOTH;

bool WriteAll(int iFile, const char* pcData, size_t uiBytes)
{
    while (uiBytes > 0)
    {
        const ssize_t iWritten = write(iFile, pcData, uiBytes);
        if (iWritten < 0 && errno == EINTR)
            continue;
        if (iWritten <= 0)
            return false;
        pcData += iWritten;
        uiBytes -= static_cast<size_t>(iWritten);
    }
    return true;
}

bool CopyContents(int iSource, int iDestination)
{
    char acBuffer[65536];
    for (;;)
    {
        const ssize_t iRead = read(iSource, acBuffer, sizeof(acBuffer));
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead < 0)
            return false;
        if (iRead == 0)
            return true;
        if (!WriteAll(iDestination, acBuffer, static_cast<size_t>(iRead)))
            return false;
    }
}
} // namespace

uint32_t GetFileAttributesA(const char* pcPath)
{
    if (pcPath == nullptr)
        return INVALID_FILE_ATTRIBUTES;
    struct stat kInfo;
    if (lstat(win32::ResolvePath(pcPath).c_str(), &kInfo) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return win32::AttributesFromMode(kInfo.st_mode);
}

namespace win32
{
uint32_t AttributesFromMode(uint32_t uiMode)
{
    if (S_ISLNK(uiMode))
        return FILE_ATTRIBUTE_REPARSE_POINT;
    uint32_t uiAttributes = 0;
    if (S_ISDIR(uiMode))
        uiAttributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((uiMode & S_IWUSR) == 0)
        uiAttributes |= FILE_ATTRIBUTE_READONLY;
    return uiAttributes != 0 ? uiAttributes : FILE_ATTRIBUTE_NORMAL;
}
} // namespace win32

bool SetFileAttributesA(const char* pcPath, uint32_t uiAttributes)
{
    if (pcPath == nullptr)
        return false;
    const std::string kPath = win32::ResolvePath(pcPath);
    struct stat kInfo;
    if (lstat(kPath.c_str(), &kInfo) != 0)
        return false;
    if (S_ISLNK(kInfo.st_mode))
        return true;
    mode_t uiMode = kInfo.st_mode & 07777;
    if (uiAttributes & FILE_ATTRIBUTE_READONLY)
        uiMode &= ~WRITE_BITS;
    else
        uiMode |= S_IWUSR;
    return chmod(kPath.c_str(), uiMode) == 0;
}

bool CopyFileA(const char* pcSource, const char* pcDestination, bool bFailIfExists)
{
    if (pcSource == nullptr || pcDestination == nullptr)
        return false;
    const std::string kSource = win32::ResolvePath(pcSource);
    const std::string kDestination = win32::ResolvePath(pcDestination);
    const int iSource = open(kSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (iSource < 0)
        return false;
    struct stat kSourceInfo;
    if (fstat(iSource, &kSourceInfo) != 0 || !S_ISREG(kSourceInfo.st_mode))
    {
        close(iSource);
        return false;
    }
    struct stat kDestinationInfo;
    const bool bExisted = stat(kDestination.c_str(), &kDestinationInfo) == 0;
    if (bExisted && (bFailIfExists || (kDestinationInfo.st_dev == kSourceInfo.st_dev &&
                                       kDestinationInfo.st_ino == kSourceInfo.st_ino)))
    {
        close(iSource);
        return false;
    }
    const int iFlags = O_WRONLY | O_CREAT | O_CLOEXEC | (bFailIfExists ? O_EXCL : O_TRUNC);
    const int iDestination = open(kDestination.c_str(), iFlags, kSourceInfo.st_mode & 0777);
    if (iDestination < 0)
    {
        close(iSource);
        return false;
    }
    bool bCopied = CopyContents(iSource, iDestination);
    bCopied = fchmod(iDestination, kSourceInfo.st_mode & 07777) == 0 && bCopied;
    bCopied = close(iDestination) == 0 && bCopied;
    close(iSource);
    if (!bCopied && !bExisted)
        unlink(kDestination.c_str());
    return bCopied;
}

bool CreateDirectoryA(const char* pcPath, const void*)
{
    return pcPath != nullptr && mkdir(win32::ResolvePath(pcPath).c_str(), 0777) == 0;
}

bool DeleteFileA(const char* pcPath)
{
    if (pcPath == nullptr)
        return false;
    const std::string kPath = win32::ResolvePath(pcPath);
    struct stat kInfo;
    if (lstat(kPath.c_str(), &kInfo) != 0 || S_ISDIR(kInfo.st_mode))
        return false;
    if (!S_ISLNK(kInfo.st_mode) && (kInfo.st_mode & S_IWUSR) == 0)
        return false;
    return unlink(kPath.c_str()) == 0;
}

bool RemoveDirectoryA(const char* pcPath)
{
    if (pcPath == nullptr)
        return false;
    const std::string kPath = win32::ResolvePath(pcPath);
    struct stat kInfo;
    if (lstat(kPath.c_str(), &kInfo) != 0 || !S_ISDIR(kInfo.st_mode))
        return false;
    return rmdir(kPath.c_str()) == 0;
}
