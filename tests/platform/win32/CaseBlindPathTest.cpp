#include "platform/win32/CaseBlindPath.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace
{
class CaseBlindPathTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mkdir(m_kFolder.Path("Textures").c_str(), 0777);
        m_kFolder.WriteFile("Textures/Ship.TGA", "x");
        m_kFolder.WriteFile("Textures/hull.tga", "x");
        m_kFolder.WriteFile("Textures/HULL.tga", "x");
    }

    TempFolder m_kFolder;
};

TEST_F(CaseBlindPathTest, ResolvesEachPartThatIsNotSpelledAsOnDisk)
{
    const std::string kRoot = m_kFolder.Path() + "/";
    struct
    {
        std::string kSpelled, kResolved;
    } const akCases[] = {
        {kRoot + "Textures/Ship.TGA", kRoot + "Textures/Ship.TGA"},
        {kRoot + "textures/ship.tga", kRoot + "Textures/Ship.TGA"},
        {kRoot + "TEXTURES\\SHIP.tga", kRoot + "Textures/Ship.TGA"},
        {kRoot + "textures/Hull.TGA", kRoot + "Textures/HULL.tga"}, // first in byte order
        {kRoot + "textures/hull.tga", kRoot + "Textures/hull.tga"}, // as spelled wins
        {kRoot + "textures/new.tga", kRoot + "Textures/new.tga"},
        {kRoot + "missing/Ship.TGA", kRoot + "missing/Ship.TGA"},
        {kRoot + "textures/./ship.tga", kRoot + "Textures/./Ship.TGA"},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(win32::ResolvePath(kCase.kSpelled), kCase.kResolved);
}

TEST_F(CaseBlindPathTest, ResolvesRelativePaths)
{
    const std::filesystem::path kCurrent = std::filesystem::current_path();
    std::filesystem::current_path(m_kFolder.Path());
    EXPECT_EQ(win32::ResolvePath("textures\\ship.tga"), "Textures/Ship.TGA");
    EXPECT_TRUE(win32::FileExists("TEXTURES/SHIP.TGA"));
    std::filesystem::current_path(kCurrent);
}

TEST_F(CaseBlindPathTest, FileExistsRejectsFoldersAndMissingFiles)
{
    EXPECT_TRUE(win32::FileExists(m_kFolder.Path("textures/ship.tga")));
    EXPECT_FALSE(win32::FileExists(m_kFolder.Path("textures")));
    EXPECT_FALSE(win32::FileExists(m_kFolder.Path("Textures/")));
    EXPECT_FALSE(win32::FileExists(m_kFolder.Path("textures/none.tga")));
    EXPECT_FALSE(win32::FileExists(""));
}
} // namespace
