#include "scene/object/MemoryBufferStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
TEST(MemoryBufferStreamTest, GrowableCapacityDoublesOrFitsTheWrite)
{
    struct
    {
        uint32_t uiFirst, uiSecond, uiCapacity;
    } const akCases[] = {{1000, 100, 2048}, {1000, 5000, 6000}, {1024, 0, 1024}, {1024, 1, 2048}};
    for (const auto& kCase : akCases)
    {
        MemoryBufferStream kStream;
        EXPECT_EQ(kStream.GetCapacity(), 1024u);
        const std::vector<char> kFirst(kCase.uiFirst, 'a');
        const std::vector<char> kSecond(kCase.uiSecond, 'b');
        EXPECT_EQ(kStream.Write(kFirst.data(), kCase.uiFirst), kCase.uiFirst);
        EXPECT_EQ(kStream.Write(kSecond.data(), kCase.uiSecond), kCase.uiSecond);
        EXPECT_EQ(kStream.GetCapacity(), kCase.uiCapacity);
        ASSERT_EQ(kStream.GetSize(), kCase.uiFirst + kCase.uiSecond);
        EXPECT_EQ(std::string(kStream.GetBuffer(), kStream.GetSize()),
                  std::string(kCase.uiFirst, 'a') + std::string(kCase.uiSecond, 'b'));
    }
}

TEST(MemoryBufferStreamTest, ReadCopiesOnlyWhatIsLeft)
{
    MemoryBufferStream kStream("0123456789", 10);
    char acBuffer[10];
    EXPECT_EQ(kStream.Read(acBuffer, 6), 6u);
    EXPECT_EQ(kStream.Read(acBuffer, 10), 4u);
    EXPECT_EQ(std::string(acBuffer, 4), "6789");
    EXPECT_EQ(kStream.Read(acBuffer, 10), 0u);
    EXPECT_TRUE(kStream.IsGood());
}

TEST(MemoryBufferStreamTest, WritesAppendBehindTheReadPosition)
{
    MemoryBufferStream kStream;
    kStream.Write("ab", 2);
    char cByte = 0;
    EXPECT_EQ(kStream.Read(&cByte, 1), 1u);
    kStream.Write("cd", 2);
    char acRest[4] = {};
    EXPECT_EQ(kStream.Read(acRest, 4), 3u);
    EXPECT_EQ(std::string(acRest, 3), "bcd");
}

TEST(MemoryBufferStreamTest, CallersBufferIsReadOnly)
{
    char acBuffer[] = "abc";
    MemoryBufferStream kStream(acBuffer, 3);
    EXPECT_EQ(kStream.Write("xyz", 3), 0u);
    EXPECT_EQ(std::string(acBuffer), "abc");
    EXPECT_EQ(kStream.GetSize(), 3u);
}

TEST(MemoryBufferStreamTest, NullCallerBufferReadsNothing)
{
    MemoryBufferStream kStream(nullptr, 100);
    char cByte;
    EXPECT_EQ(kStream.Read(&cByte, 1), 0u);
}

TEST(MemoryBufferStreamTest, DetachHandsTheBufferOverAndStopsGrowth)
{
    char* pcBuffer = nullptr;
    {
        MemoryBufferStream kStream;
        kStream.Write("hello", 5);
        pcBuffer = kStream.Detach();
        EXPECT_EQ(pcBuffer, kStream.GetBuffer());
        // Growing would move the buffer out from under its new owner.
        const std::vector<char> kMore(4096, 'x');
        EXPECT_EQ(kStream.Write(kMore.data(), 4096), 0u);
    }
    EXPECT_EQ(std::string(pcBuffer, 5), "hello");
    std::free(pcBuffer);
}
} // namespace
