#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes (symbolic links inside are removed, never followed).
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_kPath; }
    // The folder's path joined with a relative name.
    std::string Path(const std::string& kName) const { return m_kPath + "/" + kName; }

    // Creates (or replaces) a file under the folder holding the given bytes.
    std::string WriteFile(const std::string& kName, const std::string& kBytes) const;
    // Reads a whole file; empty when it cannot be read.
    static std::string ReadFile(const std::string& kPath);

private:
    std::string m_kPath;
};
