#include "ImageTestSupport.h"

#include "scene/graph/NiPixelLayout.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <vector>

using Raw = NiRawImageData;

namespace
{
// A 2 x 1 palettized image: index 0 (whose entry is a colour) and index 1.
NiRefPtr<Raw> TwoIndexImage()
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_PALETTIZED, 2, 1, {0, 1});
    SetPaletteEntry(*spImage, 0, 0x11, 0x22, 0x33, 0x44);
    SetPaletteEntry(*spImage, 1, 0xa0, 0xb0, 0xc0, 0x00);
    return spImage;
}

std::vector<uint8_t> Convert(const Raw& kImage, const NiPixelLayout& kLayout, uint32_t uiPitch, bool& bResult)
{
    std::vector<uint8_t> kOut(size_t(uiPitch) * kImage.GetHeight(), 0xEE);
    bResult = kImage.ConvertTo(kLayout, static_cast<int32_t>(uiPitch), kOut.data());
    return kOut;
}
} // namespace

//--- Storage ------------------------------------------------------------------------------------

TEST(NiRawImageData, DefaultImageIsAnEmptyRgbImage)
{
    Raw kImage;
    EXPECT_EQ(kImage.GetFormat(), Raw::FORMAT_RGB);
    EXPECT_EQ(kImage.GetWidth(), 0u);
    EXPECT_EQ(kImage.GetPixelStride(), 3u);
    EXPECT_EQ(kImage.GetRowStride(), 0u);
    EXPECT_EQ(kImage.GetPalette(), nullptr);
    EXPECT_EQ(kImage.GetPixels(), nullptr);
}

TEST(NiRawImageData, CreateSetsStridesAndThePaletteOnlyForPalettizedImages)
{
    struct Case
    {
        Raw::Format eFormat;
        uint32_t uiPixelStride;
    };
    for (const Case& kCase :
         {Case{Raw::FORMAT_PALETTIZED, 1}, Case{Raw::FORMAT_RGB, 3}, Case{Raw::FORMAT_RGBA, 4}})
    {
        Raw kImage;
        ASSERT_TRUE(kImage.Create(kCase.eFormat, 5, 3));
        EXPECT_EQ(kImage.GetPixelStride(), kCase.uiPixelStride);
        EXPECT_EQ(kImage.GetRowStride(), 5 * kCase.uiPixelStride);
        EXPECT_EQ(kImage.GetPixelByteCount(), 15u * kCase.uiPixelStride);
        EXPECT_EQ(kImage.GetPalette() != nullptr, kCase.eFormat == Raw::FORMAT_PALETTIZED);
        if (kImage.GetPalette())
        {
            EXPECT_EQ(std::vector<uint8_t>(kImage.GetPalette(), kImage.GetPalette() + 1024),
                      std::vector<uint8_t>(1024));
        }
    }
}

TEST(NiRawImageData, CreateWithTheSameFormatAndSizeKeepsThePixels)
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_RGB, 1, 1, {7, 8, 9});
    const uint8_t* pBefore = spImage->GetPixels();
    ASSERT_TRUE(spImage->Create(Raw::FORMAT_RGB, 1, 1));
    EXPECT_EQ(spImage->GetPixels(), pBefore);
    EXPECT_EQ(PixelBytes(*spImage), (std::vector<uint8_t>{7, 8, 9}));
    ASSERT_TRUE(spImage->Create(Raw::FORMAT_RGBA, 1, 1));
    EXPECT_EQ(spImage->GetPixelByteCount(), 4u);
}

