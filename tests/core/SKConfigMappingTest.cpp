#include "core/SKConfigMapping.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace
{

using namespace std::string_literals;

SKString Wide(const std::u16string& kUnits)
{
    SKString kString;
    kString.Assign(kUnits.data(), int32_t(kUnits.size()));
    return kString;
}

std::u16string UnitsOf(const SKString* pkString)
{
    return pkString ? pkString->GetUnits() : u"<null>";
}

std::string TextOf(const char* pcText)
{
    return pcText ? pcText : "<null>";
}

TEST(SKConfigMappingTest, GettersGiveDefaultsForMissingKeysAndOtherTypes)
{
    SKConfigMapping kStore;
    kStore.SetIntValue("Video", "Width", 800);
    EXPECT_EQ(kStore.GetIntValue("Video", "Width"), 800);
    EXPECT_EQ(kStore.GetFloatValue("Video", "Width"), 0.0f);
    EXPECT_EQ(kStore.GetStringValue("Video", "Width"), nullptr);
    EXPECT_EQ(kStore.GetSKStringValue("Video", "Width"), nullptr);
    EXPECT_TRUE(kStore.HasValue("Video", "Width"));

    // Setting another type retypes the same record.
    kStore.SetFloatValue("Video", "Width", 1024.5f);
    EXPECT_EQ(kStore.GetIntValue("Video", "Width"), 0);
    EXPECT_EQ(kStore.GetFloatValue("Video", "Width"), 1024.5f);

    kStore.SetStringValue("Video", "Mode", "window");
    kStore.SetSKStringValue("Video", "Title", Wide(u"T\u00e9st"));
    EXPECT_EQ(TextOf(kStore.GetStringValue("Video", "Mode")), "window");
    EXPECT_EQ(UnitsOf(kStore.GetSKStringValue("Video", "Title")), u"T\u00e9st");

    EXPECT_FALSE(kStore.HasValue("Video", "width")); // keys are case-sensitive
    EXPECT_FALSE(kStore.HasValue("Audio", "Width"));
    EXPECT_EQ(kStore.GetIntValue("Audio", "Width"), 0);
    EXPECT_FALSE(kStore.HasValue(nullptr, "Width"));
}

TEST(SKConfigMappingTest, SaveRefusesNamesNotEndingInCfg)
{
    TempFolder kFolder;
    SKConfigMapping kStore;
    kStore.SetIntValue("S", "k", 1);
    for (const char* pcName : {"settings.CFG", "cfg", "settings.cfg.txt", "settings"})
    {
        std::string kPath = kFolder.Path(pcName);
        EXPECT_FALSE(kStore.SaveConfigFile(pcName == "cfg"s ? "cfg" : kPath.c_str())) << pcName;
        EXPECT_EQ(TempFolder::ReadFile(kPath), "") << pcName;
    }
    EXPECT_TRUE(kStore.SaveConfigFile(kFolder.Path(".cfg").c_str()));
}

TEST(SKConfigMappingTest, SaveWritesEachTypeInItsLineForm)
{
    TempFolder kFolder;
    struct Case
    {
        const char* pcName;
        void (*pfnSet)(SKConfigMapping&);
        std::string kExpected;
    };
    const Case cases[] = {
        {"float", [](SKConfigMapping& s) { s.SetFloatValue("S", "key", 1.5f); }, "[S]\nkey|1.500000\n\n"},
        {"negative float", [](SKConfigMapping& s) { s.SetFloatValue("S", "key", -0.25f); },
         "[S]\nkey|-0.250000\n\n"},
        {"int", [](SKConfigMapping& s) { s.SetIntValue("S", "key", -3); }, "[S]\nkey|-3\n\n"},
        {"string", [](SKConfigMapping& s) { s.SetStringValue("S", "key", "a b"); }, "[S]\nkey=a b\n\n"},
        {"wide", [](SKConfigMapping& s) { s.SetSKStringValue("S", "key", Wide(u"AB")); },
         "[S]\nkey-A\0B\0\n\n"s},
        {"empty wide", [](SKConfigMapping& s) { s.SetSKStringValue("S", "key", SKString()); },
         "[S]\nkey-\0\0\n\n"s},
    };
    for (const Case& c : cases)
    {
        SKConfigMapping kStore;
        c.pfnSet(kStore);
        std::string kPath = kFolder.Path("out.cfg");
        ASSERT_TRUE(kStore.SaveConfigFile(kPath.c_str())) << c.pcName;
        EXPECT_EQ(TempFolder::ReadFile(kPath), c.kExpected) << c.pcName;
    }
}

// The float is written in the C locale, whatever locale the editor's toolkit chose.
TEST(SKConfigMappingTest, SaveFormatsNumbersInTheCLocale)
{
    const char* pcGerman = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!pcGerman)
        GTEST_SKIP() << "no German locale installed";
    TempFolder kFolder;
    SKConfigMapping kStore;
    kStore.SetFloatValue("S", "key", 1.5f);
    std::string kPath = kFolder.Path("out.cfg");
    bool bSaved = kStore.SaveConfigFile(kPath.c_str());
    SKConfigMapping kLoaded;
    bool bLoaded = kLoaded.LoadConfigFile(kPath.c_str());
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(bSaved && bLoaded);
    EXPECT_EQ(TempFolder::ReadFile(kPath), "[S]\nkey|1.500000\n\n");
    EXPECT_EQ(kLoaded.GetFloatValue("S", "key"), 1.5f);
}

