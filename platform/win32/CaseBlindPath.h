#pragma once

#include <string>
#include <string_view>

// Models and scripts come from a file system that ignores case, so the names inside them
// may differ in case from the files on disk.
namespace win32
{
// The path with '/' separators, each part that does not exist as spelled replaced by a
// case-blind match in its folder (the first in byte order when several match). Parts with
// no match stay as spelled, so the result also names files yet to be created.
std::string ResolvePath(std::string_view kPath);

// True when the path (resolved as above) names something that is not a folder.
bool FileExists(std::string_view kPath);
} // namespace win32
