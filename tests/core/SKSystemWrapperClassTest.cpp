#include "core/SKSystemWrapperClass.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/DirectoryListing.h"
#include "scene/object/SKRandom.h"
#include "platform/win32/FileSystem.h"
#include "platform/win32/Joystick.h"
#include "platform/win32/ManualTimeSource.h"
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

// Frame clock, window and joysticks -------------------------------------------------------------

TEST(SKSystemWrapperClass, FrameClockCountsMillisecondsAcrossAWrap)
{
    win32::ManualTimeSource kClock;
    kClock.SetHasCounter(false);
    kClock.SetMilliseconds(0xFFFFFFF0u);
    SKSystemWrapperClass kWrapper;

    kWrapper.UpdateFrameTime();
    EXPECT_EQ(kWrapper.GetUpdateNumber(), 1u);
    EXPECT_EQ(kWrapper.GetTimeElapsedInMilliseconds(), 0u);
    EXPECT_EQ(kWrapper.GetTimeInMilliseconds(), 0u);

    kClock.SetMilliseconds(0x10);
    EXPECT_FLOAT_EQ(kWrapper.GetTimeSinceFrameStart(), 0.032f);
    kWrapper.UpdateFrameTime();
    EXPECT_EQ(kWrapper.GetUpdateNumber(), 2u);
    EXPECT_EQ(kWrapper.GetTimeElapsedInMilliseconds(), 32u);
    EXPECT_FLOAT_EQ(kWrapper.GetTimeElapsedInSeconds(), 0.032f);

    kClock.SetMilliseconds(0x10 + 18);
    kWrapper.UpdateFrameTime();
    EXPECT_EQ(kWrapper.GetTimeInMilliseconds(), 50u);
    EXPECT_FLOAT_EQ(kWrapper.GetTimeInSeconds(), 0.05f);
    EXPECT_FLOAT_EQ(kWrapper.GetTimeSinceFrameStart(), 0.0f);
}

TEST(SKSystemWrapperClass, TimeSinceFrameStartUsesTheCounterWhenThereIsOne)
{
    win32::ManualTimeSource kClock(1000000);
    SKSystemWrapperClass kWrapper;
    kClock.SetCounter(5000000);
    kWrapper.UpdateFrameTime();
    kClock.SetCounter(5000000 + 250000);
    EXPECT_FLOAT_EQ(kWrapper.GetTimeSinceFrameStart(), 0.25f);
}

TEST(SKSystemWrapperClass, WindowQueries)
{
    SKSystemWrapperClass kWrapper;
    EXPECT_FALSE(kWrapper.IsForeground());
    EXPECT_EQ(kWrapper.GetVerticalAspectRatio(), 1.0f);

    win32::Window kFrame;
    win32::Window kEngine(&kFrame);
    win32::Window kPanel(&kEngine);
    win32::Window kOther;
    kEngine.SetClientSize(640, 480);
    kWrapper.SetWindowAndRenderer(&kEngine, nullptr);
    EXPECT_FLOAT_EQ(kWrapper.GetVerticalAspectRatio(), 640.0f / 480.0f);
    kEngine.SetClientSize(640, 0);
    EXPECT_EQ(kWrapper.GetVerticalAspectRatio(), 1.0f);

    for (HWND hForeground : {&kEngine, &kFrame, &kPanel})
    {
        SetForegroundWindow(hForeground);
        EXPECT_TRUE(kWrapper.IsForeground());
    }
    SetForegroundWindow(&kOther);
    EXPECT_FALSE(kWrapper.IsForeground());
    SetForegroundWindow(nullptr);
    EXPECT_FALSE(kWrapper.IsForeground());
}

TEST(SKSystemWrapperClass, AbsentJoysticksReadAsCentredAndFail)
{
    TempFolder kFolder;
    win32::SetJoystickDevicePrefix(kFolder.Path("js"));
    SKSystemWrapperClass kWrapper;
    for (int32_t iIndex : {-1, 0, 3, 4, 100})
        EXPECT_FALSE(kWrapper.UpdateJoystick(iIndex)) << iIndex;
    EXPECT_TRUE(kWrapper.GetJoystickState(0).m_bCapabilitiesRead);
    EXPECT_EQ(kWrapper.GetJoystickState(0).m_auiCentre[0], 0u);
    win32::SetJoystickDevicePrefix("/dev/input/js");
}

// Screenshots ----------------------------------------------------------------------------------