// Files are read alike with LF and with CR LF line ends.
class SKConfigMappingLoadTest : public testing::TestWithParam<const char*>
{
protected:
    SKConfigMapping& Load(std::string kText)
    {
        std::string kEnding = GetParam();
        std::string kConverted;
        for (char c : kText)
            kConverted += c == '\n' ? kEnding : std::string(1, c);
        std::string kPath = m_kFolder.WriteFile("in.cfg", kConverted);
        EXPECT_TRUE(m_kStore.LoadConfigFile(kPath.c_str()));
        return m_kStore;
    }

    TempFolder m_kFolder;
    SKConfigMapping m_kStore;
};

TEST_P(SKConfigMappingLoadTest, NumbersAreTypedByTheirCharacters)
{
    SKConfigMapping& kStore = Load("[S]\n"
                                   "float|1.500000\n"
                                   "negative|-3\n"
                                   "exponent|1e5\n"
                                   "plus|+3\n"
                                   "empty|\n"
                                   "blanks|  42  \n"
                                   "huge|99999999999\n"
                                   "text = value  \n"
                                   "dash=a-b|c\n"
                                   "\n");
    EXPECT_EQ(kStore.GetFloatValue("S", "float"), 1.5f);
    EXPECT_EQ(kStore.GetIntValue("S", "negative"), -3);
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", "exponent")), "1e5");
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", "plus")), "+3");
    EXPECT_TRUE(kStore.HasValue("S", "empty"));
    EXPECT_EQ(kStore.GetIntValue("S", "empty"), 0);
    EXPECT_EQ(kStore.GetFloatValue("S", "empty"), 0.0f);
    EXPECT_EQ(kStore.GetIntValue("S", "blanks"), 42);
    EXPECT_EQ(kStore.GetIntValue("S", "huge"), INT32_MAX);
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", "text ")), "value");
    EXPECT_FALSE(kStore.HasValue("S", "text"));
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", "dash")), "a-b|c");
}

TEST_P(SKConfigMappingLoadTest, WideValuesAreRawUnitsUpToAZeroUnit)
{
    SKConfigMapping& kStore = Load("[W]\n"
                                   "ab-A\0B\0\n"
                                   "empty-\0\0\n"
                                   "cut-A\0\0\0B\0\n"
                                   "accent-\xe9\0\x2d\x4e\n"
                                   "\n"s);
    EXPECT_EQ(UnitsOf(kStore.GetSKStringValue("W", "ab")), u"AB");
    EXPECT_EQ(UnitsOf(kStore.GetSKStringValue("W", "empty")), u"");
    EXPECT_EQ(UnitsOf(kStore.GetSKStringValue("W", "cut")), u"A");
    EXPECT_EQ(UnitsOf(kStore.GetSKStringValue("W", "accent")), u"\u00e9\u4e2d");
}

TEST_P(SKConfigMappingLoadTest, SectionsFollowTheFormatsOddRules)
{
    SKConfigMapping& kStore = Load("before=1\n" // outside any section: skipped
                                   "[First]\n"
                                   "a=1\n"
                                   "no separator\n" // skipped
                                   "note=see [1]\n" // a "[" starts a section
                                   "b=2\n"
                                   "[Broken\n" // no "]": skipped, and so is what follows
                                   "c=3\n"
                                   "[Second]\n"
                                   "d=4\n"
                                   "last=5"); // no line end: not read
    EXPECT_FALSE(kStore.HasValue("", "before"));
    EXPECT_EQ(TextOf(kStore.GetStringValue("First", "a")), "1");
    EXPECT_FALSE(kStore.HasValue("First", "note"));
    EXPECT_EQ(TextOf(kStore.GetStringValue("ote=see [1", "b")), "2");
    EXPECT_FALSE(kStore.HasValue("ote=see [1", "c"));
    EXPECT_FALSE(kStore.HasValue("Broken", "c"));
    EXPECT_EQ(TextOf(kStore.GetStringValue("Second", "d")), "4");
    EXPECT_FALSE(kStore.HasValue("Second", "last"));
}

