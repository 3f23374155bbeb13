#pragma once

#include <string>

// While it lives, nothing can be created in or removed from the folder: its write permission is
// taken away and, for a process running as root (which permissions do not stop), the effective
// user becomes an unprivileged one.
class WriteDeniedFolder
{
public:
    explicit WriteDeniedFolder(std::string kPath);
    ~WriteDeniedFolder();
    WriteDeniedFolder(const WriteDeniedFolder&) = delete;
    WriteDeniedFolder& operator=(const WriteDeniedFolder&) = delete;

private:
    std::string m_kPath;
    bool m_bDroppedRoot = false;
};