TEST(NiRawImageData, CreateRefusesUnknownFormatsAndSizesThatWouldOverflow)
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_RGB, 1, 1, {7, 8, 9});
    // An unknown format changes nothing.
    EXPECT_FALSE(spImage->Create(static_cast<Raw::Format>(3), 1, 1));
    EXPECT_EQ(PixelBytes(*spImage), (std::vector<uint8_t>{7, 8, 9}));

    // 65535 x 65535 x 4 overflows 32 bits; a huge width with height 0 would overflow the row
    // stride. Both fail and leave an image without storage.
    const uint32_t auiSizes[][2] = {
        {65535, 65535}, {0xFFFFFFFF, 0}, {0xFFFFFFFF, 0xFFFFFFFF}, {16384, 16385}};
    for (const auto& auiSize : auiSizes)
    {
        EXPECT_FALSE(spImage->Create(Raw::FORMAT_RGBA, auiSize[0], auiSize[1]));
        EXPECT_EQ(spImage->GetFormat(), Raw::FORMAT_RGBA);
        EXPECT_EQ(spImage->GetWidth(), 0u);
        EXPECT_EQ(spImage->GetHeight(), 0u);
        EXPECT_EQ(spImage->GetRowStride(), 0u);
        EXPECT_EQ(spImage->GetPixels(), nullptr);
    }
    // A palettized image that failed has no palette, and asking again for its empty size makes
    // one rather than reporting storage it lacks.
    EXPECT_FALSE(spImage->Create(Raw::FORMAT_PALETTIZED, 65536, 65536));
    EXPECT_EQ(spImage->GetPalette(), nullptr);
    EXPECT_TRUE(spImage->Create(Raw::FORMAT_PALETTIZED, 0, 0));
    EXPECT_NE(spImage->GetPalette(), nullptr);
}

TEST(NiRawImageData, ShrinkToKeepsTheBlockAndRefusesToGrow)
{
    Raw kImage(Raw::FORMAT_RGBA, 4, 4);
    const uint8_t* pBlock = kImage.GetPixels();
    EXPECT_FALSE(kImage.ShrinkTo(5, 4));
    ASSERT_TRUE(kImage.ShrinkTo(2, 3));
    EXPECT_EQ(kImage.GetWidth(), 2u);
    EXPECT_EQ(kImage.GetHeight(), 3u);
    EXPECT_EQ(kImage.GetRowStride(), 8u);
    EXPECT_EQ(kImage.GetPixels(), pBlock);
}

TEST(NiRawImageData, TakeFromMovesTheStorageAndLeavesTheOtherEmpty)
{
    NiRefPtr<Raw> spSource = TwoIndexImage();
    const uint8_t* pPixels = spSource->GetPixels();
    Raw kTarget(Raw::FORMAT_RGB, 3, 3);
    kTarget.TakeFrom(*spSource);
    EXPECT_EQ(kTarget.GetFormat(), Raw::FORMAT_PALETTIZED);
    EXPECT_EQ(kTarget.GetWidth(), 2u);
    EXPECT_EQ(kTarget.GetPixels(), pPixels);
    EXPECT_EQ(kTarget.GetPalette()[4], 0xa0);

    // The other keeps its format but no size: it never claims pixels it no longer has.
    EXPECT_EQ(spSource->GetFormat(), Raw::FORMAT_PALETTIZED);
    EXPECT_EQ(spSource->GetPixels(), nullptr);
    EXPECT_EQ(spSource->GetPalette(), nullptr);
    EXPECT_EQ(spSource->GetWidth(), 0u);
    EXPECT_EQ(spSource->GetPixelByteCount(), 0u);
    std::vector<uint8_t> kOut(4, 0xEE);
    EXPECT_TRUE(spSource->ConvertTo(NiPixelLayout::RGBA32, 4, kOut.data()));
    EXPECT_EQ(kOut, std::vector<uint8_t>(4, 0xEE));
}

TEST(NiRawImageData, CopyFromCopiesPaletteAndPixels)
{
    NiRefPtr<Raw> spSource = TwoIndexImage();
    Raw kCopy;
    EXPECT_FALSE(kCopy.CopyFrom(nullptr));
    ASSERT_TRUE(kCopy.CopyFrom(spSource));
    EXPECT_TRUE(kCopy.IsEquivalent(spSource));
    EXPECT_NE(kCopy.GetPixels(), spSource->GetPixels());
}

