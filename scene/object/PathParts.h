#pragma once

#include <cstdint>
#include <string>

// A path split into drive ("X:" or empty), directory (with its closing separator), file
// name and extension (with its point). Either separator is accepted. A caller may replace
// any part and join them again; empty parts are left out, and a directory that lacks a
// closing separator gets a '/'.
class PathParts
{
public:
    explicit PathParts(const char* pcPath);

    void MakePath(std::string& kOut) const;

    std::string m_kDrive;
    std::string m_kDir;
    std::string m_kFname;
    std::string m_kExt;
};

// The same two operations on loose strings; any output of SplitPath may be null.
void SplitPath(const char* pcPath, std::string* pkDrive, std::string* pkDir, std::string* pkFname,
               std::string* pkExt);
void MakePath(std::string& kOut, const char* pcDrive, const char* pcDir, const char* pcFname,
              const char* pcExt);

// Every path the object stream builds or copies passes through here: backslashes become '/'.
void NiNormalizePath(std::string& kPath);
void NiNormalizePath(char* pcPath);

// The size of the path buffers callers allocate; paths built here are not limited by it.
uint32_t GetMaxPathLength();
