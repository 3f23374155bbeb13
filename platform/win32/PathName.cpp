#include "platform/win32/PathName.h"

#include <algorithm>

namespace win32
{
bool IsPathSeparator(char c)
{
    return c == '/' || c == '\\';
}

void SplitPath(std::string_view kPath, std::string* pkDrive, std::string* pkDir, std::string* pkName,
               std::string* pkExt)
{
    std::string_view kDrive;
    if (kPath.size() >= 2 && kPath[1] == ':')
    {
        kDrive = kPath.substr(0, 2);
        kPath.remove_prefix(2);
    }
    size_t uiNameStart = 0;
    for (size_t i = 0; i < kPath.size(); ++i)
    {
        if (IsPathSeparator(kPath[i]))
            uiNameStart = i + 1;
    }
    const std::string_view kDir = kPath.substr(0, uiNameStart);
    std::string_view kName = kPath.substr(uiNameStart);
    std::string_view kExt;
    const size_t uiPoint = kName.rfind('.');
    if (uiPoint != std::string_view::npos)
    {
        kExt = kName.substr(uiPoint);
        kName = kName.substr(0, uiPoint);
    }
    if (pkDrive != nullptr)
        pkDrive->assign(kDrive);
    if (pkDir != nullptr)
        pkDir->assign(kDir);
    if (pkName != nullptr)
        pkName->assign(kName);
    if (pkExt != nullptr)
        pkExt->assign(kExt);
}

std::string MakePath(std::string_view kDrive, std::string_view kDir, std::string_view kName,
                     std::string_view kExt)
{
    std::string kPath;
    kPath.reserve(kDrive.size() + kDir.size() + 1 + kName.size() + kExt.size());
    kPath += kDrive;
    if (!kDir.empty())
    {
        kPath += kDir;
        if (!IsPathSeparator(kDir.back()))
            kPath += '/';
    }
    kPath += kName;
    kPath += kExt;
    return kPath;
}

void NormalizePath(std::string& kPath)
{
    std::replace(kPath.begin(), kPath.end(), '\\', '/');
}

void NormalizePath(char* pcPath)
{
    if (pcPath == nullptr)
        return;
    for (; *pcPath != '\0'; ++pcPath)
    {
        if (*pcPath == '\\')
            *pcPath = '/';
    }
}
} // namespace win32
