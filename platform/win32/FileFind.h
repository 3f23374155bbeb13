#pragma once

#include "platform/win32/FileSystem.h"

#include <cstdint>
#include <string>

using HANDLE = void*;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});

// One entry of a folder listing.
struct WIN32_FIND_DATAA
{
    uint32_t dwFileAttributes = 0; // as GetFileAttributesA answers
    uint64_t nFileSize = 0;
    std::string cFileName; // the name alone, no folder
};

// Lists the entries of a folder whose names match a pattern ("folder/*.nif"; '*' and '?'
// as wildcards, matched without regard to case; "*.*" matches every name, and "name.*"
// also a name without extension). The listing includes "." and ".." when they match and
// comes in byte order of the names. Answers INVALID_HANDLE_VALUE when nothing matches.
HANDLE FindFirstFileA(const char* pcPattern, WIN32_FIND_DATAA* pkData);
// The next entry; false at the end of the listing.
bool FindNextFileA(HANDLE hFind, WIN32_FIND_DATAA* pkData);
bool FindClose(HANDLE hFind);