//--- ConvertTo ----------------------------------------------------------------------------------

TEST(NiRawImageDataConvertTo, PalettizedAndRgbaIntoA24BitBgrLayout)
{
    const NiPixelLayout kBgr24 = MakeLayout(24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    bool bResult = false;

    // Palette colours, index 0 included (no transparency in a layout without alpha).
    NiRefPtr<Raw> spPal = TwoIndexImage();
    EXPECT_EQ(Convert(*spPal, kBgr24, 8, bResult),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0xc0, 0xb0, 0xa0, 0xEE, 0xEE}));
    EXPECT_TRUE(bResult);

    // RGBA drops its alpha; rows start one pitch apart.
    NiRefPtr<Raw> spRgba = MakeImage(Raw::FORMAT_RGBA, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(Convert(*spRgba, kBgr24, 4, bResult), (std::vector<uint8_t>{3, 2, 1, 0xEE, 7, 6, 5, 0xEE}));
    EXPECT_TRUE(bResult);

    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 2, 1, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Convert(*spRgb, kBgr24, 6, bResult), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(Convert(*spRgb, NiPixelLayout::RGB24, 6, bResult), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(bResult);
}

TEST(NiRawImageDataConvertTo, PalettizedAndRgbaIntoA32BitBgraLayout)
{
    const NiPixelLayout kBgra32 = MakeLayout(32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
    bool bResult = false;

    // Index 0 becomes the all-zero pixel whatever its entry holds; other indices get opaque alpha
    // whatever their entry's alpha is.
    NiRefPtr<Raw> spPal = TwoIndexImage();
    EXPECT_EQ(Convert(*spPal, kBgra32, 8, bResult),
              (std::vector<uint8_t>{0, 0, 0, 0, 0xc0, 0xb0, 0xa0, 0xff}));
    EXPECT_TRUE(bResult);

    NiRefPtr<Raw> spRgba = MakeImage(Raw::FORMAT_RGBA, 1, 1, {1, 2, 3, 4});
    EXPECT_EQ(Convert(*spRgba, kBgra32, 4, bResult), (std::vector<uint8_t>{3, 2, 1, 4}));
    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 1, 1, {1, 2, 3});
    EXPECT_EQ(Convert(*spRgb, kBgra32, 4, bResult), (std::vector<uint8_t>{3, 2, 1, 0xff}));
    EXPECT_EQ(Convert(*spRgb, NiPixelLayout::RGBA32, 4, bResult), (std::vector<uint8_t>{1, 2, 3, 0xff}));
    EXPECT_TRUE(bResult);
}

TEST(NiRawImageDataConvertTo, SixteenBitLayoutsPackTheHighBitsOfEachChannel)
{
    const NiPixelLayout k565 = MakeLayout(16, 0xf800, 0x07e0, 0x001f, 0);
    const NiPixelLayout k4444 = MakeLayout(16, 0x0f00, 0x00f0, 0x000f, 0xf000);
    const uint8_t r = 0xC8, g = 0x64, b = 0x3F;
    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 1, 1, {r, g, b});
    bool bResult = false;
    const uint16_t us565 = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
    EXPECT_EQ(Convert(*spRgb, k565, 2, bResult), (std::vector<uint8_t>{uint8_t(us565), uint8_t(us565 >> 8)}));
    // No alpha channel in the layout: the opaque alpha packs to nothing.
    EXPECT_TRUE(bResult);
    EXPECT_EQ(Convert(*spRgb, k4444, 2, bResult), (std::vector<uint8_t>{0x63, 0xfc}));

    NiRefPtr<Raw> spPal = TwoIndexImage();
    EXPECT_EQ(Convert(*spPal, k4444, 4, bResult), (std::vector<uint8_t>{0, 0, 0xbc, 0xfa}));
}

