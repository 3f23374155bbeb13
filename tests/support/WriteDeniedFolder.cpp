#include "tests/support/WriteDeniedFolder.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr uid_t NOBODY = 65534;
}

WriteDeniedFolder::WriteDeniedFolder(std::string kPath) : m_kPath(std::move(kPath))
{
    chmod(m_kPath.c_str(), 0555);
    if (geteuid() == 0)
        m_bDroppedRoot = seteuid(NOBODY) == 0;
}

WriteDeniedFolder::~WriteDeniedFolder()
{
    // Without root again the rest of the run would go wrong in puzzling ways.
    if (m_bDroppedRoot && seteuid(0) != 0)
        std::abort();
    chmod(m_kPath.c_str(), 0755);
}
