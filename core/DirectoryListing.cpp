#include "core/DirectoryListing.h"

#include <algorithm>

#include "platform/win32/FileFind.h"
#include "platform/win32/FileSystem.h"

namespace
{

bool IsDotEntry(const std::string& kName)
{
    return kName == "." || kName == "..";
}

// Calls kVisit for every entry matching the pattern; false when nothing matches.
template <class Visit> bool ForEachEntry(const std::string& kPattern, Visit kVisit)
{
    WIN32_FIND_DATAA kData;
    HANDLE hFind = FindFirstFileA(kPattern.c_str(), &kData);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    do
    {
        kVisit(kData);
    } while (FindNextFileA(hFind, &kData));
    FindClose(hFind);
    return true;
}

bool IsFolder(const WIN32_FIND_DATAA& kData)
{
    return (kData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

bool DirectoryListing::Build(const char* pcPath, const char* pcPattern, bool bRecursive)
{
    std::string kPath = pcPath ? pcPath : "";
    std::replace(kPath.begin(), kPath.end(), '\\', '/');
    if (!kPath.empty() && (kPath.back() == '\n' || kPath.back() == '\r'))
        kPath.pop_back();
    if (!kPath.empty() && kPath.back() == '/')
        kPath.pop_back();

    m_kFiles.clear();
    m_kSubfolders.clear();
    m_kName = kPath;
    m_kPath = kPath;

    std::vector<std::string> kFolders;
    auto kAddFolder = [&kFolders](const WIN32_FIND_DATAA& kData)
    {
        if (IsFolder(kData) && !IsDotEntry(kData.cFileName))
            kFolders.push_back(kData.cFileName);
    };
    bool bFound = ForEachEntry(kPath + "/" + (pcPattern ? pcPattern : "*"),
                               [&](const WIN32_FIND_DATAA& kData)
                               {
                                   if (!IsFolder(kData))
                                       m_kFiles.push_back(kData.cFileName);
                                   else if (bRecursive)
                                       kAddFolder(kData);
                               });
    if (bRecursive && pcPattern && kFolders.empty())
        ForEachEntry(kPath + "/*", kAddFolder);

    std::sort(m_kFiles.begin(), m_kFiles.end());
    std::sort(kFolders.begin(), kFolders.end());
    for (const std::string& kFolder : kFolders)
    {
        DirectoryListing& kSubfolder = m_kSubfolders.emplace_back();
        bFound = kSubfolder.Build((kPath + "/" + kFolder).c_str(), pcPattern, true) && bFound;
        kSubfolder.m_kName = kFolder;
    }
    return bFound;
}

bool DirectoryListing::FindExists(const char* pcPattern)
{
    return pcPattern && ForEachEntry(pcPattern, [](const WIN32_FIND_DATAA&) {});
}
