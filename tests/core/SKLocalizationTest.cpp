#include <gtest/gtest.h>

#include <optional>

#include "core/SKBufferStream.h"
#include "core/SKLocalizationDatabase.h"
#include "core/SKLocalizationManager.h"
#include "core/SKLocalizationSystemObject.h"
#include "tests/core/FakeScriptBridge.h"
#include "tests/support/TempFolder.h"

namespace
{

// The parts of a database file, valid unless a test changes them.
struct DatabaseFile
{
    int32_t iMagic = 5889;
    int32_t iVersion = 1;
    int32_t iReserved = 0;
    std::optional<int32_t> kCount; // the entry count written; the number of entries when unset
    std::vector<std::array<int32_t, 3>> kEntries{{0, 0, 0}, {5, 3, 5}};
    std::string kKeys{"Hull\0Warp\0", 10};
    std::u16string kTexts{u"Hi\0Warp drive\0", 14};
    std::string kFileNames{"a.py\0b.py\0", 10};
    std::optional<int32_t> kTextUnits; // the text pool size written; its length when unset

    std::string Bytes() const
    {
        std::string kBytes;
        auto kPut = [&kBytes](int32_t iValue)
        {
            for (int iShift = 0; iShift < 32; iShift += 8)
                kBytes += static_cast<char>(static_cast<uint32_t>(iValue) >> iShift);
        };
        kPut(iMagic);
        kPut(iVersion);
        kPut(iReserved);
        kPut(kCount.value_or(static_cast<int32_t>(kEntries.size())));
        for (const auto& kEntry : kEntries)
        {
            for (int32_t iOffset : kEntry)
                kPut(iOffset);
        }
        kPut(static_cast<int32_t>(kKeys.size()));
        kBytes += kKeys;
        kPut(kTextUnits.value_or(static_cast<int32_t>(kTexts.size())));
        for (char16_t usUnit : kTexts)
        {
            kBytes += static_cast<char>(usUnit & 0xFF);
            kBytes += static_cast<char>(usUnit >> 8);
        }
        kPut(static_cast<int32_t>(kFileNames.size()));
        kBytes += kFileNames;
        return kBytes;
    }
};

class SKLocalizationTest : public testing::Test
{
protected:
    ~SKLocalizationTest() override
    {
        g_kLocalizationManager.DeleteAll();
        g_kLocalizationManager.Purge();
    }

    std::string Write(const std::string& kName, const DatabaseFile& kFile)
    {
        return m_kFolder.WriteFile(kName, kFile.Bytes());
    }

    static std::u16string Text(const SKString& kString) { return kString.GetUnits(); }

    TempFolder m_kFolder;
};

} // namespace

TEST(StringHash32, FourWayPearsonOfTheKeyBytes)
{
    EXPECT_EQ(StringHash32(""), 0u);
    EXPECT_EQ(StringHash32("ID1"), 0x96590633u);
    EXPECT_EQ(StringHash32("ID2"), 0x40C41D02u);
    EXPECT_EQ(StringHash32("ID3"), 0x1B88FF6Au);
    EXPECT_EQ(StringHash32("ID4"), 0x39A85B99u);
    EXPECT_EQ(StringHash32("ID5"), 0x9C98F4D0u);
}

TEST_F(SKLocalizationTest, SampleLoadsSortedAndAnswersLookups)
{
    std::string kPath = m_kFolder.Path("sample.db");
    SKLocalizationDatabase::WriteSample(kPath.c_str());
    EXPECT_EQ(TempFolder::ReadFile(kPath).size(), 16u + 5 * 12 + 4 + 20 + 4 + 80 + 4 + 30);

    SKLocalizationDatabase* pkDatabase = SKLocalizationDatabase::Create(kPath.c_str());
    ASSERT_NE(pkDatabase, nullptr);
    EXPECT_EQ(pkDatabase->GetEntryCount(), 5u);
    const char* apcKeys[] = {"ID1", "ID2", "ID3", "ID4", "ID5"};
    const char16_t* apcTexts[] = {u"STRING1", u"STRING2", u"STRING3", u"STRING4", u"STRING5"};
    const char* apcFiles[] = {"FILE1", "FILE2", "FILE3", "FILE4", "FILE5"};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_TRUE(pkDatabase->HasString(apcKeys[i]));
        EXPECT_EQ(Text(pkDatabase->GetString(apcKeys[i])), apcTexts[i]);
        EXPECT_STREQ(pkDatabase->GetFilename(apcKeys[i]), apcFiles[i]);
    }
    EXPECT_EQ(Text(pkDatabase->GetString("nope")), u"???");
    EXPECT_EQ(Text(pkDatabase->GetString(nullptr)), u"???");
    EXPECT_FALSE(pkDatabase->HasString("id1"));
    EXPECT_FALSE(pkDatabase->HasString(nullptr));
    EXPECT_EQ(pkDatabase->GetFilename("nope"), nullptr);
    // The same string each time: scripts keep pointers to it.
    EXPECT_EQ(&pkDatabase->GetString("ID3"), &pkDatabase->GetString("ID3"));
}

