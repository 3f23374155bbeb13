#pragma once

#include <cstdint>

// File checks for the scene graph. Paths may use either separator and may differ in case
// from the names on disk (a model names its files as the system it was made on spelled
// them); folders never count as files.

// 0 when the path names a file that exists (mode 0), or that may be written (2), read (4)
// or both (6); -1 otherwise, and for any other mode. A read-only file is not writable.
int NiAccess(const char* pcPath, int iMode);

// The file's size in bytes; 0 when it cannot be examined or is not a file.
uint64_t NiGetFileSize(const char* pcPath);
