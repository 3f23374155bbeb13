#include "scene/object/NiFileSystem.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
TEST(NiFileSystemTest, AccessAnswersByModeAndRejectsFolders)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("Ship.nif", "x");
    const std::string kLocked = kFolder.WriteFile("locked.nif", "x");
    chmod(kLocked.c_str(), 0444);
    mkdir(kFolder.Path("dir").c_str(), 0777);
    struct
    {
        std::string kPath;
        int iMode;
        int iResult;
    } const akCases[] = {
        {kFile, 0, 0},
        {kFile, 6, 0},
        {kFolder.Path("SHIP.NIF"), 4, 0},
        {kFolder.Path() + "\\ship.nif", 0, 0},
        {kLocked, 4, 0},
        {kLocked, 2, -1},
        {kFolder.Path("dir"), 0, -1},
        {kFolder.Path("missing.nif"), 0, -1},
        {kFile, 1, -1},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(NiAccess(kCase.kPath.c_str(), kCase.iMode), kCase.iResult)
            << kCase.kPath << " " << kCase.iMode;
    EXPECT_EQ(NiAccess(nullptr, 0), -1);
}

TEST(NiFileSystemTest, FileSizeIsZeroForWhatIsNotAFile)
{
    TempFolder kFolder;
    kFolder.WriteFile("Data.bin", std::string(1234, 'x'));
    mkdir(kFolder.Path("dir").c_str(), 0777);
    EXPECT_EQ(NiGetFileSize(kFolder.Path("data.BIN").c_str()), 1234u);
    EXPECT_EQ(NiGetFileSize(kFolder.Path("missing").c_str()), 0u);
    EXPECT_EQ(NiGetFileSize(kFolder.Path("dir").c_str()), 0u);
    EXPECT_EQ(NiGetFileSize(nullptr), 0u);
}
} // namespace
