#include "StreamTestObjects.h"

#include "platform/win32/DebugOutputCapture.h"
#include "scene/object/NiStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{
// A small scene: root "ship" with children "hull" and "engine"; the root carries two extra
// data (B before A) and a controller; the engine carries a controller of its own.
NiRefPtr<TestNode> MakeScene()
{
    NiRefPtr<TestNode> spRoot = new TestNode("ship");
    NiRefPtr<TestNode> spHull = new TestNode("hull");
    NiRefPtr<TestNode> spEngine = new TestNode("engine");
    spRoot->AttachChild(spHull);
    spRoot->AttachChild(spEngine);

    NiRefPtr<NiExtraData> spA = new NiExtraData;
    spA->SetValue(3, "abc");
    NiRefPtr<NiExtraData> spB = new NiExtraData;
    spRoot->AddExtraData(spA);
    spRoot->AddExtraData(spB);

    NiRefPtr<TestController> spSpin = new TestController;
    spSpin->SetCycleType(NiTimeController::LOOP);
    spSpin->SetLoKeyTime(0.0f);
    spSpin->SetHiKeyTime(2.0f);
    spSpin->SetTarget(spRoot);
    NiRefPtr<TestController> spGlow = new TestController;
    spGlow->SetFrequency(2.0f);
    spGlow->SetPhase(0.25f);
    spGlow->SetTarget(spEngine);
    return spRoot;
}

std::string SaveToBytes(NiObject* pkRoot)
{
    NiStream kStream;
    kStream.AddTopObject(pkRoot);
    std::vector<char> kBuffer;
    EXPECT_TRUE(kStream.SaveBuffer(kBuffer));
    return std::string(kBuffer.begin(), kBuffer.end());
}

size_t CountOccurrences(const std::string& kText, const std::string& kWhat)
{
    size_t uiCount = 0;
    for (size_t uiAt = kText.find(kWhat); uiAt != std::string::npos; uiAt = kText.find(kWhat, uiAt + 1))
        ++uiCount;
    return uiCount;
}
} // namespace

TEST(NiStreamRoundTrip, SceneSavedToBufferAndFileLoadsEquivalent)
{
    NiRefPtr<TestNode> spScene = MakeScene();
    TempFolder kFolder;
    const std::string kFile = kFolder.Path("ship.nif");
    {
        NiStream kSave;
        kSave.AddTopObject(spScene);
        ASSERT_TRUE(kSave.SaveFile(kFile.c_str()));
    }
    const std::string kBytes = SaveToBytes(spScene);
    EXPECT_EQ(TempFolder::ReadFile(kFile), kBytes);

    const int32_t iStart = NiObject::GetLiveObjectCount();
    for (bool bFromFile : {false, true})
    {
        SCOPED_TRACE(bFromFile ? "file" : "buffer");
        NiStream kLoad;
        ASSERT_TRUE(bFromFile ? kLoad.LoadFile(kFile.c_str())
                              : kLoad.LoadBuffer(kBytes.data(), kBytes.size()));
        EXPECT_STREQ(kLoad.GetVersion(), "3.1");
        ASSERT_EQ(kLoad.GetTopObjectCount(), 1u);
        TestNode* pkRoot = NiDynamicCast<TestNode>(kLoad.GetTopObjectAt(0));
        ASSERT_NE(pkRoot, nullptr);
        EXPECT_TRUE(pkRoot->IsEquivalent(spScene));
        EXPECT_TRUE(spScene->IsEquivalent(pkRoot));
        // Links come back as links: controllers point at their loaded targets.
        EXPECT_EQ(pkRoot->GetControllers()->GetTarget(), pkRoot);
        EXPECT_EQ(pkRoot->GetChildAt(1)->GetControllers()->GetTarget(), pkRoot->GetChildAt(1));
        EXPECT_EQ(std::memcmp(pkRoot->GetExtraData()->GetNext()->GetValue(), "abc", 3), 0);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart + 7);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}