TEST_P(SKConfigMappingLoadTest, LongLinesStayWhole)
{
    std::string kKey(300, 'k');
    std::string kValue(5000, 'v');
    SKConfigMapping& kStore = Load("[S]\n" + kKey + "=" + kValue + "\n" + "after|7\n\n");
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", kKey.c_str())), kValue);
    EXPECT_EQ(kStore.GetIntValue("S", "after"), 7);
}

TEST_P(SKConfigMappingLoadTest, LoadAddsToWhatTheStoreHolds)
{
    m_kStore.SetIntValue("S", "kept", 1);
    m_kStore.SetIntValue("S", "replaced", 1);
    SKConfigMapping& kStore = Load("[S]\nreplaced=two\n\n");
    EXPECT_EQ(kStore.GetIntValue("S", "kept"), 1);
    EXPECT_EQ(TextOf(kStore.GetStringValue("S", "replaced")), "two");
}

INSTANTIATE_TEST_SUITE_P(LineEnds, SKConfigMappingLoadTest, testing::Values("\n", "\r\n"),
                         [](const testing::TestParamInfo<const char*>& info)
                         { return info.param == "\n"s ? "LF"s : "CRLF"s; });

TEST(SKConfigMappingTest, LoadOfAMissingFileOrAFolderFailsAndChangesNothing)
{
    TempFolder kFolder;
    SKConfigMapping kStore;
    kStore.SetIntValue("S", "k", 1);
    EXPECT_FALSE(kStore.LoadConfigFile(kFolder.Path("missing.cfg").c_str()));
    EXPECT_FALSE(kStore.LoadConfigFile(kFolder.Path().c_str()));
    EXPECT_EQ(kStore.GetIntValue("S", "k"), 1);
}

// Every value type, in several sections, saves and loads back equal, long values included.
TEST(SKConfigMappingTest, EveryValueTypeSurvivesSaveAndLoad)
{
    TempFolder kFolder;
    SKConfigMapping kStore;
    kStore.SetFloatValue("Video", "Gamma", 1.25f);
    kStore.SetFloatValue("Video", "Negative", -1024.5f);
    kStore.SetIntValue("Video", "Width", 800);
    kStore.SetIntValue("Video", "Depth", -32);
    kStore.SetStringValue("Audio", "Device", "default output");
    kStore.SetStringValue("Audio", "Empty", "");
    kStore.SetStringValue("Audio", "Long", std::string(3000, 'x').c_str());
    kStore.SetSKStringValue("Text", "Title", Wide(u"Caf\u00e9 \u4e2d"));
    kStore.SetSKStringValue("Text", "Blank", SKString());
    kStore.SetSKStringValue("Text", "Long", Wide(std::u16string(2000, u'\u00e9')));

    std::string kPath = kFolder.Path("settings.cfg");
    ASSERT_TRUE(kStore.SaveConfigFile(kPath.c_str()));
    SKConfigMapping kLoaded;
    ASSERT_TRUE(kLoaded.LoadConfigFile(kPath.c_str()));

    EXPECT_EQ(kLoaded.GetFloatValue("Video", "Gamma"), 1.25f);
    EXPECT_EQ(kLoaded.GetFloatValue("Video", "Negative"), -1024.5f);
    EXPECT_EQ(kLoaded.GetIntValue("Video", "Width"), 800);
    EXPECT_EQ(kLoaded.GetIntValue("Video", "Depth"), -32);
    EXPECT_EQ(TextOf(kLoaded.GetStringValue("Audio", "Device")), "default output");
    EXPECT_EQ(TextOf(kLoaded.GetStringValue("Audio", "Empty")), "");
    EXPECT_EQ(TextOf(kLoaded.GetStringValue("Audio", "Long")), std::string(3000, 'x'));
    EXPECT_EQ(UnitsOf(kLoaded.GetSKStringValue("Text", "Title")), u"Caf\u00e9 \u4e2d");
    EXPECT_EQ(UnitsOf(kLoaded.GetSKStringValue("Text", "Blank")), u"");
    EXPECT_EQ(UnitsOf(kLoaded.GetSKStringValue("Text", "Long")), std::u16string(2000, u'\u00e9'));
}

} // namespace
