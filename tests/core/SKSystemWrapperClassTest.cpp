#include "core/SKSystemWrapperClass.h"

#include <gtest/gtest.h>

#include "core/SKRandom.h"
#include <filesystem>

#include "tests/support/TempFolder.h"

TEST(SKSystemWrapperClass, RandomNumbersFollowTheEngineGenerator)
{
    SKSystemWrapperClass kWrapper;
    kWrapper.SetRandomSeed(13);
    std::vector<int32_t> kDrawn;
    for (int i = 0; i < 6; ++i)
        kDrawn.push_back(kWrapper.GetRandomNumber(32768));
    EXPECT_EQ(kDrawn, (std::vector<int32_t>{81, 16376, 24096, 20348, 11872, 30076}));

    kWrapper.SetRandomSeed(13);
    EXPECT_EQ(kWrapper.GetRandomNumber(100), 81);
    EXPECT_EQ(kWrapper.GetRandomNumber(100), 76);
    EXPECT_EQ(SKRandom::GetState(), 13u * 214013u * 214013u + 2531011u * 214013u + 2531011u);
}

// A script may ask for any range; none below 1 divides by zero or draws.
TEST(SKSystemWrapperClass, RandomNumberOfRangeBelowOneIsZero)
{
    SKSystemWrapperClass kWrapper;
    kWrapper.SetRandomSeed(7);
    EXPECT_EQ(kWrapper.GetRandomNumber(0), 0);
    EXPECT_EQ(kWrapper.GetRandomNumber(-5), 0);
    EXPECT_EQ(kWrapper.GetRandomNumber(1), 0);
    uint32_t uiState = 7u * 214013u + 2531011u;
    EXPECT_EQ(SKRandom::GetState(), uiState);
}

namespace
{

struct IniCase
{
    const char* pcText;
    const char* pcSection;
    const char* pcKey;
    int32_t iExpected;
};

} // namespace

TEST(SKSystemWrapperClass, IniLookupMatchesPrefixesCaseBlind)
{
    const char* pcBasic = "[Video]\nWidth=640\n[Audio]\nVolume=7\n";
    const IniCase akCases[] = {
        {pcBasic, "Audio", "Volume", 7},
        {pcBasic, "audio", "volume", 7},
        {pcBasic, "Audio", "Width", 3},
        {pcBasic, "Vid", "Width", 3},
        {pcBasic, "VideoMode", "Widths", 640},
        {"[Video]\r\nWidth=640\r\n", "Video", "Width", 640},
        {"[Video]\nWidth = 640\n", "Video", "Width", 3},
        {"[Video]\nWidth = 640\n", "Video", "Width ", 640},
        {"[Video]\nfoo\nWidth=640\n", "Video", "Width", 3},
        {"[Video]\n;Width=1\nWidth=640\n", "Video", "Width", 640},
        {"[Video]\nHeight=480\tWidth=640", "Video", "Width", 640},
        {"[Video]\nWidth=", "Video", "Width", 0},
        {"[Video]\nWidth=-12abc\n", "Video", "Width", -12},
        {"[Video]\nWidth=99999999999\n", "Video", "Width", INT32_MAX},
        {"[Video\nWidth=640\n", "Video", "Width", 3},
        {"Width=640\n", "Video", "Width", 3},
        {"", "Video", "Width", 3},
    };
    TempFolder kFolder;
    SKSystemWrapperClass kWrapper;
    for (const IniCase& kCase : akCases)
    {
        std::string kPath = kFolder.WriteFile("settings.ini", kCase.pcText);
        EXPECT_EQ(kWrapper.GetIniInt(kCase.pcSection, kCase.pcKey, 3, kPath.c_str()), kCase.iExpected)
            << kCase.pcText << " [" << kCase.pcSection << "] " << kCase.pcKey;
    }
    EXPECT_EQ(kWrapper.GetIniInt("Video", "Width", 3, kFolder.Path("missing.ini").c_str()), 3);
}

TEST(SKSystemWrapperClass, IniStringIsCutToTheBuffer)
{
    TempFolder kFolder;
    std::string kPath = kFolder.WriteFile("settings.ini", "[Names]\nShip=abcdef\n");
    SKSystemWrapperClass kWrapper;

    char acBuffer[8] = "xxxxxxx";
    EXPECT_TRUE(kWrapper.GetIniString("Names", "Ship", "default", acBuffer, 4, kPath.c_str()));
    EXPECT_STREQ(acBuffer, "abc");
    EXPECT_EQ(acBuffer[4], 'x');

    EXPECT_FALSE(kWrapper.GetIniString("Names", "Hull", "default", acBuffer, 5, kPath.c_str()));
    EXPECT_STREQ(acBuffer, "defa");
    EXPECT_FALSE(kWrapper.GetIniString("Names", "Hull", "d", acBuffer, 8, kFolder.Path("none.ini").c_str()));
    EXPECT_STREQ(acBuffer, "d");

    // No room at all: nothing is written.
    acBuffer[0] = 'q';
    EXPECT_TRUE(kWrapper.GetIniString("Names", "Ship", "default", acBuffer, 0, kPath.c_str()));
    EXPECT_EQ(acBuffer[0], 'q');
}

