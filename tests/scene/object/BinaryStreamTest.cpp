#include "scene/object/BinaryStream.h"
#include "scene/object/MemoryBufferStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
struct GetLineCase
{
    const char* pcInput;
    uint32_t uiSize;
    std::vector<std::string> kLines; // successive results
    std::vector<uint32_t> kConsumed; // successive byte counts
};

TEST(BinaryStreamTest, GetLineStopsAtNewlineEndOrBufferSize)
{
    const GetLineCase akCases[] = {
        {"abc\n", 128, {"abc", ""}, {4, 0}},
        {"abc", 128, {"abc", ""}, {3, 0}},
        {"", 128, {""}, {0}},
        {"abcdef\n", 4, {"abc", "def", "", ""}, {3, 3, 1, 0}},
        {"a\n\nb", 128, {"a", "", "b"}, {2, 1, 1}},
        {"abc\n", 1, {""}, {0}},
    };
    for (const GetLineCase& kCase : akCases)
    {
        SCOPED_TRACE(std::string("input \"") + kCase.pcInput + "\" size " + std::to_string(kCase.uiSize));
        MemoryBufferStream kStream(kCase.pcInput, static_cast<uint32_t>(std::strlen(kCase.pcInput)));
        for (size_t i = 0; i < kCase.kLines.size(); ++i)
        {
            std::vector<char> kBuffer(kCase.uiSize, 'X');
            EXPECT_EQ(kStream.GetLine(kBuffer.data(), kCase.uiSize), kCase.kConsumed[i]);
            EXPECT_EQ(std::string(kBuffer.data()), kCase.kLines[i]);
        }
    }
}

TEST(BinaryStreamTest, GetLineWithNoRoomTouchesNothing)
{
    MemoryBufferStream kStream("abc", 3);
    char cSentinel = 'X';
    EXPECT_EQ(kStream.GetLine(&cSentinel, 0), 0u);
    EXPECT_EQ(cSentinel, 'X');
    char acBuffer[8];
    EXPECT_EQ(kStream.GetLine(acBuffer, sizeof(acBuffer)), 3u);
}

TEST(BinaryStreamTest, PutStringWritesCharactersWithoutNewline)
{
    MemoryBufferStream kStream;
    EXPECT_EQ(kStream.PutString("Top Level Object"), 16u);
    EXPECT_EQ(kStream.PutString(""), 0u);
    EXPECT_EQ(std::string(kStream.GetBuffer(), kStream.GetSize()), "Top Level Object");
}

TEST(BinaryStreamTest, PutStringStopsAtFirstFailedWrite)
{
    MemoryBufferStream kReadOnly("xyz", 3);
    EXPECT_EQ(kReadOnly.PutString("abc"), 0u);
}

TEST(BinaryStreamTest, ReadDwordsReadsRawFourByteValues)
{
    const uint32_t auiValues[3] = {1, 0xDEADBEEF, 7};
    MemoryBufferStream kStream(auiValues, sizeof(auiValues) - 2); // the last value is cut short
    uint32_t auiRead[3] = {};
    EXPECT_EQ(BinaryStream::ReadDwords(kStream, auiRead, 3), 10u);
    EXPECT_EQ(auiRead[0], 1u);
    EXPECT_EQ(auiRead[1], 0xDEADBEEFu);
}

TEST(BinaryStreamTest, ReadDwordsRefusesACountBeyondThirtyTwoBitsOfBytes)
{
    const char acBytes[8] = {};
    MemoryBufferStream kStream(acBytes, sizeof(acBytes));
    uint32_t auiRead[2] = {5, 5};
    EXPECT_EQ(BinaryStream::ReadDwords(kStream, auiRead, 0x40000000u), 0u);
    EXPECT_EQ(auiRead[0], 5u);
    EXPECT_EQ(BinaryStream::Read(kStream, auiRead, 8), 8u);
}
} // namespace
