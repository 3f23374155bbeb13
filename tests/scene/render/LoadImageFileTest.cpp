#include "ImageFileWriters.h"
#include "tests/scene/graph/ImageTestSupport.h"

#include "scene/object/MemoryBufferStream.h"
#include "scene/object/NiStream.h"
#include "scene/render/LoadImageFile.h"
#include "scene/graph/NiRawImageData.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace imagefiles;

namespace
{
// A picture with runs that cross row ends, single pixels, and colours in every channel.
NiRefPtr<NiRawImageData> MakePicture(NiRawImageData::Format eFormat, uint32_t uiWidth = 5,
                                     uint32_t uiHeight = 3)
{
    NiRefPtr<NiRawImageData> spImage = new NiRawImageData(eFormat, uiWidth, uiHeight);
    uint8_t* pucPixel = spImage->GetPixels();
    for (uint32_t i = 0; i < uiWidth * uiHeight; ++i)
    {
        const uint32_t uiValue = i < 7 ? 3 : i * 37; // the first seven pixels are one run
        for (uint32_t c = 0; c < spImage->GetPixelStride(); ++c)
            *pucPixel++ = static_cast<uint8_t>(uiValue + 50 * c);
    }
    return spImage;
}

bool ReadWith(bool (*pfnReader)(BinaryStream&, NiRawImageData&), const std::string& kBytes,
              NiRawImageData& kTarget)
{
    MemoryBufferStream kStream(kBytes.data(), uint32_t(kBytes.size()));
    return pfnReader(kStream, kTarget);
}

void ExpectSameImage(const NiRawImageData& kExpected, const NiRawImageData& kActual)
{
    ASSERT_EQ(kActual.GetFormat(), kExpected.GetFormat());
    ASSERT_EQ(kActual.GetWidth(), kExpected.GetWidth());
    ASSERT_EQ(kActual.GetHeight(), kExpected.GetHeight());
    EXPECT_EQ(PixelBytes(kActual), PixelBytes(kExpected));
}
} // namespace

TEST(LoadImageFile, EveryWriterFormatDecodesToTheSamePicture)
{
    TempFolder kFolder;
    for (const auto eFormat : {NiRawImageData::FORMAT_RGB, NiRawImageData::FORMAT_RGBA})
    {
        NiRefPtr<NiRawImageData> spPicture = MakePicture(eFormat);
        const bool bAlpha = eFormat == NiRawImageData::FORMAT_RGBA;
        const struct
        {
            const char* m_pcName;
            std::string m_kBytes;
        } CASES[] = {
            {"plain.tga", MakeTga(*spPicture, 2)},
            {"topfirst.TGA", MakeTga(*spPicture, 2, true)},
            {"packets.tga", MakeTga(*spPicture, 10)},
            {"mapped.tga", MakeTga(*spPicture, 1)},
            {"mappedpackets.Tga", MakeTga(*spPicture, 9, true)},
            {"picture.bmp", MakeBmp(*spPicture, bAlpha ? 32 : 24)},
            {"topdown.BMP", MakeBmp(*spPicture, bAlpha ? 32 : 24, true)},
            {"verbatim.rgb", MakeSgi(*spPicture, false)},
            {"packets.rgba", MakeSgi(*spPicture, true)},
        };
        for (const auto& kCase : CASES)
        {
            SCOPED_TRACE(kCase.m_pcName);
            const std::string kPath = kFolder.WriteFile(kCase.m_pcName, kCase.m_kBytes);
            NiRawImageData kLoaded;
            ASSERT_TRUE(LoadImageFile(kPath.c_str(), kLoaded));
            ExpectSameImage(*spPicture, kLoaded);
        }
    }
}

