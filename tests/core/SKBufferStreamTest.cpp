#include "core/SKBufferStream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
using Status = SKStreamException;
using Bytes = std::vector<uint8_t>;

// A memory stream over a caller's buffer of the given size, zero-filled.
struct Fixture
{
    explicit Fixture(size_t uiSize) : kMemory(uiSize, 0)
    {
        kStream.AttachBuffer(kMemory.data(), int32_t(uiSize));
    }
    Bytes Prefix(size_t uiCount) const { return Bytes(kMemory.begin(), kMemory.begin() + long(uiCount)); }

    Bytes kMemory;
    SKBufferStream kStream;
};

TEST(SKBufferStream, PacksUpToFiveBooleansIntoOneByte)
{
    Fixture kThree(8);
    kThree.kStream.WriteBool(true);
    kThree.kStream.WriteBool(false);
    kThree.kStream.WriteBool(true);
    EXPECT_EQ(kThree.Prefix(1), Bytes{0x65});
    EXPECT_EQ(kThree.kStream.GetPos(), 1);
    kThree.kStream.Close();
    kThree.kStream.AttachBuffer(kThree.kMemory.data(), 8);
    EXPECT_TRUE(kThree.kStream.ReadBool());
    EXPECT_FALSE(kThree.kStream.ReadBool());
    EXPECT_TRUE(kThree.kStream.ReadBool());
    EXPECT_EQ(kThree.kStream.GetPos(), 1);

    // A boolean after other values goes back into the open boolean byte.
    Fixture kMixed(8);
    kMixed.kStream.WriteBool(true);
    kMixed.kStream.WriteInt(7);
    kMixed.kStream.WriteBool(true);
    EXPECT_EQ(kMixed.Prefix(5), (Bytes{0x43, 7, 0, 0, 0}));
    EXPECT_EQ(kMixed.kStream.GetPos(), 5);

    Fixture kSix(8);
    for (int i = 0; i < 6; i++)
        kSix.kStream.WriteBool(true);
    EXPECT_EQ(kSix.Prefix(2), (Bytes{0xBF, 0x21}));
    kSix.kStream.Close();
    kSix.kStream.AttachBuffer(kSix.kMemory.data(), 8);
    for (int i = 0; i < 6; i++)
        EXPECT_TRUE(kSix.kStream.ReadBool()) << i;
    EXPECT_EQ(kSix.kStream.GetPos(), 2);
    EXPECT_EQ(kSix.kStream.GetStatus(), Status::STATUS_OK);
}

TEST(SKBufferStream, ValuesThatDoNotFitSetTheStatusWithoutThrowing)
{
    Fixture kLine(3);
    kLine.kStream.WriteCLine("ab");
    EXPECT_EQ(kLine.Prefix(3), (Bytes{'a', 'b', '\n'}));

    Fixture kShortLine(2);
    EXPECT_NO_THROW(kShortLine.kStream.WriteCLine("ab"));
    EXPECT_EQ(kShortLine.kStream.GetStatus(), Status::STATUS_WRITE_ERROR);
    EXPECT_EQ(kShortLine.kStream.GetPos(), 2);

    Fixture kInt(6);
    kInt.kStream.Seek(4, 0);
    EXPECT_EQ(kInt.kStream.ReadInt(), 0);
    EXPECT_EQ(kInt.kStream.GetStatus(), Status::STATUS_READ_ERROR);
    EXPECT_EQ(kInt.kStream.GetPos(), 8);
    EXPECT_TRUE(kInt.kStream.Eof());

    Fixture kWrite(6);
    kWrite.kStream.Seek(2, 0);
    const char acTen[] = "0123456789";
    kWrite.kStream.Write(acTen, 10);
    EXPECT_EQ(kWrite.kStream.GetStatus(), Status::STATUS_WRITE_ERROR);
    EXPECT_EQ(kWrite.kMemory, (Bytes{0, 0, '0', '1', '2', '3'}));

    Fixture kChar(1);
    kChar.kStream.WriteChar('x');
    kChar.kStream.WriteChar('y');
    EXPECT_EQ(kChar.kStream.GetStatus(), Status::STATUS_WRITE_ERROR);
    EXPECT_EQ(kChar.kStream.GetPos(), 1);
    EXPECT_EQ(kChar.kMemory, Bytes{'x'});

    Fixture kString(8);
    kString.kStream.WriteLong(1000);
    kString.kStream.Seek(0, 0);
    EXPECT_EQ(kString.kStream.ReadNewCString(-1), nullptr);
    EXPECT_EQ(kString.kStream.GetStatus(), Status::STATUS_READ_ERROR);
}