TEST(SKSystemWrapperClass, IniFloatReadsTheLeadingNumber)
{
    TempFolder kFolder;
    std::string kPath = kFolder.WriteFile("settings.ini", "[Ship]\nMass= 1.5e2kg\nSpeed=-0.25\nBad=fast\n");
    SKSystemWrapperClass kWrapper;
    EXPECT_FLOAT_EQ(kWrapper.GetIniFloat("Ship", "Mass", 1.0f, kPath.c_str()), 150.0f);
    EXPECT_FLOAT_EQ(kWrapper.GetIniFloat("Ship", "Speed", 1.0f, kPath.c_str()), -0.25f);
    EXPECT_FLOAT_EQ(kWrapper.GetIniFloat("Ship", "Bad", 1.0f, kPath.c_str()), 0.0f);
    EXPECT_FLOAT_EQ(kWrapper.GetIniFloat("Ship", "Crew", 1.0f, kPath.c_str()), 1.0f);
}

TEST(SKSystemWrapperClass, SeekFileMapsItsOwnOrigins)
{
    TempFolder kFolder;
    std::string kPath = kFolder.WriteFile("data.bin", "0123456789");
    SKSystemWrapperClass kWrapper;
    FILE* pkFile = kWrapper.OpenFile(kPath.c_str(), "rb");
    ASSERT_NE(pkFile, nullptr);
    char cRead = 0;

    EXPECT_TRUE(kWrapper.SeekFile(pkFile, 4, 2));
    EXPECT_TRUE(kWrapper.SeekFile(pkFile, 2, 0));
    ASSERT_TRUE(kWrapper.ReadFromFile(pkFile, &cRead, 1));
    EXPECT_EQ(cRead, '6');
    EXPECT_TRUE(kWrapper.SeekFile(pkFile, -1, 1));
    ASSERT_TRUE(kWrapper.ReadFromFile(pkFile, &cRead, 1));
    EXPECT_EQ(cRead, '9');
    EXPECT_FALSE(kWrapper.SeekFile(pkFile, 0, 3));
    EXPECT_FALSE(kWrapper.SeekFile(pkFile, 0, -1));

    EXPECT_TRUE(kWrapper.SeekFile(pkFile, 3, 2));
    EXPECT_EQ(kWrapper.GetFileLength(pkFile), 10);
    ASSERT_TRUE(kWrapper.ReadFromFile(pkFile, &cRead, 1));
    EXPECT_EQ(cRead, '3');
    char acRest[16];
    EXPECT_FALSE(kWrapper.ReadFromFile(pkFile, acRest, 16));
    kWrapper.CloseFile(pkFile);
    EXPECT_EQ(kWrapper.GetFileLength(nullptr), 0);
}

TEST(SKSystemWrapperClass, FileExistsOnlyForFiles)
{
    TempFolder kFolder;
    kFolder.WriteFile("a.txt", "a");
    SKSystemWrapperClass kWrapper;
    EXPECT_TRUE(kWrapper.FileExists((kFolder.Path("a.txt")).c_str()));
    EXPECT_FALSE(kWrapper.FileExists((kFolder.Path("b.txt")).c_str()));
    EXPECT_FALSE(kWrapper.FileExists(kFolder.Path().c_str()));
    EXPECT_FALSE(kWrapper.FileExists(nullptr));
}

TEST(SKSystemWrapperClass, JoinPathPicksTheSeparatorThePathUses)
{
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("D:\\data", {"maps"}), "D:\\data\\maps");
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("data/", {"maps"}), "data/maps");
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("data", {"maps"}), "data/maps");
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("data", {"maps", "ships", "a.nif"}), "data/maps/ships/a.nif");
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("data\\", {"maps", "a"}), "data\\maps\\a");
    EXPECT_EQ(SKSystemWrapperClass::JoinPath("", {"maps"}), "/maps");
}

TEST(SKSystemWrapperClass, SplitPathKeepsTheClosingSeparator)
{
    struct Case
    {
        const char* pcPath;
        const char* pcFolder;
        const char* pcFile;
    };
    for (Case kCase : {Case{"data/ships/a.nif", "data/ships/", "a.nif"},
                       Case{"C:\\data\\a.nif", "C:\\data\\", "a.nif"}, Case{"C:a.nif", "C:", "a.nif"},
                       Case{"a.nif", "", "a.nif"}, Case{"data/", "data/", ""}, Case{"", "", ""}})
    {
        std::string kFolder, kFile;
        SKSystemWrapperClass::SplitPath(kCase.pcPath, &kFolder, &kFile);
        EXPECT_EQ(kFolder, kCase.pcFolder) << kCase.pcPath;
        EXPECT_EQ(kFile, kCase.pcFile) << kCase.pcPath;
    }
    std::string kFile;
    SKSystemWrapperClass::SplitPath("x/y", nullptr, &kFile);
    EXPECT_EQ(kFile, "y");
}
