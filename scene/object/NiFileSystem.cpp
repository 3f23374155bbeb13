#include "scene/object/NiFileSystem.h"

#include "platform/win32/CaseBlindPath.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

int NiAccess(const char* pcPath, int iMode)
{
    if (pcPath == nullptr || (iMode & ~6) != 0)
        return -1;
    const std::string kPath = win32::ResolvePath(pcPath);
    struct stat kInfo;
    if (stat(kPath.c_str(), &kInfo) != 0 || S_ISDIR(kInfo.st_mode))
        return -1;
    int iWanted = F_OK;
    if (iMode & 2)
    {
        // The read-only attribute holds even for a user the system lets write anyway.
        if ((kInfo.st_mode & S_IWUSR) == 0)
            return -1;
        iWanted |= W_OK;
    }
    if (iMode & 4)
        iWanted |= R_OK;
    return access(kPath.c_str(), iWanted) == 0 ? 0 : -1;
}

uint64_t NiGetFileSize(const char* pcPath)
{
    if (pcPath == nullptr)
        return 0;
    struct stat kInfo;
    if (stat(win32::ResolvePath(pcPath).c_str(), &kInfo) != 0 || !S_ISREG(kInfo.st_mode))
        return 0;
    return static_cast<uint64_t>(kInfo.st_size);
}