TEST(LoadImageFile, PalettizedBmpKeepsIndicesAndPalette)
{
    // Width 3: a 4-bit row is two bytes plus two of padding.
    for (const uint32_t uiBits : {4u, 8u})
    {
        SCOPED_TRACE(uiBits);
        NiRawImageData kPicture(NiRawImageData::FORMAT_PALETTIZED, 3, 2);
        const uint8_t aucIndices[] = {1, 2, 3, 15, 0, 7};
        std::memcpy(kPicture.GetPixels(), aucIndices, sizeof(aucIndices));
        for (uint32_t i = 0; i < 16; ++i)
            SetPaletteEntry(kPicture, i, uint8_t(i * 10), uint8_t(i * 5), uint8_t(255 - i), 0);
        const std::string kFile = MakeBmp(kPicture, uiBits);
        if (uiBits == 4)
        {
            EXPECT_EQ(kFile.size(), 54u + 64u + 2 * 4u);
        }
        NiRawImageData kLoaded;
        ASSERT_TRUE(ReadWith(&ReadBmpImage, kFile, kLoaded));
        ExpectSameImage(kPicture, kLoaded);
        EXPECT_EQ(0, std::memcmp(kLoaded.GetPalette(), kPicture.GetPalette(), 16 * 4));
    }
}

TEST(LoadImageFile, NamesPrefixesAndNifFiles)
{
    TempFolder kFolder;
    NiRefPtr<NiRawImageData> spPicture = MakePicture(NiRawImageData::FORMAT_RGB);
    kFolder.WriteFile("a.TGA", MakeTga(*spPicture, 2));
    NiRawImageData kLoaded;
    EXPECT_TRUE(LoadImageFile(("FILE://" + kFolder.Path("a.TGA")).c_str(), kLoaded));
    EXPECT_TRUE(LoadImageFile(("file://" + kFolder.Path("a.tga")).c_str(), kLoaded));
    ExpectSameImage(*spPicture, kLoaded);

    NiStream kOne;
    kOne.AddTopObject(spPicture);
    ASSERT_TRUE(kOne.SaveFile(kFolder.Path("one.nif").c_str()));
    NiRawImageData kFromNif;
    ASSERT_TRUE(LoadImageFile(kFolder.Path("one.NIF").c_str(), kFromNif));
    ExpectSameImage(*spPicture, kFromNif);

    // Two top-level objects fail even when the first is raw image data.
    NiStream kTwo;
    kTwo.AddTopObject(spPicture);
    kTwo.AddTopObject(MakePicture(NiRawImageData::FORMAT_RGBA));
    ASSERT_TRUE(kTwo.SaveFile(kFolder.Path("two.nif").c_str()));
    EXPECT_FALSE(LoadImageFile(kFolder.Path("two.nif").c_str(), kLoaded));

    kFolder.WriteFile("a.png", MakeTga(*spPicture, 2));
    for (const std::string& kName :
         {kFolder.Path("a.png"), kFolder.Path("noextension"), kFolder.Path("missing.tga")})
        EXPECT_FALSE(LoadImageFile(kName.c_str(), kLoaded)) << kName;
    EXPECT_FALSE(LoadImageFile(nullptr, kLoaded));
}

TEST(LoadImageFile, PixelDecodingRules)
{
    // A 16-bit TGA pixel 0x7fff is (248, 248, 248) in an RGB image.
    std::string kTga16;
    for (const uint32_t uiByte : {0u, 0u, 2u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 1u, 0u, 1u, 0u, 16u, 0u})
        PutU8(kTga16, uiByte);
    PutU16LE(kTga16, 0x7fff);
    NiRawImageData kImage;
    ASSERT_TRUE(ReadWith(&ReadTgaImage, kTga16, kImage));
    EXPECT_EQ(kImage.GetFormat(), NiRawImageData::FORMAT_RGB);
    EXPECT_EQ(PixelBytes(kImage), (std::vector<uint8_t>{248, 248, 248}));

    // SGI: one channel is grey, two channels are grey with alpha from the second.
    NiRefPtr<NiRawImageData> spPicture = MakePicture(NiRawImageData::FORMAT_RGBA, 2, 2);
    ASSERT_TRUE(ReadWith(&ReadSgiImage, MakeSgi(*spPicture, false, 1), kImage));
    EXPECT_EQ(kImage.GetFormat(), NiRawImageData::FORMAT_RGB);
    EXPECT_EQ(PixelAt(kImage, 1, 0),
              (std::vector<uint8_t>{PixelAt(*spPicture, 1, 0)[0], PixelAt(*spPicture, 1, 0)[0],
                                    PixelAt(*spPicture, 1, 0)[0], 255}));
    ASSERT_TRUE(ReadWith(&ReadSgiImage, MakeSgi(*spPicture, true, 2), kImage));
    EXPECT_EQ(kImage.GetFormat(), NiRawImageData::FORMAT_RGBA);
    const std::vector<uint8_t> kSource = PixelAt(*spPicture, 0, 1);
    EXPECT_EQ(PixelAt(kImage, 0, 1), (std::vector<uint8_t>{kSource[0], kSource[0], kSource[0], kSource[3]}));
}

