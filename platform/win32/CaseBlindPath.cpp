#include "platform/win32/CaseBlindPath.h"

#include "platform/win32/PathName.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace win32
{
namespace
{
bool Exists(const std::string& kPath)
{
    struct stat kInfo;
    return lstat(kPath.c_str(), &kInfo) == 0;
}

// The entry of kFolder whose name equals kName but for case; empty when there is none.
std::string FindCaseBlind(const std::string& kFolder, const std::string& kName)
{
    DIR* pkDir = opendir(kFolder.empty() ? "." : kFolder.c_str());
    if (pkDir == nullptr)
        return {};
    std::string kFound;
    while (const dirent* pkEntry = readdir(pkDir))
    {
        if (strcasecmp(pkEntry->d_name, kName.c_str()) == 0 && (kFound.empty() || kFound > pkEntry->d_name))
            kFound = pkEntry->d_name;
    }
    closedir(pkDir);
    return kFound;
}
} // namespace

std::string ResolvePath(std::string_view kSpelled)
{
    std::string kPath(kSpelled);
    NormalizePath(kPath);
    if (kPath.empty() || Exists(kPath))
        return kPath;

    // Walk the parts, keeping the longest prefix known to exist.
    std::string kResolved;
    size_t uiStart = 0;
    if (kPath[0] == '/')
    {
        kResolved = "/";
        uiStart = 1;
    }
    bool bExisting = true;
    while (uiStart <= kPath.size())
    {
        size_t uiEnd = kPath.find('/', uiStart);
        if (uiEnd == std::string::npos)
            uiEnd = kPath.size();
        std::string kPart = kPath.substr(uiStart, uiEnd - uiStart);
        const std::string kFolder = kResolved;
        if (bExisting && !kPart.empty() && kPart != "." && kPart != "..")
        {
            const std::string kCandidate = kFolder + kPart;
            if (!Exists(kCandidate))
            {
                std::string kMatch = FindCaseBlind(kFolder, kPart);
                if (kMatch.empty())
                    bExisting = false;
                else
                    kPart = kMatch;
            }
        }
        kResolved += kPart;
        if (uiEnd < kPath.size())
            kResolved += '/';
        uiStart = uiEnd + 1;
    }
    return kResolved;
}

bool FileExists(std::string_view kPath)
{
    struct stat kInfo;
    return stat(ResolvePath(kPath).c_str(), &kInfo) == 0 && !S_ISDIR(kInfo.st_mode);
}
} // namespace win32
