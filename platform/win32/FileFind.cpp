#include "platform/win32/FileFind.h"

#include "platform/win32/CaseBlindPath.h"
#include "platform/win32/PathName.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace
{
struct FindListing
{
    std::vector<WIN32_FIND_DATAA> kEntries;
    size_t uiNext = 0;
};

// The wildcards are '*' and '?' only, so a bracket must match itself.
std::string ToFnmatchPattern(std::string_view kPattern)
{
    std::string kResult;
    for (char c : kPattern)
    {
        if (c == '[')
            kResult += "[[]";
        else
            kResult += c;
    }
    return kResult;
}

bool Matches(const std::string& kPattern, const char* pcName)
{
    if (kPattern == "*.*")
        return true;
    constexpr int FLAGS = FNM_NOESCAPE | FNM_CASEFOLD;
    if (fnmatch(ToFnmatchPattern(kPattern).c_str(), pcName, FLAGS) == 0)
        return true;
    // "name.*" also names the file that has no extension at all.
    if (kPattern.size() >= 2 && kPattern.ends_with(".*") &&
        std::string_view(pcName).find('.') == std::string::npos)
        return fnmatch(ToFnmatchPattern(kPattern.substr(0, kPattern.size() - 2)).c_str(), pcName, FLAGS) == 0;
    return false;
}

void TakeNext(FindListing& kListing, WIN32_FIND_DATAA* pkData)
{
    *pkData = kListing.kEntries[kListing.uiNext++];
}
} // namespace

HANDLE FindFirstFileA(const char* pcPattern, WIN32_FIND_DATAA* pkData)
{
    if (pcPattern == nullptr || pkData == nullptr)
        return INVALID_HANDLE_VALUE;
    std::string kPath(pcPattern);
    win32::NormalizePath(kPath);
    const size_t uiSlash = kPath.rfind('/');
    const std::string kFolder =
        uiSlash == std::string::npos ? "." : win32::ResolvePath(kPath.substr(0, uiSlash + 1));
    const std::string kPattern = uiSlash == std::string::npos ? kPath : kPath.substr(uiSlash + 1);
    if (kPattern.empty())
        return INVALID_HANDLE_VALUE;

    DIR* pkDir = opendir(kFolder.c_str());
    if (pkDir == nullptr)
        return INVALID_HANDLE_VALUE;
    auto pkListing = std::make_unique<FindListing>();
    while (const dirent* pkEntry = readdir(pkDir))
    {
        if (!Matches(kPattern, pkEntry->d_name))
            continue;
        struct stat kInfo;
        if (fstatat(dirfd(pkDir), pkEntry->d_name, &kInfo, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the folder was read
        WIN32_FIND_DATAA kData;
        kData.dwFileAttributes = win32::AttributesFromMode(kInfo.st_mode);
        kData.nFileSize = S_ISREG(kInfo.st_mode) ? static_cast<uint64_t>(kInfo.st_size) : 0;
        kData.cFileName = pkEntry->d_name;
        pkListing->kEntries.push_back(std::move(kData));
    }
    closedir(pkDir);
    if (pkListing->kEntries.empty())
        return INVALID_HANDLE_VALUE;
    std::sort(pkListing->kEntries.begin(), pkListing->kEntries.end(),
              [](const WIN32_FIND_DATAA& kA, const WIN32_FIND_DATAA& kB)
              { return kA.cFileName < kB.cFileName; });
    TakeNext(*pkListing, pkData);
    return pkListing.release();
}

bool FindNextFileA(HANDLE hFind, WIN32_FIND_DATAA* pkData)
{
    if (hFind == nullptr || hFind == INVALID_HANDLE_VALUE || pkData == nullptr)
        return false;
    FindListing& kListing = *static_cast<FindListing*>(hFind);
    if (kListing.uiNext >= kListing.kEntries.size())
        return false;
    TakeNext(kListing, pkData);
    return true;
}

bool FindClose(HANDLE hFind)
{
    if (hFind == nullptr || hFind == INVALID_HANDLE_VALUE)
        return false;
    delete static_cast<FindListing*>(hFind);
    return true;
}
