#pragma once

#include <string>
#include <string_view>

// Path texts as models, scripts and options spell them: either separator, and perhaps a
// drive letter from the system the files were made on.
namespace win32
{
bool IsPathSeparator(char c);

// Splits a path into drive ("X:" or empty), directory (with its closing separator), file
// name and extension (with its point: the text from the last point of the final
// component). Any output may be null.
void SplitPath(std::string_view kPath, std::string* pkDrive, std::string* pkDir, std::string* pkName,
               std::string* pkExt);

// Joins the parts back, leaving empty ones out; a non-empty directory without a closing
// separator gets a '/'.
std::string MakePath(std::string_view kDrive, std::string_view kDir, std::string_view kName,
                     std::string_view kExt);

// Turns every backslash into '/'.
void NormalizePath(std::string& kPath);
void NormalizePath(char* pcPath);
} // namespace win32