TEST(SKBufferStream, APositionPastTheEndNeverReachesMemoryOutsideTheBuffer)
{
    // The failed read carries the position past the end; later reads and writes must copy nothing.
    Fixture kFixture(6);
    kFixture.kStream.Seek(4, 0);
    kFixture.kStream.ReadDouble();
    ASSERT_GT(kFixture.kStream.GetPos(), 6);
    char acBytes[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(kFixture.kStream.Read(acBytes, 4), 0);
    EXPECT_EQ(acBytes[0], '#');
    kFixture.kStream.Write(acBytes, 4);
    kFixture.kStream.WriteInt(1);
    kFixture.kStream.WriteCLine("x");
    kFixture.kStream.WriteBool(true);
    EXPECT_EQ(kFixture.kMemory, Bytes(6, 0));
}

TEST(SKBufferStream, SeekRules)
{
    struct Case
    {
        int32_t iStart, iOffset, iOrigin, iPosition, iStatus;
    };
    const Case akCases[] = {
        {0, 3, 2, 7, Status::STATUS_OK},
        {0, 10, 0, 0, Status::STATUS_POSITION_ERROR},
        {5, 10, 2, 0, Status::STATUS_POSITION_ERROR},
        {5, 5, 1, 10, Status::STATUS_OK},
        {5, 6, 1, 5, Status::STATUS_POSITION_ERROR},
        {5, -2, 1, 3, Status::STATUS_OK},
        {5, -6, 1, 5, Status::STATUS_POSITION_ERROR},
        {5, -1, 0, 5, Status::STATUS_POSITION_ERROR},
        {5, -1, 2, 0, Status::STATUS_POSITION_ERROR},
    };
    for (const Case& kCase : akCases)
    {
        Fixture kFixture(10);
        kFixture.kStream.Seek(kCase.iStart, 0);
        kFixture.kStream.Seek(kCase.iOffset, kCase.iOrigin);
        EXPECT_EQ(kFixture.kStream.GetPos(), kCase.iPosition) << kCase.iOffset << " from " << kCase.iOrigin;
        EXPECT_EQ(kFixture.kStream.GetStatus(), kCase.iStatus) << kCase.iOffset << " from " << kCase.iOrigin;
    }
}

TEST(SKBufferStream, BuffersAttachOnceAndOnlyOwnBlocksAreFreed)
{
    SKBufferStream kStream;
    EXPECT_EQ(kStream.GetLength(), -1);
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_NOT_ATTACHED);
    kStream.Open("anything", "rb");
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_NOT_ATTACHED);

    for (int32_t iSize : {0, -5})
    {
        kStream.ClearStatus();
        kStream.OpenBuffer(iSize);
        EXPECT_EQ(kStream.GetStatus(), Status::STATUS_NOT_ATTACHED) << iSize;
        EXPECT_EQ(kStream.GetBuffer(), nullptr) << iSize;
    }

    kStream.OpenBuffer(16);
    ASSERT_NE(kStream.GetBuffer(), nullptr);
    EXPECT_EQ(kStream.GetLength(), 16);
    std::array<uint8_t, 4> aucMine{};
    kStream.AttachBuffer(aucMine.data(), 4);
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_ALREADY_OPEN);
    kStream.CloseBuffer();
    EXPECT_EQ(kStream.GetBuffer(), nullptr);

    // A caller's buffer is only forgotten: freeing it here would be caught by the address sanitizer.
    kStream.AttachBuffer(aucMine.data(), 4);
    kStream.WriteInt(0x01020304);
    kStream.CloseBuffer();
    EXPECT_EQ(aucMine, (std::array<uint8_t, 4>{4, 3, 2, 1}));
    kStream.Close();
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_NOT_ATTACHED);
}

TEST(SKBufferStream, LineReadsEndAtTheTerminatorTheSizeOrTheData)
{
    Fixture kFixture(8);
    const char acText[] = "ab;cdefg";
    kFixture.kStream.Write(acText, 8);
    kFixture.kStream.Seek(0, 0);
    char acLine[8];
    kFixture.kStream.ReadCLine(acLine, sizeof acLine, ';');
    EXPECT_STREQ(acLine, "ab;");
    kFixture.kStream.ReadCLine(acLine, 3, ';');
    EXPECT_STREQ(acLine, "cd");
    kFixture.kStream.ReadCLine(acLine, sizeof acLine, ';');
    EXPECT_STREQ(acLine, "efg");
    kFixture.kStream.ReadCLine(acLine, 1, ';');
    EXPECT_STREQ(acLine, "");
    char cGuard = '#';
    kFixture.kStream.ReadCLine(&cGuard, 0, ';');
    EXPECT_EQ(cGuard, '#');
    EXPECT_EQ(kFixture.kStream.GetStatus(), Status::STATUS_OK);
}

TEST(SKBufferStream, WideLinesCarryTheirZeroUnit)
{
    Fixture kFixture(12);
    kFixture.kStream.WriteCWLine(u"ab");
    kFixture.kStream.WriteCWLine(u"c;d");
    // The second line's zero unit does not fit.
    EXPECT_EQ(kFixture.kStream.GetStatus(), Status::STATUS_WRITE_ERROR);
    EXPECT_EQ(kFixture.kMemory, (Bytes{'a', 0, 'b', 0, 0, 0, 'c', 0, ';', 0, 'd', 0}));
    kFixture.kStream.Seek(0, 0);
    char16_t ausLine[8];
    kFixture.kStream.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"ab");
    kFixture.kStream.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"c;");
    kFixture.kStream.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"d"); // the end of the data ends the line
}
} // namespace