TEST(NiRawImageDataConvertTo, FormatAndLayoutPairsWithoutAConversionFail)
{
    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 1, 1, {1, 2, 3});
    NiRefPtr<Raw> spPal = TwoIndexImage();
    struct Case
    {
        const char* pcWhat;
        const Raw* pkImage;
        NiPixelLayout kLayout;
    };
    const Case akCases[] = {
        {"rgb into 8 bits", spRgb, NiPixelLayout::PALETTIZED8},
        {"24 bits with a foreign green mask", spRgb, MakeLayout(24, 0xff, 0xff0000, 0xff00, 0)},
        {"24 bits with a foreign red mask", spRgb, MakeLayout(24, 0xff00000, 0xff00, 0xff, 0)},
        {"8 bits not palettized", spPal, MakeLayout(8, 0xe0, 0x1c, 0x03, 0)},
        {"12 bits", spRgb, MakeLayout(12, 0xf00, 0xf0, 0xf, 0)},
        {"no bit count", spRgb, NiPixelLayout()},
    };
    for (const Case& kCase : akCases)
    {
        std::vector<uint8_t> kOut(8, 0xEE);
        EXPECT_FALSE(kCase.pkImage->ConvertTo(kCase.kLayout, 8, kOut.data())) << kCase.pcWhat;
        EXPECT_EQ(kOut, std::vector<uint8_t>(8, 0xEE)) << kCase.pcWhat;
    }
    // Palettized into a palettized layout copies the indices only.
    std::vector<uint8_t> kOut(2);
    EXPECT_TRUE(spPal->ConvertTo(NiPixelLayout::PALETTIZED8, 2, kOut.data()));
    EXPECT_EQ(kOut, (std::vector<uint8_t>{0, 1}));
}

//--- ConvertFrom --------------------------------------------------------------------------------

TEST(NiRawImageDataConvertFrom, SixteenBitWordsUnpackIntoTheHighBits)
{
    const NiPixelLayout k555 = MakeLayout(16, 0x7c00, 0x03e0, 0x001f, 0);
    const uint8_t aucWord[] = {0xff, 0x7f};
    Raw kImage;
    ASSERT_TRUE(kImage.ConvertFrom(k555, 2, 1, 1, aucWord));
    EXPECT_EQ(kImage.GetFormat(), Raw::FORMAT_RGB);
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{0xf8, 0xf8, 0xf8}));

    const NiPixelLayout k1555 = MakeLayout(16, 0x7c00, 0x03e0, 0x001f, 0x8000);
    const uint8_t aucWords[] = {0x1f, 0x80, 0x00, 0x7c};
    ASSERT_TRUE(kImage.ConvertFrom(k1555, 2, 2, 1, aucWords));
    EXPECT_EQ(kImage.GetFormat(), Raw::FORMAT_RGBA);
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{0, 0, 0xf8, 0x80, 0xf8, 0, 0, 0}));
}

