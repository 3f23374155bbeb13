#include "core/SKScreenshotWriters.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempFolder.h"

namespace
{

// A raw image of RGB or RGBA pixels, top row first, converting through the layout's masks the way
// the renderer's image type does.
class TestImage : public SKScreenshotImage
{
public:
    TestImage(Format eFormat, uint32_t uiWidth, uint32_t uiHeight, std::vector<uint8_t> kPixels)
        : m_eFormat(eFormat), m_uiWidth(uiWidth), m_uiHeight(uiHeight), m_kPixels(std::move(kPixels))
    {
    }

    Format GetFormat() const override { return m_eFormat; }
    uint32_t GetWidth() const override { return m_uiWidth; }
    uint32_t GetHeight() const override { return m_uiHeight; }
    uint32_t GetRowBytes() const override { return m_uiWidth * Channels(); }
    const uint8_t* GetPixels() const override { return m_kPixels.data(); }

    bool ConvertTo(const Layout& kLayout, uint32_t uiRowBytes, uint8_t* pBuffer) const override
    {
        if (m_bFailConversion)
            return false;
        for (uint32_t uiY = 0; uiY < m_uiHeight; ++uiY)
        {
            for (uint32_t uiX = 0; uiX < m_uiWidth; ++uiX)
            {
                const uint8_t* pSource = &m_kPixels[(uiY * m_uiWidth + uiX) * Channels()];
                uint32_t uiWord = Place(pSource[0], kLayout.m_uiRedMask) |
                                  Place(pSource[1], kLayout.m_uiGreenMask) |
                                  Place(pSource[2], kLayout.m_uiBlueMask) |
                                  Place(Channels() == 4 ? pSource[3] : 0xFF, kLayout.m_uiAlphaMask);
                uint8_t* pDest = pBuffer + uiY * uiRowBytes + uiX * (kLayout.m_uiBitsPerPixel / 8);
                for (uint32_t uiByte = 0; uiByte < kLayout.m_uiBitsPerPixel / 8; ++uiByte)
                    pDest[uiByte] = static_cast<uint8_t>(uiWord >> (8 * uiByte));
            }
        }
        return true;
    }

    bool m_bFailConversion = false;

private:
    uint32_t Channels() const { return m_eFormat == FORMAT_RGBA ? 4 : 3; }
    static uint32_t Place(uint8_t ucValue, uint32_t uiMask)
    {
        return uiMask ? (uint32_t(ucValue) << __builtin_ctz(uiMask)) & uiMask : 0;
    }

    Format m_eFormat;
    uint32_t m_uiWidth;
    uint32_t m_uiHeight;
    std::vector<uint8_t> m_kPixels;
};

// Top row red, green; bottom row blue, white.
TestImage TwoByTwo()
{
    return TestImage(SKScreenshotImage::FORMAT_RGB, 2, 2,
                     {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
}

std::vector<uint8_t> ReadFileBytes(const std::string& kPath)
{
    std::string kBytes = TempFolder::ReadFile(kPath);
    return std::vector<uint8_t>(kBytes.begin(), kBytes.end());
}

uint32_t U32At(const std::vector<uint8_t>& kBytes, size_t uiOffset)
{
    return kBytes[uiOffset] | kBytes[uiOffset + 1] << 8 | kBytes[uiOffset + 2] << 16 |
           uint32_t(kBytes[uiOffset + 3]) << 24;
}

} // namespace

TEST(SKScreenshotWriters, TgaHoldsHeaderBottomRowFirstBgrPixelsAndFooter)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    ASSERT_TRUE(SaveScreenshotTGA((kFolder.Path("shot.tga")).c_str(), &kImage));

    std::vector<uint8_t> kBytes = ReadFileBytes(kFolder.Path("shot.tga"));
    ASSERT_EQ(kBytes.size(), 56u);
    std::vector<uint8_t> kHeader(kBytes.begin(), kBytes.begin() + 18);
    EXPECT_EQ(kHeader, (std::vector<uint8_t>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0}));
    std::vector<uint8_t> kPixels(kBytes.begin() + 18, kBytes.begin() + 30);
    EXPECT_EQ(kPixels, (std::vector<uint8_t>{0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0, 0xFF, 0}));
    std::vector<uint8_t> kOffsets(kBytes.begin() + 30, kBytes.begin() + 38);
    EXPECT_EQ(kOffsets, std::vector<uint8_t>(8, 0));
    EXPECT_EQ(std::string(kBytes.begin() + 38, kBytes.end()), std::string("TRUEVISION-XFILE.\0", 18));
}

TEST(SKScreenshotWriters, TgaOfRgbaImageHas32BitBgraPixels)
{
    TempFolder kFolder;
    TestImage kImage(SKScreenshotImage::FORMAT_RGBA, 1, 1, {0x11, 0x22, 0x33, 0x44});
    ASSERT_TRUE(SaveScreenshotTGA((kFolder.Path("shot.tga")).c_str(), &kImage));

    std::vector<uint8_t> kBytes = ReadFileBytes(kFolder.Path("shot.tga"));
    ASSERT_EQ(kBytes.size(), 18u + 4 + 26);
    EXPECT_EQ(kBytes[16], 32);
    EXPECT_EQ(std::vector<uint8_t>(kBytes.begin() + 18, kBytes.begin() + 22),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x44}));
}