TEST_F(SKLocalizationTest, SharedTextsAndTheEmptyKey)
{
    DatabaseFile kFile;
    kFile.kEntries = {{0, 0, 0}, {1, 0, 0}, {6, 3, 5}};
    kFile.kKeys = std::string("\0Hull\0Warp\0", 11);
    std::string kPath = Write("shared.db", kFile);

    SKLocalizationDatabase* pkDatabase = SKLocalizationDatabase::Create(kPath.c_str());
    ASSERT_NE(pkDatabase, nullptr);
    EXPECT_EQ(Text(pkDatabase->GetString("")), u"Hi");
    EXPECT_EQ(Text(pkDatabase->GetString("Hull")), u"Hi");
    EXPECT_EQ(Text(pkDatabase->GetString("Warp")), u"Warp drive");
    EXPECT_STREQ(pkDatabase->GetFilename("Warp"), "b.py");
}

TEST_F(SKLocalizationTest, ReferencesDecideWhenPurgeDeletes)
{
    std::string kPath = m_kFolder.Path("sample.db");
    SKLocalizationDatabase::WriteSample(kPath.c_str());

    SKLocalizationDatabase* pkFirst = SKLocalizationDatabase::Create(kPath.c_str(), true);
    SKLocalizationDatabase* pkSecond = g_kLocalizationManager.Load(kPath.c_str(), true);
    ASSERT_NE(pkFirst, nullptr);
    EXPECT_EQ(pkSecond, pkFirst);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkFirst), 2);
    EXPECT_EQ(SKLocalizationDatabase::Create(kPath.c_str(), false), pkFirst);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkFirst), 2);

    g_kLocalizationManager.Unload(pkFirst);
    g_kLocalizationManager.Purge();
    EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kPath.c_str(), false), pkFirst);
    g_kLocalizationManager.Unload(pkFirst);
    g_kLocalizationManager.Purge();
    EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kPath.c_str(), false), nullptr);
}

TEST_F(SKLocalizationTest, NamesAreComparedExactly)
{
    std::string kLower = m_kFolder.Path("sample.db");
    std::string kUpper = m_kFolder.Path("SAMPLE.db");
    SKLocalizationDatabase::WriteSample(kLower.c_str());
    SKLocalizationDatabase::WriteSample(kUpper.c_str());

    SKLocalizationDatabase* pkLower = SKLocalizationDatabase::Create(kLower.c_str());
    SKLocalizationDatabase* pkUpper = SKLocalizationDatabase::Create(kUpper.c_str());
    ASSERT_NE(pkLower, nullptr);
    ASSERT_NE(pkUpper, nullptr);
    EXPECT_NE(pkLower, pkUpper);
    // A name spelled in another case still finds its file, as a database of its own.
    SKLocalizationDatabase* pkSpelled = SKLocalizationDatabase::Create(m_kFolder.Path("Sample.DB").c_str());
    ASSERT_NE(pkSpelled, nullptr);
    EXPECT_NE(pkSpelled, pkLower);
    EXPECT_NE(pkSpelled, pkUpper);

    g_kLocalizationManager.Unload(pkLower);
    g_kLocalizationManager.Unload(pkLower);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkLower), -1);
    g_kLocalizationManager.DeleteAll();
    g_kLocalizationManager.Purge();
    EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kLower.c_str()), nullptr);
    EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kUpper.c_str()), nullptr);
}

// Registering a database twice must not make two records, which Purge would delete twice.
TEST_F(SKLocalizationTest, RegisteringAgainKeepsOneRecord)
{
    std::string kPath = m_kFolder.Path("sample.db");
    SKLocalizationDatabase::WriteSample(kPath.c_str());
    SKLocalizationDatabase* pkDatabase = SKLocalizationDatabase::Create(kPath.c_str());
    ASSERT_NE(pkDatabase, nullptr);

    g_kLocalizationManager.RegisterDatabase(pkDatabase);
    g_kLocalizationManager.RegisterDatabase(nullptr);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkDatabase), 1);
    g_kLocalizationManager.Unload(pkDatabase);
    g_kLocalizationManager.Purge();
    EXPECT_FALSE(g_kLocalizationManager.IsRegistered(pkDatabase));
}

