#include "core/SKStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;
using Status = SKStreamException;

class SKStreamTest : public testing::Test
{
protected:
    std::string PathOf(const char* pcName) const { return m_kFolder.Path(pcName); }

    std::string WriteFile(const Bytes& kBytes)
    {
        return m_kFolder.WriteFile("input.bin", std::string(kBytes.begin(), kBytes.end()));
    }

    static Bytes ReadFile(const std::string& kPath)
    {
        std::string kBytes = TempFolder::ReadFile(kPath);
        return Bytes(kBytes.begin(), kBytes.end());
    }

    // Opens a stream for reading over the given bytes.
    void OpenOver(SKStream& kStream, const Bytes& kBytes)
    {
        kStream.Open(WriteFile(kBytes).c_str(), "rb");
        ASSERT_EQ(kStream.GetStatus(), Status::STATUS_OK);
    }

    // Writes through a fresh stream and returns the bytes of the file.
    Bytes Written(const std::function<void(SKStream&)>& kWrite)
    {
        std::string kPath = PathOf("output.bin");
        {
            SKStream kStream;
            kStream.Open(kPath.c_str(), "wb");
            kWrite(kStream);
        }
        return ReadFile(kPath);
    }

    // Runs the call and returns the code of the status object it threw, or 0 when nothing was thrown.
    static int32_t ThrownCode(SKStream& kStream, const std::function<void()>& kCall)
    {
        try
        {
            kCall();
        }
        catch (SKStreamException* pkError)
        {
            EXPECT_EQ(pkError->GetCode(), kStream.GetStatus());
            return pkError->GetCode();
        }
        return 0;
    }

    TempFolder m_kFolder;
};