TEST(NiRawImageDataConvertFrom, RoundTripsThroughTheStandardAndReversedLayouts)
{
    NiRefPtr<Raw> spRgba =
        MakeImage(Raw::FORMAT_RGBA, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const NiPixelLayout kBgra32 = MakeLayout(32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
    for (const NiPixelLayout& kLayout : {NiPixelLayout::RGBA32, kBgra32})
    {
        // A pitch wider than the row: the padding is skipped both ways.
        std::vector<uint8_t> kBuffer(2 * 12);
        ASSERT_TRUE(spRgba->ConvertTo(kLayout, 12, kBuffer.data()));
        Raw kBack;
        ASSERT_TRUE(kBack.ConvertFrom(kLayout, 12, 2, 2, kBuffer.data()));
        EXPECT_TRUE(kBack.IsEquivalent(spRgba));
    }

    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 2, 1, {1, 2, 3, 4, 5, 6});
    const NiPixelLayout kBgr24 = MakeLayout(24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (const NiPixelLayout& kLayout : {NiPixelLayout::RGB24, kBgr24})
    {
        std::vector<uint8_t> kBuffer(6);
        ASSERT_TRUE(spRgb->ConvertTo(kLayout, 6, kBuffer.data()));
        Raw kBack;
        ASSERT_TRUE(kBack.ConvertFrom(kLayout, 6, 2, 1, kBuffer.data()));
        EXPECT_TRUE(kBack.IsEquivalent(spRgb));
    }

    const uint8_t aucIndices[] = {3, 9, 0xEE, 0xEE, 4, 5};
    Raw kPal;
    ASSERT_TRUE(kPal.ConvertFrom(NiPixelLayout::PALETTIZED8, 4, 2, 2, aucIndices));
    EXPECT_EQ(PixelBytes(kPal), (std::vector<uint8_t>{3, 9, 4, 5}));
    EXPECT_EQ(kPal.GetPalette()[12], 0);
}

TEST(NiRawImageDataConvertFrom, RefusedLayouts)
{
    const uint8_t aucBytes[8] = {};
    Raw kImage;
    EXPECT_FALSE(kImage.ConvertFrom(MakeLayout(8, 0xe0, 0x1c, 0x03, 0), 2, 2, 1, aucBytes));
    NiPixelLayout kPal16 = MakeLayout(16, 0xf800, 0x07e0, 0x001f, 0);
    kPal16.m_bPalettized = 1;
    EXPECT_FALSE(kImage.ConvertFrom(kPal16, 2, 1, 1, aucBytes));
    EXPECT_FALSE(kImage.ConvertFrom(MakeLayout(24, 0xff, 0xff00, 0xff0000, 0xff000000), 3, 1, 1, aucBytes));
    EXPECT_FALSE(kImage.ConvertFrom(MakeLayout(12, 0xf00, 0xf0, 0xf, 0), 2, 1, 1, aucBytes));

    // A 24-bit layout with a foreign green mask fails after the image became an empty RGB image
    // of the new size.
    EXPECT_FALSE(kImage.ConvertFrom(MakeLayout(24, 0xff, 0xff0000, 0xff00, 0), 3, 2, 1, aucBytes));
    EXPECT_EQ(kImage.GetFormat(), Raw::FORMAT_RGB);
    EXPECT_EQ(kImage.GetWidth(), 2u);
}

//--- Filters ------------------------------------------------------------------------------------

TEST(NiRawImageDataFilters, ReduceFromAveragesEachTwoByTwoBlockWithTruncation)
{
    // Top-left block: red 1, 2, 2, 2 -> 1; other channels 4 x 100 -> 100, alpha 0, 0, 0, 3 -> 0.
    std::vector<uint8_t> kPixels(4 * 4 * 4, 100);
    const auto Put = [&](uint32_t x, uint32_t y, uint8_t ucRed, uint8_t ucAlpha)
    {
        kPixels[(y * 4 + x) * 4] = ucRed;
        kPixels[(y * 4 + x) * 4 + 3] = ucAlpha;
    };
    Put(0, 0, 1, 0);
    Put(1, 0, 2, 0);
    Put(0, 1, 2, 0);
    Put(1, 1, 2, 3);
    NiRefPtr<Raw> spSource = new Raw(Raw::FORMAT_RGBA, 4, 4);
    std::memcpy(spSource->GetPixels(), kPixels.data(), kPixels.size());

    Raw kTarget(Raw::FORMAT_RGBA, 2, 2);
    ASSERT_TRUE(kTarget.ReduceFrom(spSource));
    EXPECT_EQ(std::vector<uint8_t>(kTarget.GetPixels(), kTarget.GetPixels() + 4),
              (std::vector<uint8_t>{1, 100, 100, 0}));
    EXPECT_EQ(kTarget.GetPixels()[4], 100);
}

TEST(NiRawImageDataFilters, ReduceFromNeedsMatchingFormatsAndHalfTheSize)
{
    NiRefPtr<Raw> spPal = MakeImage(Raw::FORMAT_PALETTIZED, 2, 2, {1, 1, 2, 2});
    SetPaletteEntry(*spPal, 1, 10, 20, 30, 0);
    SetPaletteEntry(*spPal, 2, 30, 40, 51, 0);
    Raw kRgb(Raw::FORMAT_RGB, 1, 1);
    ASSERT_TRUE(kRgb.ReduceFrom(spPal));
    EXPECT_EQ(PixelBytes(kRgb), (std::vector<uint8_t>{20, 30, 40}));

    Raw kPal(Raw::FORMAT_PALETTIZED, 1, 1);
    EXPECT_FALSE(kPal.ReduceFrom(spPal));
    Raw kRgba(Raw::FORMAT_RGBA, 1, 1);
    EXPECT_FALSE(kRgba.ReduceFrom(spPal));
    Raw kWrongSize(Raw::FORMAT_RGB, 2, 1);
    EXPECT_FALSE(kWrongSize.ReduceFrom(spPal));
    EXPECT_FALSE(kRgb.ReduceFrom(nullptr));
}

TEST(NiRawImageDataFilters, ResampleFromTakesTheNearestSourceColumn)
{
    NiRefPtr<Raw> spRow = MakeImage(Raw::FORMAT_PALETTIZED, 3, 1, {10, 11, 12});
    SetPaletteEntry(*spRow, 11, 1, 2, 3, 4);
    Raw kImage;
    ASSERT_TRUE(kImage.ResampleFrom(spRow, 2, 1));
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{10, 11}));
    ASSERT_TRUE(kImage.ResampleFrom(spRow, 5, 2));
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{10, 10, 11, 11, 12, 10, 10, 11, 11, 12}));
    EXPECT_EQ(kImage.GetPalette()[44], 1);

    // Resampling an image into itself works from a copy of the pixels.
    ASSERT_TRUE(kImage.ResampleFrom(&kImage, 2, 1));
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{10, 11}));

    EXPECT_FALSE(kImage.ResampleFrom(spRow, 0, 1));
    Raw kEmpty;
    EXPECT_FALSE(kImage.ResampleFrom(&kEmpty, 2, 2));
}