namespace
{

class SolidImage : public SKScreenshotImage
{
public:
    Format GetFormat() const override { return FORMAT_RGB; }
    uint32_t GetWidth() const override { return 1; }
    uint32_t GetHeight() const override { return 1; }
    uint32_t GetRowBytes() const override { return 3; }
    const uint8_t* GetPixels() const override { return m_aucPixel; }
    bool ConvertTo(const Layout&, uint32_t, uint8_t* pBuffer) const override
    {
        std::copy(m_aucPixel, m_aucPixel + 3, pBuffer);
        return true;
    }

private:
    uint8_t m_aucPixel[3] = {1, 2, 3};
};

// Only the one renderer the tests call "Direct3D" gives an image.
NiRender* const DIRECT3D_RENDERER = reinterpret_cast<NiRender*>(uintptr_t{0x1000});
int g_iCaptures = 0;

std::unique_ptr<SKScreenshotImage> CaptureTestImage(NiRender* pkRenderer)
{
    ++g_iCaptures;
    if (pkRenderer != DIRECT3D_RENDERER)
        return nullptr;
    return std::make_unique<SolidImage>();
}

std::vector<std::string> FolderEntries(const std::string& kPath)
{
    std::vector<std::string> kNames;
    for (const auto& kEntry : std::filesystem::directory_iterator(kPath))
        kNames.push_back(kEntry.path().filename().string());
    std::sort(kNames.begin(), kNames.end());
    return kNames;
}

} // namespace

TEST(SKSystemWrapperClass, ScreenshotTakesTheFirstFreeNumber)
{
    TempFolder kFolder;
    SKSystemWrapperClass::SetScreenshotCapture(CaptureTestImage);
    SKSystemWrapperClass kWrapper;
    kWrapper.SetDefaultScreenShotPath(kFolder.Path().c_str());
    kWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_TGA, nullptr);
    EXPECT_TRUE(FolderEntries(kFolder.Path()).empty()) << "no renderer";

    kWrapper.SetWindowAndRenderer(nullptr, DIRECT3D_RENDERER);
    kFolder.WriteFile("ScreenShot000.tga", "x");
    kFolder.WriteFile("ScreenShot001.tga", "x");
    std::filesystem::create_directory(kFolder.Path("ScreenShot002.tga"));
    kWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_TGA, nullptr);
    kWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_BMP, nullptr);
    kWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_BMP, "named.bmp");
    kWrapper.TakeScreenshot(7, "other.bmp");
    EXPECT_EQ(FolderEntries(kFolder.Path()),
              (std::vector<std::string>{"ScreenShot000.bmp", "ScreenShot000.tga", "ScreenShot001.tga",
                                        "ScreenShot002.tga", "ScreenShot003.tga", "named.bmp"}));
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("ScreenShot003.tga")).size(), 18u + 3 + 26);
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("named.bmp")).size(), 58u);

    g_iCaptures = 0;
    kWrapper.SetWindowAndRenderer(nullptr, reinterpret_cast<NiRender*>(uintptr_t{0x2000}));
    kWrapper.TakeScreenshot(SKSystemWrapperClass::IMAGE_FORMAT_BMP, "none.bmp");
    EXPECT_EQ(g_iCaptures, 1);
    EXPECT_FALSE(std::filesystem::exists(kFolder.Path("none.bmp")));
    SKSystemWrapperClass::SetScreenshotCapture(nullptr);
}

// Folder trees ---------------------------------------------------------------------------------

namespace
{

// a.txt, b/, b/c.nif, b/d/, b/d/e.txt, B.nif
void MakeTree(const TempFolder& kFolder, const std::string& kRoot)
{
    std::filesystem::create_directories(kFolder.Path(kRoot + "/b/d"));
    kFolder.WriteFile(kRoot + "/a.txt", "a");
    kFolder.WriteFile(kRoot + "/B.nif", "B");
    kFolder.WriteFile(kRoot + "/b/c.nif", "c");
    kFolder.WriteFile(kRoot + "/b/d/e.txt", "e");
}

} // namespace

TEST(DirectoryListing, SortedByBytesAndRecursive)
{
    TempFolder kFolder;
    MakeTree(kFolder, "tree");
    DirectoryListing kListing;
    ASSERT_TRUE(kListing.Build((kFolder.Path("tree") + "\\").c_str(), nullptr, true));
    EXPECT_EQ(kListing.GetPath(), kFolder.Path("tree"));
    EXPECT_EQ(kListing.GetFiles(), (std::vector<std::string>{"B.nif", "a.txt"}));
    ASSERT_EQ(kListing.GetSubfolders().size(), 1u);
    const DirectoryListing& kB = kListing.GetSubfolders()[0];
    EXPECT_EQ(kB.GetName(), "b");
    EXPECT_EQ(kB.GetPath(), kFolder.Path("tree/b"));
    EXPECT_EQ(kB.GetFiles(), std::vector<std::string>{"c.nif"});
    ASSERT_EQ(kB.GetSubfolders().size(), 1u);
    EXPECT_EQ(kB.GetSubfolders()[0].GetFiles(), std::vector<std::string>{"e.txt"});

    DirectoryListing kFlat;
    ASSERT_TRUE(kFlat.Build(kFolder.Path("tree").c_str(), "*", false));
    EXPECT_TRUE(kFlat.GetSubfolders().empty());
    EXPECT_FALSE(kFlat.Build(kFolder.Path("missing").c_str(), "*", false));
    EXPECT_TRUE(DirectoryListing::FindExists(kFolder.Path("tree/b/*.nif").c_str()));
    EXPECT_FALSE(DirectoryListing::FindExists(kFolder.Path("tree/*.py").c_str()));
}

