#include "tests/support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
int RemoveEntry(const char* pcPath, const struct stat*, int, struct FTW*)
{
    return std::remove(pcPath);
}
} // namespace

TempFolder::TempFolder()
{
    const char* pcBase = std::getenv("TMPDIR");
    std::string kTemplate =
        std::string(pcBase != nullptr && *pcBase != '\0' ? pcBase : "/tmp") + "/fitwright-test-XXXXXX";
    if (mkdtemp(kTemplate.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_kPath = kTemplate;
}

TempFolder::~TempFolder()
{
    nftw(m_kPath.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string TempFolder::WriteFile(const std::string& kName, const std::string& kBytes) const
{
    const std::string kFile = Path(kName);
    std::ofstream kOut(kFile, std::ios::binary | std::ios::trunc);
    kOut.write(kBytes.data(), static_cast<std::streamsize>(kBytes.size()));
    return kFile;
}

std::string TempFolder::ReadFile(const std::string& kPath)
{
    std::ifstream kIn(kPath, std::ios::binary);
    std::ostringstream kBytes;
    kBytes << kIn.rdbuf();
    return kBytes.str();
}