TEST_F(SKStreamTest, WritesEachFormByteForByte)
{
    struct Case
    {
        const char* pcName;
        std::function<void(SKStream&)> kWrite;
        Bytes kExpected;
    };
    const Case akCases[] = {
        {"CString", [](SKStream& s) { s.WriteCString("abc"); }, {3, 0, 0, 0, 'a', 'b', 'c'}},
        {"NewCString", [](SKStream& s) { s.WriteNewCString("abc"); }, {4, 0, 0, 0, 'a', 'b', 'c', 0}},
        {"null NewCString", [](SKStream& s) { s.WriteNewCString(nullptr); }, {0, 0, 0, 0}},
        {"CLine", [](SKStream& s) { s.WriteCLine("a\nb"); }, {'a', '\n', 'b'}},
        {"CWLine", [](SKStream& s) { s.WriteCWLine(u"ab"); }, {'a', 0, 'b', 0}},
        {"Bool", [](SKStream& s) { s.WriteBool(true), s.WriteBool(false); }, {1, 0}},
        {"Short and WChar",
         [](SKStream& s) { s.WriteShort(0x1234), s.WriteWChar(u'\x20AC'); },
         {0x34, 0x12, 0xAC, 0x20}},
        {"Int, Long, ID and ref",
         [](SKStream& s) { s.WriteInt(-2), s.WriteLong(1), s.WriteID(7), s.WriteObjectRef(9); },
         {0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0}},
        {"Float and Double",
         [](SKStream& s) { s.WriteFloat(5.0f), s.WriteDouble(1.0); },
         {0, 0, 0xA0, 0x40, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"Vector", [](SKStream& s) { s.WriteVector(3, 0, 4, false); }, {0x4C, 0, 0x65, 0, 0, 0xA0, 0x40}},
        {"packed Vector", [](SKStream& s) { s.WriteVector(3, 0, 4, true); }, {0x4C, 0, 0x65, 0x1B, 0x47}},
        {"UnitVector", [](SKStream& s) { s.WriteUnitVector(0, -1, 0); }, {0, 0x81, 0}},
        {"ScaledVector", [](SKStream& s) { s.WriteScaledVector(0, 0, 2, 4); }, {0, 0, 0x7F, 0x7F}},
    };
    for (const Case& kCase : akCases)
        EXPECT_EQ(Written(kCase.kWrite), kCase.kExpected) << kCase.pcName;
}

TEST_F(SKStreamTest, ReadsBackEveryTypedValue)
{
    std::string kPath = PathOf("values.bin");
    {
        SKStream kOut;
        kOut.Open(kPath.c_str(), "wb");
        kOut.WriteBool(true);
        kOut.WriteChar(0xE9);
        kOut.WriteShort(-3);
        kOut.WriteInt(-100000);
        kOut.WriteLong(2147483647);
        kOut.WriteFloat(1.5f);
        kOut.WriteDouble(-2.25);
        kOut.WriteID(42);
        kOut.WriteWChar(u'\xFFFE');
        kOut.WriteObjectRef(-1);
        kOut.WriteCString("name");
        kOut.WriteNewCString("text");
    }
    SKStream kIn;
    kIn.Open(kPath.c_str(), "rb");
    EXPECT_TRUE(kIn.ReadBool());
    EXPECT_EQ(kIn.ReadChar(), 0xE9);
    EXPECT_EQ(kIn.ReadShort(), -3);
    EXPECT_EQ(kIn.ReadInt(), -100000);
    EXPECT_EQ(kIn.ReadLong(), 2147483647);
    EXPECT_EQ(kIn.ReadFloat(), 1.5f);
    EXPECT_EQ(kIn.ReadDouble(), -2.25);
    EXPECT_EQ(kIn.ReadID(), 42);
    EXPECT_EQ(kIn.ReadWChar(), u'\xFFFE');
    EXPECT_EQ(kIn.ReadObjectRef(), -1);
    char acName[16];
    kIn.ReadCString(acName, sizeof acName);
    EXPECT_STREQ(acName, "name");
    EXPECT_STREQ(kIn.ReadNewCString(-1).get(), "text");
    EXPECT_EQ(kIn.GetPos(), kIn.GetLength());
    EXPECT_FALSE(kIn.Eof());
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
}

TEST_F(SKStreamTest, ReadCStringCutsALongTextToTheBufferAndLeavesTheRest)
{
    SKStream kIn;
    OpenOver(kIn, {5, 0, 0, 0, 'a', 'b', 'c', 'd', 'e'});
    char acText[3];
    kIn.ReadCString(acText, sizeof acText);
    EXPECT_STREQ(acText, "ab");
    EXPECT_EQ(kIn.ReadChar(), 'c');
    EXPECT_EQ(kIn.ReadChar(), 'd');
}

TEST_F(SKStreamTest, ReadNewCStringHonoursTheMaximumAndAlwaysTerminates)
{
    SKStream kIn;
    // Length 6 over a maximum of 4: null, only the length read. Then a record whose bytes lack their zero
    // byte still comes back terminated.
    OpenOver(kIn, {6, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 0, 3, 0, 0, 0, 'x', 'y', 'z'});
    EXPECT_EQ(kIn.ReadNewCString(4), nullptr);
    EXPECT_EQ(kIn.GetPos(), 4);
    kIn.Seek(10, 0);
    std::unique_ptr<char[]> pcText = kIn.ReadNewCString(-1);
    ASSERT_NE(pcText, nullptr);
    EXPECT_STREQ(pcText.get(), "xyz");
}

TEST_F(SKStreamTest, LengthsBeyondTheFileFailWithAReadError)
{
    struct Case
    {
        const char* pcName;
        Bytes kBytes;
        std::function<void(SKStream&)> kRead;
    };
    const Case akCases[] = {
        {"NewCString longer than the file",
         {0xFF, 0xFF, 0xFF, 0x7F, 'a'},
         [](SKStream& s) { s.ReadNewCString(-1); }},
        {"CString longer than the file",
         {9, 0, 0, 0, 'a'},
         [](SKStream& s)
         {
             char acText[32];
             s.ReadCString(acText, sizeof acText);
         }},
        {"Int cut short", {1, 2}, [](SKStream& s) { s.ReadInt(); }},
        {"Double cut short", {1, 2, 3, 4}, [](SKStream& s) { s.ReadDouble(); }},
        {"Vector cut short", {1, 2, 3, 0, 0}, [](SKStream& s) { s.ReadVectorToLast(); }},
        {"Read of more than the file",
         {1, 2, 3},
         [](SKStream& s)
         {
             char acBytes[8];
             s.Read(acBytes, 8);
         }},
    };
    for (const Case& kCase : akCases)
    {
        SKStream kIn;
        OpenOver(kIn, kCase.kBytes);
        EXPECT_EQ(ThrownCode(kIn, [&] { kCase.kRead(kIn); }), Status::STATUS_READ_ERROR) << kCase.pcName;
    }
}

TEST_F(SKStreamTest, ReadCLineStopsAfterItsTerminatorOrAtTheEnd)
{
    SKStream kIn;
    OpenOver(kIn, {'a', 'b', ';', 'c'});
    char acLine[16];
    kIn.ReadCLine(acLine, sizeof acLine, ';');
    EXPECT_STREQ(acLine, "ab;");
    kIn.ReadCLine(acLine, sizeof acLine, ';');
    EXPECT_STREQ(acLine, "c");
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
}

TEST_F(SKStreamTest, ReadCLineByLineFeedEndsWithAQuietReadError)
{
    SKStream kIn;
    OpenOver(kIn, {'o', 'n', 'e', '\n', 't', 'w', 'o'});
    char acLine[16];
    kIn.ReadCLine(acLine, sizeof acLine, '\n');
    EXPECT_STREQ(acLine, "one\n");
    kIn.ReadCLine(acLine, sizeof acLine, '\n');
    EXPECT_STREQ(acLine, "two");
    EXPECT_EQ(ThrownCode(kIn, [&] { kIn.ReadCLine(acLine, sizeof acLine, '\n'); }), 0);
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_READ_ERROR);
    EXPECT_STREQ(acLine, "two");
}