TEST(NiRawImageDataFilters, CreateFromColorAndAlphaTakesTheAlphaImagesRedByte)
{
    NiRefPtr<Raw> spColor = MakeImage(Raw::FORMAT_PALETTIZED, 2, 1, {1, 2});
    SetPaletteEntry(*spColor, 1, 10, 20, 30, 0);
    SetPaletteEntry(*spColor, 2, 40, 50, 60, 0);
    NiRefPtr<Raw> spAlpha = MakeImage(Raw::FORMAT_RGB, 2, 1, {70, 0, 0, 80, 1, 1});
    NiRefPtr<Raw> spCombined = Raw::CreateFromColorAndAlpha(spColor, spAlpha);
    ASSERT_TRUE(spCombined);
    EXPECT_EQ(spCombined->GetFormat(), Raw::FORMAT_RGBA);
    EXPECT_EQ(PixelBytes(*spCombined), (std::vector<uint8_t>{10, 20, 30, 70, 40, 50, 60, 80}));

    NiRefPtr<Raw> spTaller = MakeImage(Raw::FORMAT_RGB, 2, 2, {});
    EXPECT_EQ(Raw::CreateFromColorAndAlpha(spColor, spTaller), nullptr);
    EXPECT_EQ(Raw::CreateFromColorAndAlpha(nullptr, spAlpha), nullptr);
}

