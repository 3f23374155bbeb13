#include "platform/win32/FileSystem.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
mode_t ModeOf(const std::string& kPath)
{
    struct stat kInfo
    {
    };
    lstat(kPath.c_str(), &kInfo);
    return kInfo.st_mode & 07777;
}

TEST(FileSystemTest, AttributesTellFilesFoldersReadOnlyAndLinksApart)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("file.txt", "x");
    const std::string kLocked = kFolder.WriteFile("locked.txt", "x");
    chmod(kLocked.c_str(), 0444);
    mkdir(kFolder.Path("dir").c_str(), 0777);
    symlink(kFolder.Path("dir").c_str(), kFolder.Path("link").c_str());

    EXPECT_EQ(GetFileAttributesA(kFile.c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(kLocked.c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("DIR").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("link").c_str()), FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("none").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

TEST(FileSystemTest, ReadOnlyAttributeTakesAllWriteBitsAndNormalGivesTheOwnerOne)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("file.txt", "x");
    chmod(kFile.c_str(), 0664);
    ASSERT_TRUE(SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ModeOf(kFile), 0444u);
    ASSERT_TRUE(SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ModeOf(kFile), 0644u);
    EXPECT_FALSE(SetFileAttributesA(kFolder.Path("none").c_str(), FILE_ATTRIBUTE_NORMAL));
}

TEST(FileSystemTest, AttributesOfALinkLeaveItsTargetAlone)
{
    TempFolder kFolder;
    const std::string kTarget = kFolder.WriteFile("target.txt", "x");
    chmod(kTarget.c_str(), 0444);
    symlink(kTarget.c_str(), kFolder.Path("link").c_str());
    EXPECT_TRUE(SetFileAttributesA(kFolder.Path("link").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ModeOf(kTarget), 0444u);
}

TEST(FileSystemTest, CopyKeepsOrReplacesTheDestinationAsAsked)
{
    TempFolder kFolder;
    const std::string kSource = kFolder.WriteFile("source.bin", std::string("a\0b", 3));
    chmod(kSource.c_str(), 0640);
    const std::string kExisting = kFolder.WriteFile("existing.bin", "old");
    const std::string kCopy = kFolder.Path("copy.bin");

    EXPECT_TRUE(CopyFileA(kSource.c_str(), kCopy.c_str(), true));
    EXPECT_EQ(TempFolder::ReadFile(kCopy), std::string("a\0b", 3));
    EXPECT_EQ(ModeOf(kCopy), 0640u);

    EXPECT_FALSE(CopyFileA(kSource.c_str(), kExisting.c_str(), true));
    EXPECT_EQ(TempFolder::ReadFile(kExisting), "old");
    EXPECT_TRUE(CopyFileA(kSource.c_str(), kExisting.c_str(), false));
    EXPECT_EQ(TempFolder::ReadFile(kExisting), std::string("a\0b", 3));

    EXPECT_FALSE(CopyFileA(kFolder.Path("none").c_str(), kFolder.Path("x").c_str(), false));
    EXPECT_FALSE(CopyFileA(kFolder.Path().c_str(), kFolder.Path("y").c_str(), false));
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("y").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileSystemTest, CopyNeverTruncatesAFileOntoItself)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("Model.nif", "contents");
    EXPECT_FALSE(CopyFileA(kFile.c_str(), kFolder.Path("model.NIF").c_str(), false));
    EXPECT_EQ(TempFolder::ReadFile(kFile), "contents");
}

TEST(FileSystemTest, CreateDirectoryMakesOneLevel)
{
    TempFolder kFolder;
    EXPECT_TRUE(CreateDirectoryA(kFolder.Path("new").c_str()));
    EXPECT_FALSE(CreateDirectoryA(kFolder.Path("new").c_str()));
    EXPECT_FALSE(CreateDirectoryA(kFolder.Path("a/b").c_str()));
    EXPECT_TRUE(CreateDirectoryA(kFolder.Path("NEW\\sub").c_str())); // into the existing "new"
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("new/sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileSystemTest, DeleteRemovesFilesAndLinksButNotFoldersOrReadOnlyFiles)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("file.txt", "x");
    const std::string kLocked = kFolder.WriteFile("locked.txt", "x");
    chmod(kLocked.c_str(), 0444);
    mkdir(kFolder.Path("dir").c_str(), 0777);
    const std::string kTarget = kFolder.WriteFile("dir/inside.txt", "x");
    symlink(kFolder.Path("dir").c_str(), kFolder.Path("link").c_str());

    EXPECT_TRUE(DeleteFileA(kFolder.Path("FILE.TXT").c_str()));
    EXPECT_EQ(GetFileAttributesA(kFile.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileA(kLocked.c_str()));
    EXPECT_TRUE(SetFileAttributesA(kLocked.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA(kLocked.c_str()));
    EXPECT_FALSE(DeleteFileA(kFolder.Path("dir").c_str()));
    EXPECT_FALSE(RemoveDirectoryA(kFolder.Path("link").c_str()));
    EXPECT_TRUE(DeleteFileA(kFolder.Path("link").c_str()));
    EXPECT_EQ(TempFolder::ReadFile(kTarget), "x");
}

TEST(FileSystemTest, RemoveDirectoryNeedsAnEmptyFolder)
{
    TempFolder kFolder;
    mkdir(kFolder.Path("dir").c_str(), 0777);
    kFolder.WriteFile("dir/file", "x");
    EXPECT_FALSE(RemoveDirectoryA(kFolder.Path("dir").c_str()));
    EXPECT_TRUE(DeleteFileA(kFolder.Path("dir/file").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(kFolder.Path("Dir").c_str()));
    EXPECT_FALSE(RemoveDirectoryA(kFolder.WriteFile("plain", "x").c_str()));
}
} // namespace
