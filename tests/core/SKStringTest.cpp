#include "core/SKString.h"
#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
using Status = SKStreamException;

TEST(SKString, BytesWidenWithoutSignExceptForASingleInsertedByte)
{
    SKString kText("\x41\xE9");
    EXPECT_EQ(kText.GetUnits(), u"\x0041\x00E9");
    kText.Insert(0, static_cast<char>(0xE9));
    EXPECT_EQ(kText.GetAt(0), 0xFFE9);
    EXPECT_EQ(kText.GetAt(3), 0); // at the length
    EXPECT_EQ(kText.GetAt(-1), 0);

    SKString kWide;
    kWide = u"A\x20AC";
    EXPECT_STREQ(kWide.GetCString().get(), "A\x01");
    kWide = static_cast<const char*>(nullptr);
    kWide = static_cast<const char16_t*>(nullptr);
    EXPECT_EQ(kWide.GetUnits(), u"A\x20AC");
}

TEST(SKString, FindFoldsOnlyAsciiLettersWhenCaseBlind)
{
    struct Case
    {
        const char* pcText;
        const char* pcWanted;
        int32_t iStart;
        bool bCaseSensitive;
        int32_t iFound;
    };
    const Case akCases[] = {
        {"my phaser", "PHASER", 0, false, 3},  {"my phaser", "PHASER", 0, true, -1},
        {"my phaser", "phaser", -1, true, -1}, {"my phaser", "", 4, true, 4},
        {"my phaser", "a", 6, true, -1},       {"abc", "c", 9, true, -1},
        {"\xC9t\xE9", "\xE9", 0, false, 2}, // no folding beyond ASCII
    };
    for (const Case& kCase : akCases)
    {
        EXPECT_EQ(SKString(kCase.pcText).FindC(kCase.pcWanted, kCase.iStart, kCase.bCaseSensitive),
                  kCase.iFound)
            << kCase.pcText << " / " << kCase.pcWanted;
    }

    // The script writer's blank stripping.
    SKString kName("Phaser 1");
    EXPECT_EQ(kName.FindC(" ", 0, false), 6);
    for (int32_t i = kName.FindC(" ", 0, false); i >= 0; i = kName.FindC(" ", 0, false))
        kName.Erase(i, 1);
    EXPECT_EQ(kName.GetUnits(), u"Phaser1");
}

TEST(SKString, CompareOrdersUnitsAsUnsignedNumbers)
{
    EXPECT_EQ(SKString("Phaser").CompareC("phaser", true), 0);
    EXPECT_NE(SKString("Phaser").CompareC("phaser", false), 0);
    EXPECT_LT(SKString("ab").CompareC("abc", false), 0);
    EXPECT_GT(SKString("\xE9").CompareC("z", false), 0);
    SKString kHigh;
    kHigh = u"\xFFFF";
    EXPECT_GT(kHigh.CompareC("a", true), 0);
    EXPECT_LT(SKString("[").CompareC("a", true), 0); // 'a' folds to 'a', not to 'A'
}

TEST(SKString, ChangesInPlaceAndAppendsIntoANewString)
{
    SKString kText("Hull");
    SKString kJoined = kText.Append(SKString(" 2"));
    EXPECT_EQ(kText.GetUnits(), u"Hull");
    EXPECT_EQ(kJoined.GetUnits(), u"Hull 2");
    kText += "\xE9";
    kText += u"!";
    kText.Insert(0, "A ");
    kText.Insert(kText.GetLength(), u'.');
    EXPECT_EQ(kText.GetUnits(), u"A Hull\x00E9!.");
    kText.ToUpper();
    EXPECT_EQ(kText.GetUnits(), u"A HULL\x00E9!.");
    kText.Erase(2, 100);
    EXPECT_EQ(kText.GetUnits(), u"A ");
    EXPECT_THROW(kText.Insert(3, "x"), std::out_of_range);
    EXPECT_THROW(kText.Erase(3, 1), std::out_of_range);

    std::ostringstream kOut;
    kOut << SKString("abc");
    EXPECT_EQ(kOut.str(), "abc");
}

TEST(SKString, StreamFormIsAnIntLengthAndUnits)
{
    std::vector<uint8_t> kMemory(32, 0xEE);
    SKBufferStream kStream;
    kStream.AttachBuffer(kMemory.data(), int32_t(kMemory.size()));
    SKString kSaved;
    kSaved = u"ab\x20AC";
    EXPECT_TRUE(kSaved.SaveToStream(kStream));
    EXPECT_EQ(std::vector<uint8_t>(kMemory.begin(), kMemory.begin() + 10),
              (std::vector<uint8_t>{3, 0, 0, 0, 'a', 0, 'b', 0, 0xAC, 0x20}));

    kStream.Seek(0, 0);
    SKString kLoaded("0123456789");
    EXPECT_TRUE(kLoaded.LoadFromStream(kStream));
    EXPECT_EQ(kLoaded, kSaved);
    EXPECT_EQ(kStream.GetPos(), 10);
}

TEST(SKString, LoadRejectsLengthsTheStreamCannotHold)
{
    const int32_t aiLengths[] = {-1, 0x7FFFFFFF, 7};
    for (int32_t iLength : aiLengths)
    {
        std::vector<uint8_t> kMemory(16, 0);
        SKBufferStream kStream;
        kStream.AttachBuffer(kMemory.data(), int32_t(kMemory.size()));
        kStream.WriteInt(iLength);
        kStream.Seek(0, 0);
        SKString kText("kept");
        EXPECT_FALSE(kText.LoadFromStream(kStream)) << iLength;
        EXPECT_EQ(kText.GetUnits(), u"kept") << iLength;
        EXPECT_EQ(kStream.GetStatus(), Status::STATUS_READ_ERROR) << iLength;
    }

    // The file stream reports the same as its thrown read error.
    TempFolder kFolder;
    std::string kPath = kFolder.WriteFile("huge.bin", std::string("\xFF\xFF\xFF\x7F"
                                                                  "ab",
                                                                  6));
    SKStream kFile;
    kFile.Open(kPath.c_str(), "rb");
    SKString kText("kept");
    EXPECT_THROW(kText.LoadFromStream(kFile), SKStreamException*);
    EXPECT_EQ(kFile.GetStatus(), Status::STATUS_READ_ERROR);
    EXPECT_EQ(kText.GetUnits(), u"kept");
}
} // namespace
