#include "scene/object/PathParts.h"

#include "platform/win32/PathName.h"

namespace
{
std::string_view View(const char* pcText)
{
    return pcText != nullptr ? std::string_view(pcText) : std::string_view();
}
} // namespace

PathParts::PathParts(const char* pcPath)
{
    win32::SplitPath(View(pcPath), &m_kDrive, &m_kDir, &m_kFname, &m_kExt);
}

void PathParts::MakePath(std::string& kOut) const
{
    kOut = win32::MakePath(m_kDrive, m_kDir, m_kFname, m_kExt);
}

void SplitPath(const char* pcPath, std::string* pkDrive, std::string* pkDir, std::string* pkFname,
               std::string* pkExt)
{
    win32::SplitPath(View(pcPath), pkDrive, pkDir, pkFname, pkExt);
}

void MakePath(std::string& kOut, const char* pcDrive, const char* pcDir, const char* pcFname,
              const char* pcExt)
{
    kOut = win32::MakePath(View(pcDrive), View(pcDir), View(pcFname), View(pcExt));
}

void NiNormalizePath(std::string& kPath)
{
    win32::NormalizePath(kPath);
}

void NiNormalizePath(char* pcPath)
{
    win32::NormalizePath(pcPath);
}

uint32_t GetMaxPathLength()
{
    return 260;
}