TEST(DirectoryListing, PatternStillReachesOtherFolders)
{
    TempFolder kFolder;
    MakeTree(kFolder, "tree");
    kFolder.WriteFile("tree/b/d/f.nif", "f");
    DirectoryListing kListing;
    kListing.Build(kFolder.Path("tree").c_str(), "*.nif", true);
    EXPECT_EQ(kListing.GetFiles(), std::vector<std::string>{"B.nif"});
    ASSERT_EQ(kListing.GetSubfolders().size(), 1u);
    EXPECT_EQ(kListing.GetSubfolders()[0].GetFiles(), std::vector<std::string>{"c.nif"});
    ASSERT_EQ(kListing.GetSubfolders()[0].GetSubfolders().size(), 1u);
    EXPECT_EQ(kListing.GetSubfolders()[0].GetSubfolders()[0].GetFiles(), std::vector<std::string>{"f.nif"});
}

TEST(SKSystemWrapperClass, DeleteDirectoryTreeRemovesReadOnlyEntries)
{
    TempFolder kFolder;
    MakeTree(kFolder, "tree");
    SKSystemWrapperClass kWrapper;
    EXPECT_EQ(kWrapper.SetFileReadOnly(kFolder.Path("tree/a.txt").c_str(), true), 0);
    EXPECT_EQ(kWrapper.SetFileReadOnly(kFolder.Path("tree/b/d").c_str(), true), 0);
    EXPECT_EQ(kWrapper.SetFileReadOnly(kFolder.Path("tree/none").c_str(), true), -1);

    EXPECT_TRUE(kWrapper.DeleteDirectoryTree(kFolder.Path("tree").c_str()));
    EXPECT_FALSE(std::filesystem::exists(kFolder.Path("tree")));
    EXPECT_FALSE(kWrapper.DeleteDirectoryTree(kFolder.Path("tree").c_str()));
}

// Links lead outside the tree: deleting removes only the link, and a link to a folder is never
// the tree to delete.
TEST(SKSystemWrapperClass, DeleteDirectoryTreeNeverFollowsLinks)
{
    TempFolder kFolder;
    MakeTree(kFolder, "outside");
    std::filesystem::create_directory(kFolder.Path("tree"));
    std::filesystem::create_directory_symlink(kFolder.Path("outside"), kFolder.Path("tree/folder-link"));
    std::filesystem::create_symlink(kFolder.Path("outside/a.txt"), kFolder.Path("tree/file-link"));
    std::filesystem::create_directory_symlink(kFolder.Path("outside"), kFolder.Path("root-link"));

    SKSystemWrapperClass kWrapper;
    EXPECT_FALSE(kWrapper.DeleteDirectoryTree(kFolder.Path("root-link").c_str()));
    EXPECT_TRUE(kWrapper.DeleteDirectoryTree(kFolder.Path("tree").c_str()));
    EXPECT_FALSE(std::filesystem::exists(kFolder.Path("tree")));
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("outside/a.txt")), "a");
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("outside/b/d/e.txt")), "e");
}

TEST(SKSystemWrapperClass, CopyDirectoryTreeKeepsExistingFilesAndClearsReadOnly)
{
    TempFolder kFolder;
    MakeTree(kFolder, "source");
    SKSystemWrapperClass kWrapper;
    kWrapper.SetFileReadOnly(kFolder.Path("source/b/c.nif").c_str(), true);
    std::filesystem::create_directories(kFolder.Path("copy/b"));
    kFolder.WriteFile("copy/a.txt", "kept");

    EXPECT_TRUE(kWrapper.CopyDirectoryTree(kFolder.Path("copy").c_str(), kFolder.Path("source").c_str()));
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("copy/a.txt")), "kept");
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("copy/B.nif")), "B");
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("copy/b/d/e.txt")), "e");
    EXPECT_EQ(GetFileAttributesA(kFolder.Path("copy/b/c.nif").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_NE(GetFileAttributesA(kFolder.Path("source/b/c.nif").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(SKSystemWrapperClass, CopyDirectoryTreeRefusesADestinationInsideTheSource)
{
    TempFolder kFolder;
    MakeTree(kFolder, "source");
    std::filesystem::create_directory_symlink(kFolder.Path("source"), kFolder.Path("source/b/loop"));
    SKSystemWrapperClass kWrapper;
    EXPECT_FALSE(
        kWrapper.CopyDirectoryTree(kFolder.Path("source/b/copy").c_str(), kFolder.Path("source").c_str()));
    EXPECT_FALSE(std::filesystem::exists(kFolder.Path("source/b/copy")));

    // A link to a folder inside the tree is not walked, so a loop ends.
    EXPECT_TRUE(kWrapper.CopyDirectoryTree(kFolder.Path("copy").c_str(), kFolder.Path("source").c_str()));
    EXPECT_TRUE(std::filesystem::exists(kFolder.Path("copy/b/d/e.txt")));
    EXPECT_FALSE(std::filesystem::exists(kFolder.Path("copy/b/loop")));
    EXPECT_TRUE(kWrapper.CopyDirectoryTree(kFolder.Path("copy").c_str(), kFolder.Path("copy").c_str()));
}