TEST(NiStreamRoundTrip, ChangedSceneIsNotEquivalent)
{
    NiRefPtr<TestNode> spScene = MakeScene();
    const std::string kBytes = SaveToBytes(spScene);
    spScene->GetChildAt(0)->SetName("keel");
    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBytes.data(), kBytes.size()));
    EXPECT_FALSE(kLoad.GetTopObjectAt(0)->IsEquivalent(spScene));
}

TEST(NiStreamSave, TopLevelMarkerOnceBeforeTheRootAndSharedObjectsOnce)
{
    // Two nodes share one extra data, and the second root is also a child of the first.
    NiRefPtr<TestNode> spRoot = new TestNode("root");
    NiRefPtr<TestNode> spOther = new TestNode("other");
    NiRefPtr<NiExtraData> spShared = new NiExtraData;
    spRoot->AddExtraData(spShared);
    spOther->AddExtraData(spShared);
    spRoot->AttachChild(spOther);

    NiStream kSave;
    kSave.AddTopObject(spRoot);
    kSave.AddTopObject(spOther);
    std::vector<char> kBuffer;
    ASSERT_TRUE(kSave.SaveBuffer(kBuffer));
    const std::string kBytes(kBuffer.begin(), kBuffer.end());
    EXPECT_EQ(CountOccurrences(kBytes, "NiExtraData"), 1u);
    EXPECT_EQ(CountOccurrences(kBytes, "Top Level Object"), 2u);
    const std::string kHeaderEnd = std::string(NiStream::HEADER_LINES[3]) + "\n";
    const size_t uiBody = kBytes.find(kHeaderEnd) + kHeaderEnd.size();
    EXPECT_EQ(kBytes.substr(uiBody + 4, 16), "Top Level Object");
    EXPECT_EQ(kBytes.substr(uiBody + 24, 8), "TestNode");
    // Saved ids are the stream's own, counting from 1 in save order.
    uint32_t uiRootID = 0;
    std::memcpy(&uiRootID, kBytes.data() + uiBody + 32, 4);
    EXPECT_EQ(uiRootID, 1u);

    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    ASSERT_EQ(kLoad.GetTopObjectCount(), 2u);
    TestNode* pkRoot = static_cast<TestNode*>(kLoad.GetTopObjectAt(0));
    TestNode* pkOther = static_cast<TestNode*>(kLoad.GetTopObjectAt(1));
    EXPECT_EQ(pkRoot->GetChildAt(0), pkOther);
    EXPECT_EQ(pkRoot->GetExtraData(), pkOther->GetExtraData());
    EXPECT_EQ(pkRoot->GetExtraData()->GetRefCount(), 2);
}

TEST(NiStreamSave, LinkOutsideTheSavedSetIsWrittenAsNone)
{
    // The controller's target is not saved: its record names no target.
    NiRefPtr<TestNode> spTarget = new TestNode("target");
    NiRefPtr<TestController> spController = new TestController;
    spController->SetTarget(spTarget);
    const std::string kBytes = SaveToBytes(spController);
    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBytes.data(), kBytes.size()));
    const TestController* pkLoaded = static_cast<const TestController*>(kLoad.GetTopObjectAt(0));
    EXPECT_EQ(pkLoaded->GetTarget(), nullptr);
    uint32_t uiTargetID = 1;
    std::memcpy(&uiTargetID, kBytes.data() + kBytes.size() - 15 - 4, 4);
    EXPECT_EQ(uiTargetID, 0u);
}

namespace
{
// The names of the folder's files, sorted.
std::vector<std::string> FileNames(const TempFolder& kFolder)
{
    std::vector<std::string> kNames;
    for (const auto& kEntry : std::filesystem::directory_iterator(kFolder.Path()))
        kNames.push_back(kEntry.path().filename().string());
    std::sort(kNames.begin(), kNames.end());
    return kNames;
}
} // namespace

