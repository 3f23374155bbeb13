#pragma once

#include <cstdint>

// Files and folders by path. Paths may use either separator and differ in case from the
// names on disk (see CaseBlindPath.h). Symbolic links are never followed when asking for
// attributes, changing them, or deleting, so removing a tree never reaches through a link.

constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400; // a symbolic link
constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// A link reports only FILE_ATTRIBUTE_REPARSE_POINT: it is never a folder to walk into.
uint32_t GetFileAttributesA(const char* pcPath);
// FILE_ATTRIBUTE_READONLY takes every write permission away; without it the owner may
// write. A link has no attributes of its own and is left as it is.
bool SetFileAttributesA(const char* pcPath, uint32_t uiAttributes);

// Copies a regular file with its permissions; with bFailIfExists an existing destination
// is kept and the copy fails. A file is never copied onto itself.
bool CopyFileA(const char* pcSource, const char* pcDestination, bool bFailIfExists);
// Creates one folder (its parent must exist); the security argument is ignored.
bool CreateDirectoryA(const char* pcPath, const void* pvSecurity = nullptr);
// Deletes a file or a link (never what the link points at). Fails for folders and, as on
// the original system, for read-only files.
bool DeleteFileA(const char* pcPath);
// Removes an empty folder; fails for a link to one.
bool RemoveDirectoryA(const char* pcPath);

namespace win32
{
// The attributes of an entry whose lstat mode is uiMode.
uint32_t AttributesFromMode(uint32_t uiMode);
} // namespace win32