TEST(NiRawImageDataFilters, CreateColorKeyedSetsAlphaByInclusiveRanges)
{
    NiRefPtr<Raw> spSource =
        MakeImage(Raw::FORMAT_RGBA, 4, 1, {10, 20, 30, 9, 11, 20, 30, 9, 10, 21, 30, 9, 10, 20, 29, 9});
    Raw kKeyed;
    ASSERT_TRUE(kKeyed.CreateColorKeyed(spSource, 10, 10, 20, 20, 30, 31, 0, 255));
    EXPECT_EQ(PixelBytes(kKeyed),
              (std::vector<uint8_t>{10, 20, 30, 0, 11, 20, 30, 255, 10, 21, 30, 255, 10, 20, 29, 255}));
    EXPECT_FALSE(kKeyed.CreateColorKeyed(nullptr, 0, 0, 0, 0, 0, 0, 0, 0));

    // Keying an RGB image in place.
    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 1, 1, {5, 5, 5});
    ASSERT_TRUE(spRgb->CreateColorKeyed(spRgb, 0, 5, 0, 5, 0, 5, 7, 8));
    EXPECT_EQ(PixelBytes(*spRgb), (std::vector<uint8_t>{5, 5, 5, 7}));
}

TEST(NiRawImageDataFilters, CopyRegionFromClipsToBothImages)
{
    NiRefPtr<Raw> spSource =
        MakeImage(Raw::FORMAT_RGB, 3, 2, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6});
    Raw kTarget(Raw::FORMAT_RGBA, 1, 1);
    EXPECT_FALSE(kTarget.CopyRegionFrom(spSource, 3, 0, 1.0f));
    EXPECT_FALSE(kTarget.CopyRegionFrom(spSource, 0, 2, 1.0f));
    ASSERT_TRUE(kTarget.CopyRegionFrom(spSource, 1, 1, 0.5f));
    EXPECT_EQ(PixelBytes(kTarget), (std::vector<uint8_t>{5, 5, 5, 127}));

    // An alpha outside 0..1 saturates.
    ASSERT_TRUE(kTarget.CopyRegionFrom(spSource, 0, 0, 2.0f));
    EXPECT_EQ(PixelBytes(kTarget), (std::vector<uint8_t>{1, 1, 1, 255}));
    ASSERT_TRUE(kTarget.CopyRegionFrom(spSource, 0, 0, -1.0f));
    EXPECT_EQ(kTarget.GetPixels()[3], 0);

    Raw kLarger(Raw::FORMAT_RGB, 4, 4);
    std::memset(kLarger.GetPixels(), 0xEE, kLarger.GetPixelByteCount());
    ASSERT_TRUE(kLarger.CopyRegionFrom(spSource, 1, 0, 1.0f));
    EXPECT_EQ(std::vector<uint8_t>(kLarger.GetPixels(), kLarger.GetPixels() + 9),
              (std::vector<uint8_t>{2, 2, 2, 3, 3, 3, 0xEE, 0xEE, 0xEE}));

    Raw kPal(Raw::FORMAT_PALETTIZED, 1, 1);
    EXPECT_FALSE(kPal.CopyRegionFrom(spSource, 0, 0, 1.0f));
}

//--- Stream and object operations ---------------------------------------------------------------

TEST(NiRawImageDataStream, PalettizedRecordHoldsSizesPaletteAndPixels)
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_PALETTIZED, 2, 2, {0, 1, 2, 255});
    SetPaletteEntry(*spImage, 255, 1, 2, 3, 4);
    NiStream kStream;
    kStream.AddTopObject(spImage);
    std::vector<char> kBuffer;
    ASSERT_TRUE(kStream.SaveBuffer(kBuffer));

    const size_t uiBody = RecordBody(kBuffer, "NiRawImageData");
    const size_t uiEnd = FindRecord(kBuffer, "End Of File");
    ASSERT_NE(uiBody, std::string::npos);
    EXPECT_EQ(uiEnd - uiBody, 12u + 1024u + 4u);

    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    ASSERT_EQ(kLoad.GetTopObjectCount(), 1u);
    EXPECT_TRUE(kLoad.GetTopObjectAt(0)->IsEquivalent(spImage));
    EXPECT_NE(kLoad.GetTopObjectAt(0), spImage.Get());
}

