#include "platform/win32/FileFind.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
std::vector<std::string> List(const std::string& kPattern, std::vector<uint32_t>* pkAttributes = nullptr)
{
    std::vector<std::string> kNames;
    WIN32_FIND_DATAA kData;
    HANDLE hFind = FindFirstFileA(kPattern.c_str(), &kData);
    if (hFind == INVALID_HANDLE_VALUE)
        return kNames;
    do
    {
        kNames.push_back(kData.cFileName);
        if (pkAttributes != nullptr)
            pkAttributes->push_back(kData.dwFileAttributes);
    } while (FindNextFileA(hFind, &kData));
    EXPECT_TRUE(FindClose(hFind));
    return kNames;
}

class FileFindTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_kFolder.WriteFile("b.nif", "12345");
        m_kFolder.WriteFile("A.NIF", "1");
        m_kFolder.WriteFile("readme", "");
        m_kFolder.WriteFile("x[1].py", "");
        mkdir(m_kFolder.Path("Sub").c_str(), 0777);
    }

    TempFolder m_kFolder;
};

TEST_F(FileFindTest, PatternsMatchAsOnTheOriginalSystem)
{
    using Names = std::vector<std::string>;
    struct
    {
        const char* pcPattern;
        Names kNames;
    } const akCases[] = {
        {"*", {".", "..", "A.NIF", "Sub", "b.nif", "readme", "x[1].py"}},
        {"*.*", {".", "..", "A.NIF", "Sub", "b.nif", "readme", "x[1].py"}},
        {"*.nif", {"A.NIF", "b.nif"}},
        {"?.NiF", {"A.NIF", "b.nif"}},
        {"readme.*", {"readme"}},
        {"x[1].py", {"x[1].py"}},
        {"sub", {"Sub"}},
        {"*.tga", {}},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(List(m_kFolder.Path(kCase.pcPattern)), kCase.kNames) << kCase.pcPattern;
}

TEST_F(FileFindTest, EntriesCarryAttributesAndSize)
{
    WIN32_FIND_DATAA kData;
    HANDLE hFind = FindFirstFileA((m_kFolder.Path() + "\\B.nif").c_str(), &kData);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    EXPECT_EQ(kData.cFileName, "b.nif");
    EXPECT_EQ(kData.nFileSize, 5u);
    EXPECT_EQ(kData.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(FindNextFileA(hFind, &kData));
    FindClose(hFind);

    std::vector<uint32_t> kAttributes;
    EXPECT_EQ(List(m_kFolder.Path("s*"), &kAttributes), std::vector<std::string>{"Sub"});
    EXPECT_EQ(kAttributes, std::vector<uint32_t>{FILE_ATTRIBUTE_DIRECTORY});
}

TEST_F(FileFindTest, FolderOfThePatternIsFoundWhateverItsCase)
{
    m_kFolder.WriteFile("Sub/inner.nif", "");
    EXPECT_EQ(List(m_kFolder.Path("SUB/*.nif")), std::vector<std::string>{"inner.nif"});
}

TEST_F(FileFindTest, NoMatchOrNoFolderGivesNoHandle)
{
    WIN32_FIND_DATAA kData;
    EXPECT_EQ(FindFirstFileA(m_kFolder.Path("*.tga").c_str(), &kData), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(m_kFolder.Path("none/*").c_str(), &kData), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA((m_kFolder.Path() + "/").c_str(), &kData), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &kData));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

// Deletes a tree the way the engine's folder helpers do: list, recurse into folders,
// clear attributes, delete files, then remove the folder.
void DeleteTree(const std::string& kPath)
{
    WIN32_FIND_DATAA kData;
    HANDLE hFind = FindFirstFileA((kPath + "/*").c_str(), &kData);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string kEntry = kPath + "/" + kData.cFileName;
            if (kData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (kData.cFileName != "." && kData.cFileName != "..")
                    DeleteTree(kEntry);
                continue;
            }
            SetFileAttributesA(kEntry.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(kEntry.c_str());
        } while (FindNextFileA(hFind, &kData));
        FindClose(hFind);
    }
    RemoveDirectoryA(kPath.c_str());
}

TEST(FileFindTreeTest, DeletingATreeNeverReachesThroughALink)
{
    TempFolder kOutside;
    const std::string kKept = kOutside.WriteFile("keep.txt", "precious");
    chmod(kKept.c_str(), 0444);

    TempFolder kFolder;
    const std::string kTree = kFolder.Path("tree");
    mkdir(kTree.c_str(), 0777);
    mkdir((kTree + "/deep").c_str(), 0777);
    kFolder.WriteFile("tree/deep/locked.txt", "x");
    chmod((kTree + "/deep/locked.txt").c_str(), 0444);
    symlink(kOutside.Path().c_str(), (kTree + "/folder-link").c_str());
    symlink(kKept.c_str(), (kTree + "/deep/file-link").c_str());

    DeleteTree(kTree);

    EXPECT_EQ(GetFileAttributesA(kTree.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TempFolder::ReadFile(kKept), "precious");
    struct stat kInfo;
    ASSERT_EQ(stat(kKept.c_str(), &kInfo), 0);
    EXPECT_EQ(kInfo.st_mode & 0777, 0444u);
}
} // namespace
