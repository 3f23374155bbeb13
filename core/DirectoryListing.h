#pragma once

#include <string>
#include <vector>

// A listing of one folder, and with the recursive flag of every folder below it: the names of its
// files and a node for each subfolder, both in ascending byte order of the names. A symbolic link
// is listed as a file, never as a folder to walk into.
class DirectoryListing
{
public:
    // Lists path/pattern ("*" when the pattern is null); '\' counts as '/', and one trailing line
    // break and then one trailing '/' are dropped from the path. With the recursive flag every
    // subfolder is listed too, with the same pattern; when a pattern matches no folder, the
    // subfolders are still found. False when nothing matches here or in any subfolder.
    bool Build(const char* pcPath, const char* pcPattern, bool bRecursive);
    // True when at least one file or folder matches the pattern (a path with wildcards).
    static bool FindExists(const char* pcPattern);

    // The listed path for the root, a subfolder's own name for the others.
    const std::string& GetName() const { return m_kName; }
    const std::string& GetPath() const { return m_kPath; }
    const std::vector<std::string>& GetFiles() const { return m_kFiles; }
    const std::vector<DirectoryListing>& GetSubfolders() const { return m_kSubfolders; }

private:
    std::string m_kName;
    std::string m_kPath;
    std::vector<std::string> m_kFiles;
    std::vector<DirectoryListing> m_kSubfolders;
};