TEST_F(SKStreamTest, ReadCWLineStopsAtTheTerminatorOrTheZeroUnit)
{
    SKStream kIn;
    OpenOver(kIn, {'a', 0, ';', 0, 'b', 0, 0, 0, 'c', 0});
    char16_t ausLine[8];
    kIn.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"a;");
    kIn.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"b");
    kIn.ReadCWLine(ausLine, 8, u';');
    EXPECT_EQ(std::u16string(ausLine), u"c");
}

TEST_F(SKStreamTest, LineAndStringReadsIntoAnEmptyBufferStoreNothing)
{
    SKStream kIn;
    OpenOver(kIn, {3, 0, 0, 0, 'a', 'b', 'c', 'x', ';', 'y', 0});
    char acGuard[2] = {'#', '#'};
    kIn.ReadCString(acGuard, 0);
    kIn.ReadCLine(acGuard, 0, ';');
    kIn.ReadCLine(acGuard, -1, '\n');
    char16_t ausGuard[1] = {u'#'};
    kIn.ReadCWLine(ausGuard, 0, u';');
    EXPECT_EQ(acGuard[0], '#');
    EXPECT_EQ(ausGuard[0], u'#');
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
}

TEST_F(SKStreamTest, ReadBoolIsTrueForAnyNonZeroByteAndFalseAtTheEnd)
{
    SKStream kIn;
    OpenOver(kIn, {0x02, 0x00});
    EXPECT_TRUE(kIn.ReadBool());
    EXPECT_FALSE(kIn.ReadBool());
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
    // At the end of the file: false, so that "while ReadBool" loops end on a truncated file.
    EXPECT_EQ(ThrownCode(kIn, [&] { EXPECT_FALSE(kIn.ReadBool()); }), 0);
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_READ_ERROR);
    EXPECT_TRUE(kIn.Eof());
    EXPECT_EQ(kIn.ReadChar(), -1);
}

TEST_F(SKStreamTest, OpenFailuresOnlySetTheStatus)
{
    SKStream kStream;
    kStream.Open(PathOf("missing.bin").c_str(), "rb");
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_OPEN_FAILED);
    kStream.Open(m_kFolder.Path().c_str(), "rb");
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_OPEN_FAILED);
    EXPECT_EQ(kStream.GetLength(), -1);
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_NOT_ATTACHED);
    // Reading or writing a stream that never opened is refused.
    EXPECT_EQ(ThrownCode(kStream, [&] { kStream.ReadInt(); }), Status::STATUS_NOT_ATTACHED);
    EXPECT_EQ(ThrownCode(kStream, [&] { kStream.WriteCLine("x"); }), Status::STATUS_NOT_ATTACHED);
    EXPECT_TRUE(kStream.Eof());
}

TEST_F(SKStreamTest, OpeningAnOpenStreamThrowsAndKeepsTheFirstFile)
{
    std::string kFirst = PathOf("first.txt");
    std::string kSecond = PathOf("second.txt");
    {
        SKStream kStream;
        kStream.Open(kFirst.c_str(), "wt");
        EXPECT_EQ(ThrownCode(kStream, [&] { kStream.Open(kSecond.c_str(), "wt"); }),
                  Status::STATUS_ALREADY_OPEN);
        kStream.ClearStatus();
        kStream.WriteCLine("kept\n");
    }
    EXPECT_EQ(ReadFile(kFirst), (Bytes{'k', 'e', 'p', 't', '\n'}));
    EXPECT_FALSE(std::filesystem::exists(kSecond));
}

TEST_F(SKStreamTest, FailedWritesAreWriteErrors)
{
    SKStream kStream;
    kStream.Open("/dev/full", "wb");
    ASSERT_EQ(kStream.GetStatus(), Status::STATUS_OK);
    std::vector<char> kBlock(1 << 16, 'x');
    EXPECT_EQ(ThrownCode(kStream, [&] { kStream.Write(kBlock.data(), static_cast<int32_t>(kBlock.size())); }),
              Status::STATUS_WRITE_ERROR);
    // A short text sits in the file buffer until Close, which must not report success.
    kStream.Close();
    kStream.Open("/dev/full", "wb");
    kStream.WriteCLine("line\n");
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_OK);
    kStream.Close();
    EXPECT_EQ(kStream.GetStatus(), Status::STATUS_WRITE_ERROR);
}

