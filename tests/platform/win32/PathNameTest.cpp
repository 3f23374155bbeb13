#include "platform/win32/PathName.h"

#include <gtest/gtest.h>

namespace
{
TEST(PathNameTest, SplitAcceptsEitherSeparatorAndADrive)
{
    struct
    {
        const char* pcPath;
        const char *pcDrive, *pcDir, *pcName, *pcExt;
    } const akCases[] = {
        {"C:\\dir\\file.tga", "C:", "\\dir\\", "file", ".tga"},
        {"/a/b/c.nif", "", "/a/b/", "c", ".nif"},
        {"d:rel/x.y.z", "d:", "rel/", "x.y", ".z"},
        {"mixed\\sep/name", "", "mixed\\sep/", "name", ""},
        {"dir.d/noext", "", "dir.d/", "noext", ""},
        {"file.", "", "", "file", "."},
        {".hidden", "", "", "", ".hidden"},
        {"folder/", "", "folder/", "", ""},
        {"", "", "", "", ""},
        {"C:", "C:", "", "", ""},
    };
    for (const auto& kCase : akCases)
    {
        std::string kDrive = "?", kDir = "?", kName = "?", kExt = "?";
        win32::SplitPath(kCase.pcPath, &kDrive, &kDir, &kName, &kExt);
        EXPECT_EQ(kDrive, kCase.pcDrive) << kCase.pcPath;
        EXPECT_EQ(kDir, kCase.pcDir) << kCase.pcPath;
        EXPECT_EQ(kName, kCase.pcName) << kCase.pcPath;
        EXPECT_EQ(kExt, kCase.pcExt) << kCase.pcPath;
        EXPECT_EQ(win32::MakePath(kDrive, kDir, kName, kExt), kCase.pcPath);
    }
    std::string kName;
    win32::SplitPath("a/b.c", nullptr, nullptr, &kName, nullptr);
    EXPECT_EQ(kName, "b");
}

TEST(PathNameTest, MakeAddsOneSeparatorAfterADirectoryLackingIt)
{
    EXPECT_EQ(win32::MakePath("", "D:\\tex", "file", ".tga"), "D:\\tex/file.tga");
    EXPECT_EQ(win32::MakePath("", "tex/", "file", ".tga"), "tex/file.tga");
    EXPECT_EQ(win32::MakePath("", "", "file", ".tga"), "file.tga");
    EXPECT_EQ(win32::MakePath("C:", "", "file", ""), "C:file");
}

TEST(PathNameTest, NormalizeTurnsBackslashesIntoSlashes)
{
    std::string kPath = "C:\\models\\ship/tex.tga";
    win32::NormalizePath(kPath);
    EXPECT_EQ(kPath, "C:/models/ship/tex.tga");
    char acPath[] = "a\\b";
    win32::NormalizePath(acPath);
    EXPECT_STREQ(acPath, "a/b");
    win32::NormalizePath(static_cast<char*>(nullptr));
}
} // namespace