TEST(NiStreamSave, SaveFileThatCannotBeWrittenFailsAndKeepsTheOldFile)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("old.nif", "previous");
    // A file of the user's whose name a fixed temporary name would take.
    kFolder.WriteFile("old.nif.tmp", "mine");
    NiRefPtr<TestNode> spNode = new TestNode("n");
    NiStream kSave;
    kSave.AddTopObject(spNode);
    EXPECT_FALSE(kSave.SaveFile(kFolder.Path("missing/dir/new.nif").c_str()));
    EXPECT_EQ(TempFolder::ReadFile(kFile), "previous");
    ASSERT_TRUE(kSave.SaveFile(kFile.c_str()));
    EXPECT_NE(TempFolder::ReadFile(kFile), "previous");
    EXPECT_EQ(TempFolder::ReadFile(kFile + ".tmp"), "mine");
    EXPECT_EQ(FileNames(kFolder), (std::vector<std::string>{"old.nif", "old.nif.tmp"}));
}

TEST(NiStreamSave, WriteFailureIsReportedAndKeepsTheOldFile)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("old.nif", "previous");
    NiRefPtr<TestNode> spNode = new TestNode(std::string(64 * 1024, 'n').c_str());
    NiStream kSave;
    kSave.AddTopObject(spNode);

    // Files may not grow past 4 KB while saving: the writes fail part-way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit kOld{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &kOld), 0);
    rlimit kSmall = kOld;
    kSmall.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &kSmall), 0);
    const bool bSaved = kSave.SaveFile(kFile.c_str());
    setrlimit(RLIMIT_FSIZE, &kOld);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(TempFolder::ReadFile(kFile), "previous");
    EXPECT_EQ(FileNames(kFolder), std::vector<std::string>{"old.nif"});
}

TEST(NiStreamTopObjects, AddingTwiceKeepsOneEntryAndOneReference)
{
    NiRefPtr<NiObject> spObject = new NiObject;
    NiStream kStream;
    EXPECT_EQ(kStream.AddTopObject(spObject), 0u);
    EXPECT_EQ(kStream.AddTopObject(spObject), 0u);
    EXPECT_EQ(kStream.GetTopObjectCount(), 1u);
    EXPECT_EQ(spObject->GetRefCount(), 2);
    EXPECT_TRUE(kStream.IsTopObject(spObject));
    kStream.RemoveObject(spObject);
    EXPECT_EQ(spObject->GetRefCount(), 1);
    EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
    EXPECT_EQ(kStream.AddTopObject(nullptr), UINT32_MAX);
}

TEST(NiStreamHeader, VersionLineCases)
{
    struct Case
    {
        const char* pcFirstLine;
        int32_t iError;
        const char* pcVersionOrText;
    };
    const Case akCases[] = {
        {"SceneGraph File Format, Version 3.1", NiStream::ERR_NONE, "3.1"},
        {"SceneGraph File Format, Version 3.0", NiStream::ERR_NONE, "3.00"},
        {"SceneGraph File Format, Version 3.05", NiStream::ERR_NONE, "3.05"},
        {"SceneGraph File Format, Version 2.1", NiStream::ERR_OLDER_VERSION,
         "2.10 is older version, expecting 3.1"},
        {"SceneGraph File Format, Version 3.2", NiStream::ERR_LATER_VERSION,
         "3.20 is later version, expecting 3.1"},
        {"SceneGraph File Format, VersionX3.1", NiStream::ERR_NOT_NIF, "is not a NIF file"},
        {"SceneGraph File Format, Version 3.055", NiStream::ERR_NOT_NIF, "is not a NIF file"},
        {"", NiStream::ERR_NOT_NIF, "is not a NIF file"},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcFirstLine);
        const std::string kBytes = NifBytes::WithHeader(kCase.pcFirstLine).End().Bytes();
        NiStream kStream;
        const bool bLoaded = kStream.LoadBuffer(kBytes.data(), kBytes.size());
        EXPECT_EQ(bLoaded, kCase.iError == NiStream::ERR_NONE);
        EXPECT_EQ(NiStream::GetLastErrorCode(), kCase.iError);
        EXPECT_STREQ(bLoaded ? kStream.GetVersion() : NiStream::GetLastErrorText(), kCase.pcVersionOrText);
    }
}