TEST_F(SKLocalizationTest, BadFilesLoadNothing)
{
    struct Case
    {
        const char* pcName;
        void (*pfnBreak)(DatabaseFile&);
    };
    const Case akCases[] = {
        {"magic", [](DatabaseFile& kFile) { kFile.iMagic = 5890; }},
        {"version", [](DatabaseFile& kFile) { kFile.iVersion = 2; }},
        {"reserved", [](DatabaseFile& kFile) { kFile.iReserved = 1; }},
        {"no entries", [](DatabaseFile& kFile) { kFile.kCount = 0; }},
        {"negative count", [](DatabaseFile& kFile) { kFile.kCount = -1; }},
        {"huge count", [](DatabaseFile& kFile) { kFile.kCount = 0x7FFFFFFF; }},
        {"count past the entries", [](DatabaseFile& kFile) { kFile.kCount = 3; }},
        {"huge text pool", [](DatabaseFile& kFile) { kFile.kTextUnits = 0x40000000; }},
        {"negative text pool", [](DatabaseFile& kFile) { kFile.kTextUnits = -2; }},
        {"key offset past its pool", [](DatabaseFile& kFile) { kFile.kEntries[1][0] = 10; }},
        {"negative key offset", [](DatabaseFile& kFile) { kFile.kEntries[1][0] = -1; }},
        {"text offset past its pool", [](DatabaseFile& kFile) { kFile.kEntries[1][1] = 14; }},
        {"file offset past its pool", [](DatabaseFile& kFile) { kFile.kEntries[1][2] = 0x7FFFFFFF; }},
        {"unterminated key", [](DatabaseFile& kFile) { kFile.kKeys.back() = 'x'; }},
        {"unterminated text", [](DatabaseFile& kFile) { kFile.kTexts.back() = u'x'; }},
        {"unterminated file name", [](DatabaseFile& kFile) { kFile.kFileNames.back() = 'x'; }},
        {"empty pools", [](DatabaseFile& kFile) { kFile.kKeys.clear(); }},
        {"one key twice", [](DatabaseFile& kFile) { kFile.kEntries[1][0] = 0; }},
    };
    for (const Case& kCase : akCases)
    {
        DatabaseFile kFile;
        kCase.pfnBreak(kFile);
        std::string kPath = Write("bad.db", kFile);
        EXPECT_EQ(SKLocalizationDatabase::Create(kPath.c_str()), nullptr) << kCase.pcName;
        EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kPath.c_str()), nullptr) << kCase.pcName;
    }
    EXPECT_EQ(SKLocalizationDatabase::Create(m_kFolder.Path("missing.db").c_str()), nullptr);
    EXPECT_EQ(SKLocalizationDatabase::Create(nullptr), nullptr);
}

TEST_F(SKLocalizationTest, EveryTruncationFailsAndTrailingBytesAreIgnored)
{
    std::string kBytes = DatabaseFile().Bytes();
    for (size_t uiLength = 0; uiLength < kBytes.size(); ++uiLength)
    {
        std::string kPath = m_kFolder.WriteFile("cut.db", kBytes.substr(0, uiLength));
        EXPECT_EQ(SKLocalizationDatabase::Create(kPath.c_str()), nullptr) << uiLength;
    }
    std::string kPath = m_kFolder.WriteFile("long.db", kBytes + "trailing");
    SKLocalizationDatabase* pkDatabase = SKLocalizationDatabase::Create(kPath.c_str());
    ASSERT_NE(pkDatabase, nullptr);
    EXPECT_EQ(Text(pkDatabase->GetString("Warp")), u"Warp drive");
}

TEST_F(SKLocalizationTest, ManagerStreamFormReloadsWithCounts)
{
    std::string kFirst = m_kFolder.Path("first.db");
    std::string kSecond = m_kFolder.Path("second.db");
    SKLocalizationDatabase::WriteSample(kFirst.c_str());
    SKLocalizationDatabase::WriteSample(kSecond.c_str());
    SKLocalizationDatabase::Create(kFirst.c_str());
    SKLocalizationDatabase::Create(kFirst.c_str());
    SKLocalizationDatabase::Create(kSecond.c_str());

    SKBufferStream kStream;
    kStream.OpenBuffer(1024);
    EXPECT_TRUE(g_kLocalizationManager.SaveToStream(kStream));
    g_kLocalizationManager.DeleteAll();
    g_kLocalizationManager.Purge();

    kStream.Seek(0, 0);
    EXPECT_TRUE(g_kLocalizationManager.LoadFromStream(kStream));
    SKLocalizationDatabase* pkFirst = g_kLocalizationManager.GetIfRegistered(kFirst.c_str(), false);
    SKLocalizationDatabase* pkSecond = g_kLocalizationManager.GetIfRegistered(kSecond.c_str(), false);
    ASSERT_NE(pkFirst, nullptr);
    ASSERT_NE(pkSecond, nullptr);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkFirst), 2);
    EXPECT_EQ(g_kLocalizationManager.GetReferenceCount(pkSecond), 1);
    kStream.CloseBuffer();
}