TEST(SKScreenshotWriters, BmpRowsAreBottomFirstBgrAndPaddedToFourBytes)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    ASSERT_TRUE(SaveScreenshotBMP((kFolder.Path("shot.bmp")).c_str(), &kImage));

    std::vector<uint8_t> kBytes = ReadFileBytes(kFolder.Path("shot.bmp"));
    ASSERT_EQ(kBytes.size(), 54u + 16);
    EXPECT_EQ(kBytes[0], 'B');
    EXPECT_EQ(kBytes[1], 'M');
    EXPECT_EQ(U32At(kBytes, 2), 70u);
    EXPECT_EQ(U32At(kBytes, 10), 54u);
    EXPECT_EQ(U32At(kBytes, 14), 40u);
    EXPECT_EQ(U32At(kBytes, 18), 2u);
    EXPECT_EQ(U32At(kBytes, 22), 2u);
    EXPECT_EQ(kBytes[26] | kBytes[27] << 8, 1);
    EXPECT_EQ(kBytes[28] | kBytes[29] << 8, 24);
    EXPECT_EQ(U32At(kBytes, 30), 0u);
    EXPECT_EQ(U32At(kBytes, 34), 16u);
    for (size_t uiOffset = 38; uiOffset < 54; ++uiOffset)
        EXPECT_EQ(kBytes[uiOffset], 0) << uiOffset;
    EXPECT_EQ(std::vector<uint8_t>(kBytes.begin() + 54, kBytes.begin() + 60),
              (std::vector<uint8_t>{0xFF, 0, 0, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(std::vector<uint8_t>(kBytes.begin() + 62, kBytes.begin() + 68),
              (std::vector<uint8_t>{0, 0, 0xFF, 0, 0xFF, 0}));
}

TEST(SKScreenshotWriters, BmpSizeFollowsPaddedRows)
{
    struct Case
    {
        uint32_t uiWidth, uiHeight;
        size_t uiFileSize;
    };
    for (Case kCase : {Case{3, 2, 78}, Case{4, 2, 78}, Case{1, 1, 58}, Case{5, 3, 54 + 16 * 3}})
    {
        TempFolder kFolder;
        TestImage kImage(SKScreenshotImage::FORMAT_RGB, kCase.uiWidth, kCase.uiHeight,
                         std::vector<uint8_t>(kCase.uiWidth * kCase.uiHeight * 3, 0x80));
        ASSERT_TRUE(SaveScreenshotBMP((kFolder.Path("shot.bmp")).c_str(), &kImage));
        std::vector<uint8_t> kBytes = ReadFileBytes(kFolder.Path("shot.bmp"));
        EXPECT_EQ(kBytes.size(), kCase.uiFileSize) << kCase.uiWidth << "x" << kCase.uiHeight;
        EXPECT_EQ(U32At(kBytes, 2), kCase.uiFileSize);
        EXPECT_EQ(U32At(kBytes, 18), kCase.uiWidth);
    }
}

TEST(SKScreenshotWriters, NullArgumentsWriteNothing)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    EXPECT_FALSE(SaveScreenshotTGA((kFolder.Path("a.tga")).c_str(), nullptr));
    EXPECT_FALSE(SaveScreenshotBMP((kFolder.Path("a.bmp")).c_str(), nullptr));
    EXPECT_FALSE(SaveScreenshotTGA(nullptr, &kImage));
    EXPECT_FALSE(SaveScreenshotBMP(nullptr, &kImage));
    EXPECT_TRUE(std::filesystem::is_empty(kFolder.Path()));
}

// A failed write leaves no short file and keeps what was there before.
TEST(SKScreenshotWriters, FailedConversionKeepsEarlierFile)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    kImage.m_bFailConversion = true;
    for (const char* pcName : {"shot.tga", "shot.bmp"})
    {
        std::string kPath = kFolder.WriteFile(pcName, "earlier");
        bool bWritten = std::string(pcName).ends_with(".tga") ? SaveScreenshotTGA(kPath.c_str(), &kImage)
                                                              : SaveScreenshotBMP(kPath.c_str(), &kImage);
        EXPECT_FALSE(bWritten);
        EXPECT_EQ(TempFolder::ReadFile(kPath), "earlier");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kFolder.Path()), {}), 2);
}

TEST(SKScreenshotWriters, ReplacesAnEarlierFileWhole)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    std::string kPath = kFolder.WriteFile("shot.bmp", std::string(500, 'x'));
    ASSERT_TRUE(SaveScreenshotBMP(kPath.c_str(), &kImage));
    EXPECT_EQ(ReadFileBytes(kPath).size(), 70u);
}

TEST(SKScreenshotWriters, MissingFolderGivesFalse)
{
    TempFolder kFolder;
    TestImage kImage = TwoByTwo();
    EXPECT_FALSE(SaveScreenshotTGA((kFolder.Path("missing/shot.tga")).c_str(), &kImage));
    EXPECT_FALSE(SaveScreenshotBMP((kFolder.Path("missing/shot.bmp")).c_str(), &kImage));
}