TEST(NiStreamHeader, LinesTwoToFourAreCheckedByLengthOnly)
{
    const std::string kHeader = std::string(NiStream::HEADER_LINES[0]) + "\n";
    const std::string kGood =
        kHeader + std::string(47, 'x') + "\n" + std::string(23, 'y') + "\n" + std::string(19, 'z') + "\n";
    const std::string kShort =
        kHeader + std::string(46, 'x') + "\n" + std::string(23, 'y') + "\n" + std::string(19, 'z') + "\n";
    const std::string kEnd = NifBytes().End().Bytes();
    NiStream kStream;
    EXPECT_TRUE(kStream.LoadBuffer((kGood + kEnd).data(), kGood.size() + kEnd.size()));
    EXPECT_FALSE(kStream.LoadBuffer((kShort + kEnd).data(), kShort.size() + kEnd.size()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NOT_NIF);
}

TEST(NiStreamErrors, MissingFileIsErrorOne)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.Path("absent.nif");
    NiStream kStream;
    EXPECT_FALSE(kStream.LoadFile(kFile.c_str()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CANNOT_OPEN);
    EXPECT_EQ(std::string(NiStream::GetLastErrorText()), kFile + " cannot load file");
    NiStream kFresh;
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NONE);
    EXPECT_STREQ(NiStream::GetLastErrorText(), "");
}

TEST(NiStreamErrors, UnknownClassWritesSixDebuggerLinesThenFailsWithErrorFive)
{
    const std::string kBytes = NifBytes::WithHeader().Text("NiFoo").U32(1).End().Bytes();
    win32::DebugOutputCapture kCapture;
    NiStream kStream;
    EXPECT_FALSE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NO_LOADER);
    EXPECT_STREQ(NiStream::GetLastErrorText(), "cannot find create function NiFoo");
    const std::vector<std::string> kExpected = {
        "\nNiStream: Unable to find loader for class NiFoo.\n",
        "* Make sure you are linking in the library ",
        "that contains this class.\n",
        "* Make sure one of your source files ",
        "includes the top level header file for ",
        "that library\n\n",
    };
    EXPECT_EQ(kCapture.GetTexts(), kExpected);
}