TEST(LoadImageFile, HeaderChecksFailTheRead)
{
    NiRefPtr<NiRawImageData> spRgba = MakePicture(NiRawImageData::FORMAT_RGBA);
    NiRefPtr<NiRawImageData> spRgb = MakePicture(NiRawImageData::FORMAT_RGB);
    std::string kBmpCompressed = MakeBmp(*spRgba, 32);
    kBmpCompressed[30] = 1;
    std::string kBmp24Compressed = MakeBmp(*spRgb, 24);
    kBmp24Compressed[30] = 1; // not examined below 32 bits
    std::string kSgiWideRunLength = MakeSgi(*spRgb, true);
    kSgiWideRunLength[3] = 2;
    std::string kTgaType4 = MakeTga(*spRgb, 2);
    kTgaType4[2] = 4;
    std::string kTgaLongMap = MakeTga(*spRgb, 1);
    kTgaLongMap[3] = char(0xF0); // first index 16368 + length > 16382
    kTgaLongMap[4] = 0x3F;
    std::string kSgiMagic = MakeSgi(*spRgb, false);
    kSgiMagic[1] = 0;

    const struct
    {
        const char* m_pcName;
        bool (*m_pfnReader)(BinaryStream&, NiRawImageData&);
        std::string m_kBytes;
        bool m_bReads;
    } CASES[] = {
        {"32-bit bmp, compression 1", &ReadBmpImage, kBmpCompressed, false},
        {"24-bit bmp, compression 1", &ReadBmpImage, kBmp24Compressed, true},
        {"sgi run-length with 2 bytes per channel", &ReadSgiImage, kSgiWideRunLength, false},
        {"tga image type 4", &ReadTgaImage, kTgaType4, false},
        {"tga map past 16382 entries", &ReadTgaImage, kTgaLongMap, false},
        {"sgi magic", &ReadSgiImage, kSgiMagic, false},
    };
    for (const auto& kCase : CASES)
    {
        NiRawImageData kImage;
        EXPECT_EQ(ReadWith(kCase.m_pfnReader, kCase.m_kBytes, kImage), kCase.m_bReads) << kCase.m_pcName;
    }
}