TEST_F(SKStreamTest, SeeksAndPositions)
{
    SKStream kIn;
    OpenOver(kIn, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(kIn.GetLength(), 10);
    kIn.Seek(-3, 2);
    EXPECT_EQ(kIn.GetPos(), 7);
    kIn.Seek(-2, 1);
    EXPECT_EQ(kIn.ReadChar(), 6);
    EXPECT_EQ(ThrownCode(kIn, [&] { kIn.Seek(-1, 0); }), Status::STATUS_POSITION_ERROR);
    EXPECT_EQ(ThrownCode(kIn, [&] { kIn.Seek(0, 3); }), Status::STATUS_POSITION_ERROR);
    kIn.ClearStatus();
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
    EXPECT_EQ(kIn.GetPos(), 6);
}

TEST(SKStreamPackedLength, EncodesAndDecodesByDecade)
{
    const struct
    {
        float fValue;
        uint16_t usCode;
    } akEncodings[] = {
        {1.0f, 0x3FFE},      {0.0f, 0x0000},     {10000.0f, 0x7FFE}, {20000.0f, 0x7FFF},
        {250000.0f, 0x7FFF}, {-1000.0f, 0xEFFE}, {5.0f, 0x471B},
    };
    for (const auto& kCase : akEncodings)
        EXPECT_EQ(SKStream::EncodePackedLength(kCase.fValue), kCase.usCode) << kCase.fValue;
    EXPECT_DOUBLE_EQ(SKStream::DecodePackedLength(0x4000), 1.0000000474974513);
    EXPECT_NEAR(SKStream::DecodePackedLength(0x0FFF), 0.001, 1e-9);
    EXPECT_NEAR(SKStream::DecodePackedLength(0xF000), -1000.0, 1e-4);
}

TEST(SKStreamCompression, TinyVectorsAndBadMaximaCompressToZero)
{
    int8_t cX = 1, cY = 1, cZ = 1;
    float fLength = 1.0f;
    SKStream::CompressVector(0, 0, 0.0000005f, cX, cY, cZ, fLength);
    EXPECT_EQ((std::vector<int>{cX, cY, cZ}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(fLength, 0.0f);

    uint8_t ucLength = 9;
    SKStream::CompressScaledVector(0, 3, 0, cX, cY, cZ, ucLength, 0.0f);
    EXPECT_EQ(ucLength, 0);
    SKStream::CompressScaledVector(0, 3, 0, cX, cY, cZ, ucLength, 2.0f);
    EXPECT_EQ(ucLength, 255); // cut to the maximum

    float fX, fY, fZ;
    SKStream::DecompressUnitVector(fX, fY, fZ, 0, 0, 0);
    EXPECT_EQ((std::vector<float>{fX, fY, fZ}), (std::vector<float>{0, 0, 0}));
}

TEST_F(SKStreamTest, CompressedVectorsComeBackCloseToWhatWasWritten)
{
    std::string kPath = PathOf("vectors.bin");
    {
        SKStream kOut;
        kOut.Open(kPath.c_str(), "wb");
        kOut.WriteVector(3, 0, 4, false);
        kOut.WriteVector(-30, 40, 0, true);
        kOut.WriteUnitVector(0.6f, 0.8f, 0);
        kOut.WriteScaledVector(0, -5, 0, 10);
    }
    SKStream kIn;
    kIn.Open(kPath.c_str(), "rb");
    float fX, fY, fZ;
    kIn.ReadVector(fX, fY, fZ, false);
    EXPECT_NEAR(fX, 3.0f, 0.05f);
    EXPECT_NEAR(fY, 0.0f, 0.05f);
    EXPECT_NEAR(fZ, 4.0f, 0.05f);
    kIn.ReadVector(fX, fY, fZ, true);
    EXPECT_NEAR(fX, -30.0f, 0.5f);
    EXPECT_NEAR(fY, 40.0f, 0.5f);
    kIn.ReadUnitVectorToLast();
    EXPECT_NEAR(kIn.GetLastX(), 0.6f, 0.01f);
    EXPECT_NEAR(kIn.GetLastY(), 0.8f, 0.01f);
    EXPECT_EQ(kIn.GetLastZ(), 0.0f);
    kIn.ReadScaledVectorToLast(10);
    EXPECT_NEAR(kIn.GetLastY(), -5.0f, 0.05f);
    EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK);
}
} // namespace