TEST_F(SKLocalizationTest, ManagerLoadStopsAtTheEndOfTheStream)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(8);
    kStream.WriteLong(0x7FFFFFFF);
    kStream.Seek(0, 0);
    EXPECT_TRUE(g_kLocalizationManager.LoadFromStream(kStream));
    kStream.CloseBuffer();
}

TEST_F(SKLocalizationTest, SystemObjectRegistersHooksAndReleasesDatabases)
{
    SKLocalizationSystemObject& kObject = SKLocalizationSystemObject::Instance();
    EXPECT_EQ(kObject.GetPriority(), 0xFFFFFFFFu);
    EXPECT_EQ(SKSystemObject::GetFirst(), &kObject);

    size_t uiGetHooks = SKScriptBridge::GetStateHooks().size();
    size_t uiSetHooks = SKScriptBridge::SetStateHooks().size();
    kObject.Init();
    ASSERT_EQ(SKScriptBridge::GetStateHooks().size(), uiGetHooks + 1);
    ASSERT_EQ(SKScriptBridge::SetStateHooks().size(), uiSetHooks + 1);
    EXPECT_EQ(SKScriptBridge::GetStateHooks().back().m_pfnHook, &SKLocDBWrapperSerialize);
    EXPECT_EQ(SKScriptBridge::GetStateHooks().back().m_kTypeName, "SKLocalizationDatabase");
    EXPECT_EQ(SKScriptBridge::SetStateHooks().back().m_pfnHook, &SKLocDBWrapperUnserialize);
    EXPECT_EQ(SKScriptBridge::SetStateHooks().back().m_kTypeName, "SKLocalizationDatabase");
    SKScriptBridge::GetStateHooks().pop_back();
    SKScriptBridge::SetStateHooks().pop_back();

    std::string kPath = m_kFolder.Path("sample.db");
    SKLocalizationDatabase::WriteSample(kPath.c_str());
    SKLocalizationDatabase::Create(kPath.c_str());
    SKLocalizationDatabase::Create(kPath.c_str());
    kObject.ReleaseResources();
    EXPECT_EQ(g_kLocalizationManager.GetIfRegistered(kPath.c_str()), nullptr);
}

TEST_F(SKLocalizationTest, ScriptStateIsTheFileName)
{
    std::string kPath = m_kFolder.Path("sample.db");
    SKLocalizationDatabase::WriteSample(kPath.c_str());
    SKLocalizationDatabase* pkDatabase = SKLocalizationDatabase::Create(kPath.c_str());
    ASSERT_NE(pkDatabase, nullptr);

    PyObject* pkState = nullptr;
    EXPECT_FALSE(SKLocDBWrapperSerialize(nullptr, &pkState)) << "no script host installed";

    FakeScriptBridge kBridge;
    PyObject* pkShadow = kBridge.MakeShadow(pkDatabase, "SKLocalizationDatabase");
    ASSERT_TRUE(SKLocDBWrapperSerialize(pkShadow, &pkState));
    std::string kText;
    ASSERT_TRUE(kBridge.GetText(pkState, kText));
    EXPECT_EQ(kText, kPath);

    PyObject* pkRestored = kBridge.Make(_object::Kind::Shadow);
    ASSERT_TRUE(SKLocDBWrapperUnserialize(pkRestored, pkState));
    EXPECT_EQ(kBridge.ObjectToPointer(pkRestored, "SKLocalizationDatabase"), pkDatabase);
    EXPECT_EQ(pkRestored->m_kAttributes["this"]->m_iReferences, 1) << "the hook releases its own reference";

    EXPECT_FALSE(SKLocDBWrapperSerialize(kBridge.MakeShadow(pkDatabase, "SKString"), &pkState));
    EXPECT_FALSE(SKLocDBWrapperUnserialize(pkRestored, kBridge.NewText("other.db")));
    EXPECT_FALSE(SKLocDBWrapperUnserialize(pkRestored, kBridge.NewFloat(1.0)));

    // After a purge the shadow's pointer names no database, and is not followed.
    g_kLocalizationManager.DeleteAll();
    g_kLocalizationManager.Purge();
    EXPECT_FALSE(SKLocDBWrapperSerialize(pkShadow, &pkState));
    EXPECT_FALSE(SKLocDBWrapperUnserialize(pkRestored, kBridge.NewText(kPath.c_str())));
}
