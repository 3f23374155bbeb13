#include "scene/object/PathParts.h"

#include <gtest/gtest.h>

namespace
{
TEST(PathPartsTest, SplitsDriveDirectoryNameAndExtension)
{
    struct
    {
        const char* pcPath;
        const char *pcDrive, *pcDir, *pcFname, *pcExt;
    } const akCases[] = {
        {"C:\\dir\\file.tga", "C:", "\\dir\\", "file", ".tga"},
        {"/a/b/c.nif", "", "/a/b/", "c", ".nif"},
        {"tex.tga", "", "", "tex", ".tga"},
        {nullptr, "", "", "", ""},
    };
    for (const auto& kCase : akCases)
    {
        const PathParts kParts(kCase.pcPath);
        EXPECT_EQ(kParts.m_kDrive, kCase.pcDrive);
        EXPECT_EQ(kParts.m_kDir, kCase.pcDir);
        EXPECT_EQ(kParts.m_kFname, kCase.pcFname);
        EXPECT_EQ(kParts.m_kExt, kCase.pcExt);
    }
}

TEST(PathPartsTest, ReplacedDirectoryWithItsOwnDriveJoinsWithOneSeparator)
{
    PathParts kParts("C:\\dir\\file.tga");
    kParts.m_kDrive.clear();
    kParts.m_kDir = "D:\\tex";
    std::string kPath;
    kParts.MakePath(kPath);
    EXPECT_EQ(kPath, "D:\\tex/file.tga");
    NiNormalizePath(kPath);
    EXPECT_EQ(kPath, "D:/tex/file.tga");
}

TEST(PathPartsTest, PartsLongerThanTheOldBuffersSurvive)
{
    const std::string kLongDir = "/" + std::string(300, 'd') + "/";
    const std::string kLongName(400, 'n');
    const std::string kPath = kLongDir + kLongName + ".nif";
    const PathParts kParts(kPath.c_str());
    EXPECT_EQ(kParts.m_kDir, kLongDir);
    EXPECT_EQ(kParts.m_kFname, kLongName);
    std::string kJoined;
    kParts.MakePath(kJoined);
    EXPECT_EQ(kJoined, kPath);
    EXPECT_EQ(GetMaxPathLength(), 260u);
}

TEST(PathPartsTest, LooseFormsSplitAndJoinTheSameWay)
{
    std::string kDir, kExt;
    SplitPath("models\\ship.nif", nullptr, &kDir, nullptr, &kExt);
    EXPECT_EQ(kDir, "models\\");
    EXPECT_EQ(kExt, ".nif");
    std::string kPath;
    MakePath(kPath, nullptr, "textures", "hull", ".tga");
    EXPECT_EQ(kPath, "textures/hull.tga");
}
} // namespace