// Every malformed file fails and releases whatever the load had made.
TEST(NiStreamErrors, MalformedFilesFailAndReleaseWhatTheyMade)
{
    const auto Extra = [](NifBytes& kBytes, uint32_t uiID) -> NifBytes&
    { return kBytes.Text("NiExtraData").U32(uiID).U32(0).U32(0); };
    struct Case
    {
        const char* pcWhat;
        std::string kBytes;
        int32_t iError;
    };
    std::vector<Case> kCases;
    {
        NifBytes kBytes = NifBytes::WithHeader();
        Extra(kBytes, 1).Text("NiExtraData").U32(2).U32(0);
        kCases.push_back({"record cut short", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        kCases.push_back(
            {"no End Of File", Extra(Extra(kBytes, 1), 2).Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        Extra(kBytes, 1).U32(0xFFFFFFF0u).Raw("NiExtraData");
        kCases.push_back({"huge class-name length", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        kBytes.Text("NiExtraData").U32(1).U32(0).U32(0x7FFFFFFFu).Raw("abc").End();
        kCases.push_back({"huge byte-block size", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        kBytes.Text("TestNode").U32(1).U32(0xFFFFFF00u).Raw("name").U32(0).U32(0).U32(0).End();
        kCases.push_back({"huge name length", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        Extra(kBytes, 1).Text("TestNode").U32(2).Text("n").U32(0).U32(0).U32(0x40000000u).End();
        kCases.push_back({"huge child count", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        Extra(kBytes, 1).Text("NiObjectNET").U32(2).Text("n").U32(0).U32(0).End();
        kCases.push_back({"abstract class record", kBytes.Bytes(), NiStream::ERR_NO_LOADER});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        kBytes.Text("Top Level Object");
        Extra(Extra(kBytes, 7), 7).End();
        kCases.push_back({"duplicate saved id", kBytes.Bytes(), NiStream::ERR_CORRUPT_RECORD});
    }
    {
        NifBytes kBytes = NifBytes::WithHeader();
        kBytes.Text("Top Level Object");
        Extra(kBytes, 1).Text("NiFoo").End();
        kCases.push_back({"unknown class after a top-level object", kBytes.Bytes(), NiStream::ERR_NO_LOADER});
    }

    win32::DebugOutputCapture kQuiet;
    const int32_t iStart = NiObject::GetLiveObjectCount();
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.pcWhat);
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadBuffer(kCase.kBytes.data(), kCase.kBytes.size()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), kCase.iError);
        EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
    }
}

// An exception raised inside a load, or a record asking for memory past the load's bound, fails
// that load with a code and a text, releases what it made, and the next load works.
TEST(NiStreamErrors, ALoadIsABoundaryForExceptionsAndItsMemoryBound)
{
    struct Case
    {
        TestFaultyObject::Fault eFault;
        int32_t iError;
        const char* pcText;
    };
    const Case kCases[] = {
        {TestFaultyObject::BAD_ALLOC_WHILE_READING, NiStream::ERR_TOO_LARGE,
         "out of memory in record of class TestFaultyObject"},
        {TestFaultyObject::OTHER_EXCEPTION_WHILE_READING, NiStream::ERR_CORRUPT_RECORD,
         "corrupt record of class TestFaultyObject index 9 past 3"},
        {TestFaultyObject::BAD_ALLOC_WHILE_LINKING, NiStream::ERR_TOO_LARGE,
         "out of memory in record of class TestFaultyObject"},
        {TestFaultyObject::PAST_THE_MEMORY_BOUND, NiStream::ERR_TOO_LARGE,
         "record of class TestFaultyObject asks for more memory than its file allows"},
    };
    const int32_t iStart = NiObject::GetLiveObjectCount();
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.pcText);
        // A node before the faulty object and its child after it: both are made and released.
        const std::string kBytes = NifBytes::WithHeader()
                                       .Text("Top Level Object")
                                       .Text("TestNode")
                                       .U32(1)
                                       .Text("root")
                                       .U32(0)
                                       .U32(0)
                                       .U32(1)
                                       .U32(3)
                                       .Text("TestFaultyObject")
                                       .U32(2)
                                       .Text("faulty")
                                       .U32(0)
                                       .U32(0)
                                       .U32(kCase.eFault)
                                       .Text("TestNode")
                                       .U32(3)
                                       .Text("child")
                                       .U32(0)
                                       .U32(0)
                                       .U32(0)
                                       .End()
                                       .Bytes();
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), kCase.iError);
        EXPECT_STREQ(NiStream::GetLastErrorText(), kCase.pcText);
        EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
        EXPECT_EQ(NiStream::GetLoadingStream(), nullptr);

        // Step by step alike.
        TempFolder kFolder;
        const std::string kFile = kFolder.WriteFile("faulty.nif", kBytes);
        ASSERT_TRUE(kStream.BeginLoad(kFile.c_str()));
        while (kStream.LoadStep(64) != NiStream::STEP_IDLE)
        {
        }
        EXPECT_EQ(NiStream::GetLastErrorCode(), kCase.iError);
        EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);

        // The same file without its fault loads in the same stream.
        std::string kSound = kBytes;
        kSound.replace(kSound.find("faulty") + 6 + 8, 4, std::string(4, '\0'));
        ASSERT_TRUE(kStream.LoadBuffer(kSound.data(), kSound.size()));
        EXPECT_EQ(kStream.GetTopObjectCount(), 1u);
    }
}

TEST(NiStreamErrors, OnlyRegularFilesAreOpened)
{
    // A FIFO without a writer would block the open, a folder or a device could never be a model.
    TempFolder kFolder;
    const std::string kFifo = kFolder.Path("pipe.nif");
    ASSERT_EQ(mkfifo(kFifo.c_str(), 0600), 0);
    std::filesystem::create_directory(kFolder.Path("folder.nif"));
    for (const std::string& kPath : {kFifo, kFolder.Path("folder.nif"), std::string("/dev/zero")})
    {
        SCOPED_TRACE(kPath);
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadFile(kPath.c_str()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CANNOT_OPEN);
        EXPECT_FALSE(kStream.BeginLoad(kPath.c_str()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CANNOT_OPEN);
    }
}

TEST(NiStreamLinks, LinkToAnObjectOfTheWrongClassResolvesToNone)
{
    // The node's extra-data link names the controller, its controller link the extra data.
    const std::string kBytes = NifBytes::WithHeader()
                                   .Text("Top Level Object")
                                   .Text("TestNode")
                                   .U32(10)
                                   .Text("n")
                                   .U32(20)
                                   .U32(30)
                                   .U32(0)
                                   .Text("Top Level Object")
                                   .Text("TestController")
                                   .U32(20)
                                   .U32(0)
                                   .U16(12)
                                   .F32(1)
                                   .F32(0)
                                   .F32(0)
                                   .F32(1)
                                   .U32(30)
                                   .Text("Top Level Object")
                                   .Text("NiExtraData")
                                   .U32(30)
                                   .U32(0)
                                   .U32(0)
                                   .End()
                                   .Bytes();
    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
    const TestNode* pkNode = static_cast<const TestNode*>(kStream.GetTopObjectAt(0));
    EXPECT_EQ(pkNode->GetExtraData(), nullptr);
    EXPECT_EQ(pkNode->GetControllers(), nullptr);
    EXPECT_EQ(static_cast<const TestController*>(kStream.GetTopObjectAt(1))->GetTarget(), nullptr);
}

TEST(NiStreamLinks, ControllerWhoseTargetDoesNotHoldItLosesTheTarget)
{
    // The node's chain is empty, yet the controller names it as its target.
    const std::string kBytes = NifBytes::WithHeader()
                                   .Text("Top Level Object")
                                   .Text("TestNode")
                                   .U32(1)
                                   .Text("n")
                                   .U32(0)
                                   .U32(0)
                                   .U32(0)
                                   .Text("Top Level Object")
                                   .Text("TestController")
                                   .U32(2)
                                   .U32(0)
                                   .U16(12)
                                   .F32(1)
                                   .F32(0)
                                   .F32(0)
                                   .F32(1)
                                   .U32(1)
                                   .End()
                                   .Bytes();
    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
    EXPECT_EQ(static_cast<const TestController*>(kStream.GetTopObjectAt(1))->GetTarget(), nullptr);
}

TEST(NiStreamLinks, ChainsThatLoopBackAreCutWhereTheyWouldClose)
{
    // Extra data 1 -> 2 -> 1, controllers 3 -> 4 -> 3.
    NifBytes kBytes = NifBytes::WithHeader();
    kBytes.Text("Top Level Object").Text("TestNode").U32(9).Text("n").U32(1).U32(3).U32(0);
    kBytes.Text("NiExtraData").U32(1).U32(2).U32(0).Text("NiExtraData").U32(2).U32(1).U32(0);
    for (uint32_t uiID : {3u, 4u})
        kBytes.Text("TestController")
            .U32(uiID)
            .U32(uiID == 3 ? 4 : 3)
            .U16(12)
            .F32(1)
            .F32(0)
            .F32(0)
            .F32(1)
            .U32(9);
    const std::string kFile = kBytes.End().Bytes();

    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kFile.data(), kFile.size()));
    const TestNode* pkNode = static_cast<const TestNode*>(kStream.GetTopObjectAt(0));
    ASSERT_NE(pkNode->GetExtraData(), nullptr);
    ASSERT_NE(pkNode->GetExtraData()->GetNext(), nullptr);
    EXPECT_EQ(pkNode->GetExtraData()->GetNext()->GetNext(), nullptr);
    ASSERT_NE(pkNode->GetControllers()->GetNext(), nullptr);
    EXPECT_EQ(pkNode->GetControllers()->GetNext()->GetNext(), nullptr);
}

TEST(NiStreamLinks, FilesWithForeignIdsLoad)
{
    // Ids are opaque numbers: large, unordered ones link as well as 1, 2, 3.
    const std::string kBytes = NifBytes::WithHeader()
                                   .Text("Top Level Object")
                                   .Text("TestNode")
                                   .U32(0x8F000010u)
                                   .Text("root")
                                   .U32(0)
                                   .U32(0)
                                   .U32(1)
                                   .U32(0x12345678u)
                                   .Text("TestNode")
                                   .U32(0x12345678u)
                                   .Text("child")
                                   .U32(0)
                                   .U32(0)
                                   .U32(0)
                                   .End()
                                   .Bytes();
    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
    const TestNode* pkRoot = static_cast<const TestNode*>(kStream.GetTopObjectAt(0));
    ASSERT_EQ(pkRoot->GetChildCount(), 1u);
    EXPECT_STREQ(pkRoot->GetChildAt(0)->GetName(), "child");
}

TEST(NiStreamStepLoad, StepsRunThePhasesInOrderAndEndLikeAWholeLoad)
{
    NiRefPtr<TestNode> spScene = MakeScene();
    TempFolder kFolder;
    const std::string kFile = kFolder.Path("ship.nif");
    {
        NiStream kSave;
        kSave.AddTopObject(spScene);
        ASSERT_TRUE(kSave.SaveFile(kFile.c_str()));
    }
    const int32_t iStart = NiObject::GetLiveObjectCount();
    {
        NiStream kStream;
        ASSERT_TRUE(kStream.BeginLoad(kFile.c_str()));
        std::vector<int32_t> kStatuses;
        for (int32_t iStatus = kStream.LoadStep(16); iStatus != NiStream::STEP_IDLE;
             iStatus = kStream.LoadStep(16))
        {
            ASSERT_LT(kStatuses.size(), 10000u);
            kStatuses.push_back(iStatus);
        }
        ASSERT_FALSE(kStatuses.empty());
        EXPECT_TRUE(std::is_sorted(kStatuses.begin(), kStatuses.end()));
        EXPECT_EQ(kStatuses.front(), NiStream::STEP_READING);
        EXPECT_EQ(kStatuses.back(), NiStream::STEP_LINKING);
        EXPECT_NE(std::find(kStatuses.begin(), kStatuses.end(), NiStream::STEP_OBJECTS), kStatuses.end());
        ASSERT_EQ(kStream.GetTopObjectCount(), 1u);
        EXPECT_TRUE(kStream.GetTopObjectAt(0)->IsEquivalent(spScene));
        EXPECT_EQ(kStream.LoadStep(16), NiStream::STEP_IDLE);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}

TEST(NiStreamStepLoad, FailuresStopTheLoadAndRelease)
{
    TempFolder kFolder;
    NifBytes kBytes = NifBytes::WithHeader();
    kBytes.Text("Top Level Object").Text("NiExtraData").U32(1).U32(0).U32(0).Text("NiFoo");
    const std::string kUnknown = kFolder.WriteFile("unknown.nif", kBytes.Bytes());
    const std::string kBadHeader = kFolder.WriteFile("header.nif", "SceneGraph\n");
    const std::string kEmpty = kFolder.WriteFile("empty.nif", "");

    win32::DebugOutputCapture kQuiet;
    const int32_t iStart = NiObject::GetLiveObjectCount();
    NiStream kStream;
    EXPECT_FALSE(kStream.BeginLoad(nullptr));
    EXPECT_FALSE(kStream.BeginLoad(kEmpty.c_str()));
    EXPECT_FALSE(kStream.BeginLoad(kBadHeader.c_str()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NOT_NIF);
    ASSERT_TRUE(kStream.BeginLoad(kUnknown.c_str()));
    int32_t iSteps = 0;
    while (kStream.LoadStep(0) != NiStream::STEP_IDLE)
        ASSERT_LT(++iSteps, 100);
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NO_LOADER);
    EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}

TEST(NiStreamImages, ResolveImagePathSearchesTheModelFolderThenTheSearchPath)
{
    TempFolder kFolder;
    kFolder.WriteFile("tex.tga", "t");
    std::filesystem::create_directories(kFolder.Path("extra"));
    const std::string kElsewhere = kFolder.WriteFile("extra/far.tga", "f");
    NiRefPtr<TestNode> spNode = new TestNode;
    NiStream kStream;
    kStream.AddTopObject(spNode);
    ASSERT_TRUE(kStream.SaveFile(kFolder.Path("model.nif").c_str()));

    std::string kPath = "C:\\nonexistent\\dir\\tex.tga";
    EXPECT_TRUE(kStream.ResolveImagePath(kPath));
    EXPECT_EQ(kPath, kFolder.Path("tex.tga"));

    kPath = "far.tga";
    EXPECT_FALSE(kStream.ResolveImagePath(kPath));
    EXPECT_EQ(kPath, "far.tga");
    NiStream::SetImageSearchPath((kFolder.Path("none") + ";" + kFolder.Path("extra")).c_str());
    EXPECT_TRUE(kStream.ResolveImagePath(kPath));
    EXPECT_EQ(kPath, kElsewhere);
    NiStream::SetImageSearchPath(nullptr);
}

TEST(NiStreamImages, ImageMapHoldsOneReferencePerNameAndCanBeShared)
{
    NiRefPtr<NiObject> spImage = new NiObject;
    NiStream kFirst;
    kFirst.AddImageByName<NiObject>("a.tga", spImage);
    kFirst.AddImageByName<NiObject>("a.tga", spImage);
    EXPECT_EQ(spImage->GetRefCount(), 2);
    EXPECT_EQ(kFirst.FindImageByName<NiObject>("a.tga"), spImage.Get());
    EXPECT_EQ(kFirst.FindImageByName<NiObject>("b.tga"), nullptr);
    {
        NiStream kSecond;
        kSecond.SetImageMap(kFirst.GetImageMap());
        EXPECT_EQ(kSecond.FindImageByName<NiObject>("a.tga"), spImage.Get());
        kSecond.SetImageMap(nullptr);
        EXPECT_EQ(kSecond.FindImageByName<NiObject>("a.tga"), nullptr);
    }
    EXPECT_EQ(spImage->GetRefCount(), 2);
}

TEST(NiStreamLinks, ObjectsNothingHoldsAreReleasedAfterTheLoad)
{
    // The second node is neither top-level nor linked: once the load ends nobody can reach it.
    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    const std::string kBytes = NifBytes::WithHeader()
                                   .Text("Top Level Object")
                                   .Text("TestNode")
                                   .U32(1)
                                   .Text("root")
                                   .U32(0)
                                   .U32(0)
                                   .U32(0)
                                   .Text("TestNode")
                                   .U32(2)
                                   .Text("orphan")
                                   .U32(0)
                                   .U32(0)
                                   .U32(0)
                                   .End()
                                   .Bytes();
    {
        NiStream kStream;
        ASSERT_TRUE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
        EXPECT_EQ(kStream.GetTopObjectCount(), 1u);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore + 1);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
}