// Sizes, indices and offsets from files are checked against the file and its tables.
TEST(LoadImageFile, MalformedFilesFailWithoutReadingOutside)
{
    NiRefPtr<NiRawImageData> spRgb = MakePicture(NiRawImageData::FORMAT_RGB, 6, 4);
    NiRefPtr<NiRawImageData> spRgba = MakePicture(NiRawImageData::FORMAT_RGBA, 6, 4);
    using Reader = bool (*)(BinaryStream&, NiRawImageData&);
    const std::pair<Reader, std::string> FILES[] = {
        {&ReadTgaImage, MakeTga(*spRgb, 2)},     {&ReadTgaImage, MakeTga(*spRgba, 10)},
        {&ReadTgaImage, MakeTga(*spRgb, 9)},     {&ReadBmpImage, MakeBmp(*spRgb, 24)},
        {&ReadBmpImage, MakeBmp(*spRgba, 32)},   {&ReadSgiImage, MakeSgi(*spRgb, false)},
        {&ReadSgiImage, MakeSgi(*spRgba, true)},
    };
    // Every cut of a good file fails (an SGI run-length file may lose only its last row's end).
    for (const auto& [pfnReader, kBytes] : FILES)
    {
        for (size_t uiLength = 0; uiLength < kBytes.size(); ++uiLength)
        {
            NiRawImageData kImage;
            const bool bRead = ReadWith(pfnReader, kBytes.substr(0, uiLength), kImage);
            EXPECT_FALSE(bRead) << "cut at " << uiLength << " of " << kBytes.size();
        }
    }

    // A header that claims a large picture in a tiny file allocates nothing and fails.
    std::string kTgaHuge = MakeTga(*spRgb, 2);
    kTgaHuge[12] = kTgaHuge[13] = kTgaHuge[14] = kTgaHuge[15] = char(0xFF);
    std::string kTgaHugePackets = MakeTga(*spRgb, 10);
    kTgaHugePackets[12] = kTgaHugePackets[13] = kTgaHugePackets[14] = kTgaHugePackets[15] = char(0xFF);
    std::string kBmpHuge = MakeBmp(*spRgb, 24);
    for (int i = 18; i < 26; ++i)
        kBmpHuge[i] = char(0x7F);
    std::string kBmpMinHeight = MakeBmp(*spRgb, 24);
    kBmpMinHeight.replace(22, 4, std::string("\x00\x00\x00\x80", 4));
    std::string kSgiHuge = MakeSgi(*spRgb, false);
    kSgiHuge[6] = kSgiHuge[7] = kSgiHuge[8] = kSgiHuge[9] = char(0xFF);
    // A mapped pixel whose index the map does not cover (the map has entries 0 to n - 1).
    std::string kTgaBadIndex = MakeTga(*spRgb, 1);
    kTgaBadIndex.back() = char(200);
    // A run-length SGI row that points past the file, or into its tables.
    std::string kSgiRowOutside = MakeSgi(*spRgb, true);
    kSgiRowOutside[512] = char(0x7F);
    std::string kSgiRowInTables = MakeSgi(*spRgb, true);
    kSgiRowInTables.replace(512, 4, std::string("\x00\x00\x02\x00", 4));
    const std::pair<Reader, std::string> BAD[] = {
        {&ReadTgaImage, kTgaHuge},       {&ReadTgaImage, kTgaHugePackets}, {&ReadBmpImage, kBmpHuge},
        {&ReadBmpImage, kBmpMinHeight},  {&ReadSgiImage, kSgiHuge},        {&ReadTgaImage, kTgaBadIndex},
        {&ReadSgiImage, kSgiRowOutside}, {&ReadSgiImage, kSgiRowInTables},
    };
    for (size_t i = 0; i < std::size(BAD); ++i)
    {
        NiRawImageData kImage;
        EXPECT_FALSE(ReadWith(BAD[i].first, BAD[i].second, kImage)) << "case " << i;
    }
}

TEST(LoadImageFile, BmpColourTablesBeyond256EntriesAreSkipped)
{
    NiRawImageData kPicture(NiRawImageData::FORMAT_PALETTIZED, 2, 1);
    kPicture.GetPixels()[0] = 1;
    kPicture.GetPixels()[1] = 255;
    SetPaletteEntry(kPicture, 1, 10, 20, 30, 0);
    SetPaletteEntry(kPicture, 255, 40, 50, 60, 0);
    std::string kFile = MakeBmp(kPicture, 8);
    // 1000 colours claimed: 744 more entries before the pixels, which the offset points past.
    const std::string kExtra(744 * 4, '\x11');
    kFile.insert(54 + 1024, kExtra);
    kFile.replace(46, 4, std::string("\xE8\x03\x00\x00", 4));
    const uint32_t uiOffset = 54 + 4000;
    kFile.replace(10, 4, std::string(reinterpret_cast<const char*>(&uiOffset), 4));
    NiRawImageData kLoaded;
    ASSERT_TRUE(ReadWith(&ReadBmpImage, kFile, kLoaded));
    ExpectSameImage(kPicture, kLoaded);
    EXPECT_EQ(PixelAt(kLoaded, 1, 0), (std::vector<uint8_t>{40, 50, 60, 0}));
}