TEST(NiRawImageDataStream, BadRecordsFailTheLoad)
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_RGB, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    NiStream kStream;
    kStream.AddTopObject(spImage);
    std::vector<char> kBuffer;
    ASSERT_TRUE(kStream.SaveBuffer(kBuffer));
    const size_t uiBody = RecordBody(kBuffer, "NiRawImageData");

    struct Case
    {
        const char* pcWhat;
        uint32_t uiWidth, uiHeight, uiFormat;
    };
    const Case akCases[] = {
        {"unknown format", 2, 2, 3},
        {"negative format", 2, 2, 0xFFFFFFFF},
        {"sizes that overflow 32 bits", 65535, 65535, 2},
        {"more pixels than the record holds", 2, 3, 1},
        {"a palette the record lacks", 2, 2, 0},
        {"sizes beyond the block bound", 0xFFFFFFFF, 0xFFFFFFFF, 1},
    };
    for (const Case& kCase : akCases)
    {
        std::vector<char> kBad = kBuffer;
        PutU32(kBad, uiBody, kCase.uiWidth);
        PutU32(kBad, uiBody + 4, kCase.uiHeight);
        PutU32(kBad, uiBody + 8, kCase.uiFormat);
        NiStream kLoad;
        EXPECT_FALSE(kLoad.LoadBuffer(kBad.data(), kBad.size())) << kCase.pcWhat;
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CORRUPT_RECORD) << kCase.pcWhat;
        EXPECT_EQ(kLoad.GetTopObjectCount(), 0u) << kCase.pcWhat;
    }

    // Cut inside the pixels.
    NiStream kLoad;
    EXPECT_FALSE(kLoad.LoadBuffer(kBuffer.data(), uiBody + 12 + 5));
}

TEST(NiRawImageData, CloneSharesTheImageAndFieldStringsNameTheFormat)
{
    NiRefPtr<Raw> spImage = MakeImage(Raw::FORMAT_RGBA, 1, 1, {1, 2, 3, 4});
    EXPECT_EQ(spImage->Clone(), spImage.Get());

    NiFieldStringList kList;
    spImage->AddFieldStrings(kList);
    const std::vector<std::string> kExpected = {"--- NiRawImageData ---", "m_eFormat = FORMAT_RGBA",
                                                "m_uiWidth = 1",          "m_uiHeight = 1",
                                                "m_uiPixelStride = 4",    "m_uiRowStride = 4"};
    ASSERT_GE(kList.size(), kExpected.size() + 2);
    const size_t uiFirst = kList.size() - kExpected.size() - 2;
    for (size_t i = 0; i < kExpected.size(); ++i)
        EXPECT_EQ(kList[uiFirst + i], kExpected[i]);
    EXPECT_EQ(kList[kList.size() - 2].rfind("m_pPal = ", 0), 0u);
    EXPECT_EQ(kList.back().rfind("m_pData = ", 0), 0u);
}

TEST(NiRawImageData, EquivalenceComparesFormatSizePaletteAndPixels)
{
    NiRefPtr<Raw> spA = TwoIndexImage();
    NiRefPtr<Raw> spB = TwoIndexImage();
    EXPECT_TRUE(spA->IsEquivalent(spB));
    SetPaletteEntry(*spB, 200, 0, 0, 0, 1);
    EXPECT_FALSE(spA->IsEquivalent(spB));
    NiRefPtr<Raw> spC = TwoIndexImage();
    spC->GetPixels()[1] = 2;
    EXPECT_FALSE(spA->IsEquivalent(spC));
    NiRefPtr<Raw> spRgb = MakeImage(Raw::FORMAT_RGB, 2, 1, {0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(spA->IsEquivalent(spRgb));
    EXPECT_FALSE(spA->IsEquivalent(nullptr));
}
