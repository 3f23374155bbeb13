#include "scene/object/BufferedFileStream.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

namespace
{
std::string Pattern(size_t uiBytes)
{
    std::string kBytes(uiBytes, '\0');
    for (size_t i = 0; i < uiBytes; ++i)
        kBytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return kBytes;
}

TEST(BufferedFileStreamTest, MissingFileIsNotGoodAndReadsNothing)
{
    TempFolder kFolder;
    BufferedFileStream kStream(kFolder.Path("missing.nif").c_str(), false);
    EXPECT_FALSE(kStream.IsGood());
    char acBuffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(kStream.Read(acBuffer, 4), 0u);
    EXPECT_EQ(acBuffer[0], 'a');
    EXPECT_EQ(kStream.Write(acBuffer, 4), 0u);
}

TEST(BufferedFileStreamTest, ReadingOpensRegularFilesOnlyAndKnowsTheirSize)
{
    // Neither a FIFO without a writer (whose open would block) nor a device opens for reading.
    TempFolder kFolder;
    ASSERT_EQ(mkfifo(kFolder.Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(BufferedFileStream(kFolder.Path("pipe").c_str(), false).IsGood());
    EXPECT_FALSE(BufferedFileStream("/dev/zero", false).IsGood());
    const std::string kFile = kFolder.WriteFile("data.bin", Pattern(1234));
    BufferedFileStream kRegular(kFile.c_str(), false);
    ASSERT_TRUE(kRegular.IsGood());
    EXPECT_EQ(kRegular.GetFileSize(), 1234u);
}

TEST(BufferedFileStreamTest, WritesAndReadsOfAnySizeRoundTrip)
{
    // Chunk sizes below, at, across and above the buffer size, for several buffer sizes.
    const std::vector<uint32_t> kChunks = {1, 3, 16, 15, 17, 40, 2, 100, 16, 5};
    for (uint32_t uiBufferSize : {0u, 1u, 16u, 10240u})
    {
        SCOPED_TRACE("buffer " + std::to_string(uiBufferSize));
        TempFolder kFolder;
        const std::string kFile = kFolder.Path("data.bin");
        const std::string kBytes = Pattern(1000);
        {
            BufferedFileStream kOut(kFile.c_str(), true, uiBufferSize);
            ASSERT_TRUE(kOut.IsGood());
            size_t uiOffset = 0;
            for (size_t i = 0; uiOffset < kBytes.size(); ++i)
            {
                const uint32_t uiChunk = static_cast<uint32_t>(
                    std::min<size_t>(kChunks[i % kChunks.size()], kBytes.size() - uiOffset));
                ASSERT_EQ(kOut.Write(kBytes.data() + uiOffset, uiChunk), uiChunk);
                uiOffset += uiChunk;
            }
        }
        EXPECT_EQ(TempFolder::ReadFile(kFile), kBytes);

        BufferedFileStream kIn(kFile.c_str(), false, uiBufferSize);
        std::string kRead;
        for (size_t i = 0;; ++i)
        {
            std::vector<char> kChunk(kChunks[(i + 3) % kChunks.size()]);
            const uint32_t uiGot = kIn.Read(kChunk.data(), static_cast<uint32_t>(kChunk.size()));
            kRead.append(kChunk.data(), uiGot);
            if (uiGot < kChunk.size())
                break;
        }
        EXPECT_EQ(kRead, kBytes);
        EXPECT_TRUE(kIn.IsGood());
    }
}

TEST(BufferedFileStreamTest, SmallReadAfterABypassingReadIsCorrect)
{
    TempFolder kFolder;
    const std::string kBytes = Pattern(100);
    const std::string kFile = kFolder.WriteFile("data.bin", kBytes);
    BufferedFileStream kIn(kFile.c_str(), false, 16);
    std::vector<char> kBig(40);
    EXPECT_EQ(kIn.Read(kBig.data(), 40), 40u);
    char cNext = 0;
    EXPECT_EQ(kIn.Read(&cNext, 1), 1u);
    EXPECT_EQ(cNext, kBytes[40]);
}

TEST(BufferedFileStreamTest, SeekLandsOnTheRightByte)
{
    TempFolder kFolder;
    const std::string kBytes = Pattern(200);
    const std::string kFile = kFolder.WriteFile("data.bin", kBytes);
    struct
    {
        int64_t iOffset;
        int iOrigin;
        size_t uiExpected; // index of the byte read next, after reading 10 bytes first
    } const akCases[] = {
        {-5, BufferedFileStream::ORIGIN_CURRENT, 5},  // back inside the buffer
        {3, BufferedFileStream::ORIGIN_CURRENT, 13},  // forward inside the buffer
        {30, BufferedFileStream::ORIGIN_CURRENT, 40}, // past the buffered bytes
        {-10, BufferedFileStream::ORIGIN_CURRENT, 0}, // back to the start
        {150, BufferedFileStream::ORIGIN_BEGIN, 150}, {-1, BufferedFileStream::ORIGIN_END, 199},
    };
    for (const auto& kCase : akCases)
    {
        SCOPED_TRACE("offset " + std::to_string(kCase.iOffset) + " origin " + std::to_string(kCase.iOrigin));
        BufferedFileStream kIn(kFile.c_str(), false, 32);
        char acSkip[10];
        ASSERT_EQ(kIn.Read(acSkip, 10), 10u);
        kIn.Seek(kCase.iOffset, kCase.iOrigin);
        char cByte = 0;
        ASSERT_EQ(kIn.Read(&cByte, 1), 1u);
        EXPECT_EQ(cByte, kBytes[kCase.uiExpected]);
        EXPECT_TRUE(kIn.IsGood());
    }
}

TEST(BufferedFileStreamTest, SeekWhileWritingKeepsBufferedBytes)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.Path("data.bin");
    {
        BufferedFileStream kOut(kFile.c_str(), true, 64);
        kOut.Write("abcdef", 6);
        kOut.Seek(0, BufferedFileStream::ORIGIN_CURRENT);
        kOut.Write("gh", 2);
        kOut.Seek(1, BufferedFileStream::ORIGIN_BEGIN);
        kOut.Write("X", 1);
        EXPECT_TRUE(kOut.IsGood());
    }
    EXPECT_EQ(TempFolder::ReadFile(kFile), "aXcdefgh");
}

TEST(BufferedFileStreamTest, SeekBeforeTheStartFails)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("data.bin", "abc");
    BufferedFileStream kIn(kFile.c_str(), false);
    kIn.Seek(-1, BufferedFileStream::ORIGIN_BEGIN);
    EXPECT_FALSE(kIn.IsGood());
    char cByte;
    EXPECT_EQ(kIn.Read(&cByte, 1), 0u);
}

TEST(BufferedFileStreamTest, FailedWriteIsReportedAndSticks)
{
    // The device accepts the open but refuses every byte, as a full disk does.
    {
        BufferedFileStream kOut("/dev/full", true, 16);
        ASSERT_TRUE(kOut.IsGood());
        EXPECT_EQ(kOut.Write("0123456789", 10), 10u); // still in our buffer
        EXPECT_FALSE(kOut.Flush());
        EXPECT_FALSE(kOut.IsGood());
        EXPECT_EQ(kOut.Write("x", 1), 0u);
    }
    {
        BufferedFileStream kOut("/dev/full", true, 16);
        const std::string kLarge = Pattern(1 << 20);
        EXPECT_EQ(kOut.Write(kLarge.data(), static_cast<uint32_t>(kLarge.size())), 0u);
        EXPECT_FALSE(kOut.IsGood());
    }
}

TEST(BufferedFileStreamTest, WrongDirectionMovesNothing)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("data.bin", "abc");
    {
        BufferedFileStream kIn(kFile.c_str(), false);
        EXPECT_EQ(kIn.Write("x", 1), 0u);
        EXPECT_EQ(kIn.WriteUnbuffered("x", 1), 0u);
        EXPECT_TRUE(kIn.IsGood());
    }
    BufferedFileStream kOut(kFile.c_str(), true);
    char cByte;
    EXPECT_EQ(kOut.Read(&cByte, 1), 0u);
    EXPECT_EQ(kOut.ReadUnbuffered(&cByte, 1), 0u);
}
} // namespace
