#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A file written beside its target under a temporary name and renamed over the target by Commit,
// so that a failed or abandoned write never leaves a short file under the target's name and an
// earlier file of that name survives until the new one is whole. Abandoning (destroying without
// Commit) removes the temporary file.
class SKReplacingFile
{
public:
    explicit SKReplacingFile(const char* pcTarget);
    ~SKReplacingFile();
    SKReplacingFile(const SKReplacingFile&) = delete;
    SKReplacingFile& operator=(const SKReplacingFile&) = delete;

    bool IsOpen() const { return m_pkFile != nullptr; }
    // False when the bytes could not all be written (or the file is not open).
    bool Write(const void* pvData, size_t uiSize);
    // Closes the file and renames it over the target; false (and the target untouched) when
    // either fails.
    bool Commit();

private:
    std::string m_kTarget;
    std::string m_kTemporary;
    FILE* m_pkFile = nullptr;
};
