#include "RenderLayerFixture.h"

#include "scene/graph/NiRawImageData.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDDImage.h"
#include "tests/support/TempFolder.h"

#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace
{
// A device image over raw pixels: a w x h RGB image whose pixel (x, y) is (x * 16, y * 16, 200).
NiRefPtr<NiDDImage> MakeRgbImage(uint32_t uiWidth, uint32_t uiHeight, bool bMipmapped)
{
    NiRefPtr<NiRawImageData> spRaw = new NiRawImageData(NiRawImageData::FORMAT_RGB, uiWidth, uiHeight);
    for (uint32_t y = 0; y < uiHeight; ++y)
    {
        for (uint32_t x = 0; x < uiWidth; ++x)
        {
            uint8_t* pucPixel = spRaw->GetPixels() + y * spRaw->GetRowStride() + 3 * x;
            pucPixel[0] = static_cast<uint8_t>(x * 16);
            pucPixel[1] = static_cast<uint8_t>(y * 16);
            pucPixel[2] = 200;
        }
    }
    NiImage::SetImageFactory(&NiDDImage::Create);
    NiRefPtr<NiImage> spImage = NiImage::CreateFromRawData(
        spRaw, bMipmapped ? NiImage::MODE_ON : NiImage::MODE_OFF, NiImage::TEX_DEFAULT, NiImage::MODE_OFF);
    return NiDynamicCast<NiDDImage>(spImage.Get());
}

// The 32-bit word at (x, y) of a locked surface.
uint32_t WordAt(IDirectDrawSurface7* pkSurface, uint32_t x, uint32_t y)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    EXPECT_EQ(pkSurface->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    uint32_t uiWord = 0;
    std::memcpy(&uiWord, static_cast<uint8_t*>(kDesc.lpSurface) + y * kDesc.lPitch + 4 * x, 4);
    pkSurface->Unlock(nullptr);
    return uiWord;
}
} // namespace

TEST(NiDDImage, TextureFormatChoice)
{
    using Image = NiImage;
    constexpr int32_t PAL = NiRawImageData::FORMAT_PALETTIZED;
    constexpr int32_t RGB = NiRawImageData::FORMAT_RGB;
    constexpr int32_t RGBA = NiRawImageData::FORMAT_RGBA;
    NiPixelLayout akLayouts[7];
    const struct
    {
        int32_t m_eRaw;
        bool m_bMipmapped;
        bool m_bTrueColor;
        Image::PrefTexFormat m_ePreferred;
        std::vector<int> m_kMissing;
        uint32_t m_uiChosen;
    } CASES[] = {
        {RGB, false, true, Image::TEX_DEFAULT, {}, Image::TEX_RGB888},
        {RGB, false, true, Image::TEX_RGB565, {Image::TEX_RGB565}, Image::TEX_RGB888},
        {RGB, false, true, Image::TEX_RGB565, {Image::TEX_RGB565, Image::TEX_RGB888}, Image::TEX_RGBA8888},
        {RGB, false, false, Image::TEX_DEFAULT, {}, Image::TEX_RGB565},
        {RGBA, false, false, Image::TEX_DEFAULT, {}, Image::TEX_RGBA4444},
        {RGBA, false, true, Image::TEX_DEFAULT, {}, Image::TEX_RGBA8888},
        {PAL, false, true, Image::TEX_DEFAULT, {}, Image::TEX_PAL8},
        {PAL, true, true, Image::TEX_DEFAULT, {}, Image::TEX_RGB888},
        {PAL, false, false, Image::TEX_DEFAULT, {Image::TEX_PAL8}, Image::TEX_RGB565},
        {RGB, false, true, Image::TEX_PAL8, {}, Image::TEX_RGB888},
        {RGB, false, false, Image::TEX_RGB555, {}, Image::TEX_RGB555},
        {RGB, false, true, Image::TEX_DEFAULT, {0, 1, 2, 3, 4, 5, 6}, NiDDImage::FORMAT_COUNT},
    };
    for (size_t i = 0; i < std::size(CASES); ++i)
    {
        const NiPixelLayout* apkTable[7];
        for (int f = 0; f < 7; ++f)
            apkTable[f] = &akLayouts[f];
        for (int iMissing : CASES[i].m_kMissing)
            apkTable[iMissing] = nullptr;
        EXPECT_EQ(NiDDImage::ChooseTextureFormat(CASES[i].m_eRaw, CASES[i].m_bMipmapped,
                                                 CASES[i].m_bTrueColor, CASES[i].m_ePreferred, apkTable),
                  CASES[i].m_uiChosen)
            << "case " << i;
    }
}

TEST(NiDDImage, FormatNumbersMatchOnMasksOrPalettes)
{
    NiPixelLayout kPalettized;
    kPalettized.m_bPalettized = 1;
    kPalettized.m_ucBitsPerPixel = 8;
    NiPixelLayout kOtherPalettized = kPalettized;
    kOtherPalettized.m_ucBitsPerPixel = 4;
    DDPIXELFORMAT kFormat = {};
    kFormat.dwFlags = DDPF_RGB;
    kFormat.dwRGBBitCount = 32;
    kFormat.dwRBitMask = 0xff0000;
    kFormat.dwGBitMask = 0xff00;
    kFormat.dwBBitMask = 0xff;
    const NiPixelLayout k32 = NiDDPixelFormat::ToLayout(kFormat);
    kFormat.dwRGBBitCount = 24;
    const NiPixelLayout k24 = NiDDPixelFormat::ToLayout(kFormat);

    const uint32_t uiPalettized = NiPixelLayout::GetFormatId(kPalettized);
    EXPECT_GE(uiPalettized, 1u);
    EXPECT_EQ(NiPixelLayout::GetFormatId(kOtherPalettized), uiPalettized);
    EXPECT_EQ(NiPixelLayout::GetFormatId(k32), NiPixelLayout::GetFormatId(k24));
    EXPECT_NE(NiPixelLayout::GetFormatId(k32), uiPalettized);
    EXPECT_EQ(kPalettized.m_uiFormatNumber, uiPalettized);
}

// A mip-mapped image makes one system-memory surface whose levels hold the 2 x 2 reductions; a
// change refills that surface in place.
TEST(NiDDImage, SourceSurfaceCarriesTheMipChainAndRefillsInPlace)
{
    RecordingWorld kWorld;
    IDirectDraw7* pkDirectDraw = MakeDirectDraw();
    TextureFormatTable kTable(kWorld.World());
    NiRefPtr<NiDDImage> spImage = MakeRgbImage(4, 4, true);
    ASSERT_TRUE(spImage);
    EXPECT_EQ(spImage->GetMipLevels(), 0u); // known once a surface is made

    kWorld.World().ClearCalls();
    IDirectDrawSurface7* pkSurface = nullptr;
    const NiPixelLayout* pkLayout = nullptr;
    ASSERT_TRUE(spImage->GetSourceSurface(pkDirectDraw, kTable.m_apkTable, true, false, pkSurface, pkLayout));
    EXPECT_EQ(pkLayout, kTable.m_apkTable[NiImage::TEX_RGB888]);
    EXPECT_EQ(spImage->GetMipLevels(), 2u);
    EXPECT_EQ(kWorld.World().CountCalls("CreateSurface"), 1u);
    EXPECT_TRUE(spImage->GetFlags() & NiImage::DEVICE_COPIES);

    // Top level pixel (1, 2); level 1 pixel (0, 0) averages (0..1, 0..1).
    EXPECT_EQ(WordAt(pkSurface, 1, 2) & 0xFFFFFF, 0x1020C8u);
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
    IDirectDrawSurface7* pkLevel = nullptr;
    ASSERT_EQ(pkSurface->GetAttachedSurface(&kCaps, &pkLevel), DD_OK);
    EXPECT_EQ(WordAt(pkLevel, 1, 1) & 0xFFFFFF, 0x2828C8u);
    pkLevel->Release();

    // The same request answers the same surface; after a change it is refilled, not remade.
    spImage->GetRawImage()->GetPixels()[0] = 0xFF;
    spImage->MarkChanged();
    kWorld.World().ClearCalls();
    IDirectDrawSurface7* pkAgain = nullptr;
    ASSERT_TRUE(spImage->GetSourceSurface(pkDirectDraw, kTable.m_apkTable, true, false, pkAgain, pkLayout));
    EXPECT_EQ(pkAgain, pkSurface);
    EXPECT_EQ(kWorld.World().CountCalls("CreateSurface"), 0u);
    EXPECT_EQ(WordAt(pkSurface, 0, 0) & 0xFF0000, 0xFF0000u);

    // An image with neither name nor raw pixels has nothing to make a surface from.
    NiRefPtr<NiDDImage> spEmpty = static_cast<NiDDImage*>(NiDDImage::Create());
    EXPECT_FALSE(spEmpty->GetSourceSurface(pkDirectDraw, kTable.m_apkTable, true, false, pkAgain, pkLayout));
    EXPECT_EQ(NiImage::GetLastError(), NiDDImage::ERR_NO_SOURCE);
    spImage = nullptr;
    pkDirectDraw->Release();
}

// Releasing one DirectDraw object's surfaces leaves the surfaces other objects made, buffer
// images included.
TEST(NiDDImage, ReleasingForOneDirectDrawLeavesTheOthers)
{
    RecordingWorld kWorld;
    IDirectDraw7* pkFirst = MakeDirectDraw();
    IDirectDraw7* pkSecond = MakeDirectDraw();
    TextureFormatTable kTable(kWorld.World());
    NiRefPtr<NiDDImage> spImage = MakeRgbImage(2, 2, false);
    IDirectDrawSurface7* pkSurface = nullptr;
    const NiPixelLayout* pkLayout = nullptr;
    ASSERT_TRUE(spImage->GetSourceSurface(pkFirst, kTable.m_apkTable, true, false, pkSurface, pkLayout));
    ASSERT_TRUE(spImage->GetSourceSurface(pkSecond, kTable.m_apkTable, true, false, pkSurface, pkLayout));
    EXPECT_EQ(spImage->GetSurfaceCount(), 2u);

    IDirectDrawSurface7* pkTarget = MakeRenderTarget(pkSecond, 8, 8);
    ASSERT_TRUE(pkTarget);
    NiRefPtr<NiDDBufferImage> spBuffer = NiDDBufferImage::Create(pkTarget, pkSecond);
    pkTarget->Release();

    EXPECT_TRUE(NiDDImage::ReleaseAllForDirectDraw(pkFirst));
    EXPECT_EQ(spImage->GetSurfaceCount(), 1u);
    IDirectDrawSurface7* pkBufferSurface = nullptr;
    EXPECT_TRUE(spBuffer->GetSurface(pkBufferSurface));
    EXPECT_TRUE(NiDDImage::ReleaseAllForDirectDraw(pkSecond));
    EXPECT_EQ(spImage->GetSurfaceCount(), 0u);
    EXPECT_FALSE(spBuffer->GetSurface(pkBufferSurface));
    NiRawImageData kRaw;
    EXPECT_FALSE(spBuffer->CopyToRawImage(kRaw));
    pkFirst->Release();
    pkSecond->Release();
}

TEST(NiDDImage, BufferImageCopiesTheTargetWithoutAlpha)
{
    RecordingWorld kWorld;
    IDirectDraw7* pkDirectDraw = MakeDirectDraw();
    IDirectDrawSurface7* pkTarget = MakeRenderTarget(pkDirectDraw, 4, 2);
    ASSERT_TRUE(pkTarget);
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    ASSERT_EQ(pkTarget->Lock(nullptr, &kDesc, DDLOCK_WAIT, nullptr), DD_OK);
    const uint32_t uiRed = 0x00FF0000;
    std::memcpy(static_cast<uint8_t*>(kDesc.lpSurface) + kDesc.lPitch + 4 * 3, &uiRed, 4);
    pkTarget->Unlock(nullptr);

    NiRefPtr<NiDDBufferImage> spBuffer = NiDDBufferImage::Create(pkTarget, pkDirectDraw);
    ASSERT_TRUE(spBuffer);
    EXPECT_EQ(spBuffer->GetWidth(), 4u);
    NiRawImageData kRaw;
    ASSERT_TRUE(spBuffer->CopyToRawImage(kRaw));
    EXPECT_EQ(kRaw.GetFormat(), NiRawImageData::FORMAT_RGB);
    const uint8_t* pucPixel = kRaw.GetPixels() + kRaw.GetRowStride() + 3 * 3;
    EXPECT_EQ(pucPixel[0], 255);
    EXPECT_EQ(pucPixel[1], 0);
    EXPECT_EQ(pucPixel[2], 0);
    EXPECT_EQ(NiDDBufferImage::Create(nullptr, pkDirectDraw), nullptr);
    spBuffer = nullptr;
    pkTarget->Release();
    pkDirectDraw->Release();
}

TEST(NiDDImage, DeviceFilesRoundTripAndMalformedOnesAreRefused)
{
    RecordingWorld kWorld;
    TempFolder kFolder;
    IDirectDraw7* pkDirectDraw = MakeDirectDraw();
    NiRefPtr<NiDDImage> spImage = MakeRgbImage(3, 2, false);
    DDPIXELFORMAT kFormat = {};
    kFormat.dwSize = sizeof(kFormat);
    kFormat.dwFlags = DDPF_RGB;
    kFormat.dwRGBBitCount = 24;
    kFormat.dwRBitMask = 0xff0000;
    kFormat.dwGBitMask = 0xff00;
    kFormat.dwBBitMask = 0xff;
    NiPixelLayout kLayout = NiDDPixelFormat::ToLayout(kFormat);
    IDirectDrawSurface7* pkSurface = nullptr;
    ASSERT_TRUE(spImage->GetDeviceSurface(pkDirectDraw, kLayout, pkSurface));
    // The save replaces an earlier file rather than writing into it: a second name of the old
    // file keeps the old bytes, and no other file is left behind.
    const std::string kPath = kFolder.WriteFile("image.dds7", "old");
    ASSERT_EQ(link(kPath.c_str(), kFolder.Path("earlier.dds7").c_str()), 0);
    ASSERT_TRUE(spImage->SaveDeviceFile(kPath.c_str()));
    EXPECT_EQ(TempFolder::ReadFile(kFolder.Path("earlier.dds7")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kFolder.Path()),
                            std::filesystem::directory_iterator()),
              2);

    // Rows of 9 bytes padded to 16: a data size of 32.
    const std::string kBytes = TempFolder::ReadFile(kPath);
    ASSERT_EQ(kBytes.size(), 12u + 32u + 4u + 32u);
    uint32_t uiDataSize = 0;
    std::memcpy(&uiDataSize, kBytes.data() + 44, 4);
    EXPECT_EQ(uiDataSize, 32u);
    EXPECT_EQ(kBytes.substr(48 + 9, 7), std::string(7, '\0'));

    NiRefPtr<NiDDImage> spLoaded = NiDDImage::CreateFromDeviceFile(kPath.c_str());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetWidth(), 3u);
    IDirectDrawSurface7* pkLoadedSurface = nullptr;
    ASSERT_TRUE(spLoaded->GetDeviceSurface(pkDirectDraw, kLayout, pkLoadedSurface));
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    ASSERT_EQ(pkLoadedSurface->Lock(nullptr, &kDesc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    EXPECT_EQ(0, std::memcmp(kDesc.lpSurface, kBytes.data() + 48, 32));
    pkLoadedSurface->Unlock(nullptr);

    const auto Patch = [&](size_t uiAt, uint32_t uiValue)
    {
        std::string kCopy = kBytes;
        std::memcpy(kCopy.data() + uiAt, &uiValue, 4);
        return kCopy;
    };
    const std::string BAD[] = {
        kBytes.substr(0, kBytes.size() - 1), // short data
        kBytes.substr(0, 20),                // short header
        Patch(44, 33),                       // data size that does not match the levels
        Patch(0, 0x40000000),                // a width the data cannot hold
        Patch(8, 5),                         // more levels than a 3 x 2 image has
        Patch(12 + 12, 13),                  // a depth no surface has
    };
    for (size_t i = 0; i < std::size(BAD); ++i)
    {
        kFolder.WriteFile("bad.dds7", BAD[i]);
        EXPECT_EQ(NiDDImage::CreateFromDeviceFile(kFolder.Path("bad.dds7").c_str()), nullptr) << "case " << i;
    }
    spImage = nullptr;
    spLoaded = nullptr;
    pkDirectDraw->Release();
}

// A device file may hold a mip chain down to 1 x 1: log2 of the longer side plus one levels.
TEST(NiDDImage, DeviceFilesHoldMipChainsDownToOnePixel)
{
    RecordingWorld kWorld;
    TempFolder kFolder;
    IDirectDraw7* pkDirectDraw = MakeDirectDraw();
    DDPIXELFORMAT kFormat = {};
    kFormat.dwSize = sizeof(kFormat);
    kFormat.dwFlags = DDPF_RGB;
    kFormat.dwRGBBitCount = 24;
    kFormat.dwRBitMask = 0xff0000;
    kFormat.dwGBitMask = 0xff00;
    kFormat.dwBBitMask = 0xff;
    const NiPixelLayout kLayout = NiDDPixelFormat::ToLayout(kFormat);

    struct Case
    {
        uint32_t m_uiWidth, m_uiHeight, m_uiLevels;
        bool m_bAccepted;
    };
    const Case akCases[] = {
        {4, 4, 3, true},  {4, 1, 3, true}, {8, 2, 4, true}, {4, 4, 2, true}, {4, 4, 4, false}, // past 1 x 1
        {6, 4, 2, false}, // not a power of two
    };
    for (const Case& kCase : akCases)
    {
        // Rows of 3-byte pixels padded to 8 bytes; each level's pixels are its level number.
        std::string kBytes;
        const auto Put32 = [&](uint32_t uiValue)
        { kBytes.append(reinterpret_cast<const char*>(&uiValue), 4); };
        std::string kData;
        for (uint32_t i = 0, w = kCase.m_uiWidth, h = kCase.m_uiHeight; i < kCase.m_uiLevels;
             ++i, w = std::max(w / 2, 1u), h = std::max(h / 2, 1u))
        {
            kData.append(size_t((3 * w + 7) / 8 * 8) * h, char(i + 1));
        }
        Put32(kCase.m_uiWidth);
        Put32(kCase.m_uiHeight);
        Put32(kCase.m_uiLevels);
        kBytes.append(reinterpret_cast<const char*>(&kFormat), sizeof(kFormat));
        Put32(uint32_t(kData.size()));
        kBytes += kData;
        const std::string kPath = kFolder.WriteFile("chain.dds7", kBytes);

        NiRefPtr<NiDDImage> spImage = NiDDImage::CreateFromDeviceFile(kPath.c_str());
        const std::string kName = std::to_string(kCase.m_uiWidth) + " x " + std::to_string(kCase.m_uiHeight) +
                                  ", " + std::to_string(kCase.m_uiLevels) + " levels";
        ASSERT_EQ(spImage != nullptr, kCase.m_bAccepted) << kName;
        if (!spImage)
            continue;
        EXPECT_EQ(spImage->GetMipLevels(), kCase.m_uiLevels) << kName;
        IDirectDrawSurface7* pkSurface = nullptr;
        ASSERT_TRUE(spImage->GetDeviceSurface(pkDirectDraw, kLayout, pkSurface)) << kName;
        // The last level holds the last level's bytes.
        pkSurface->AddRef();
        IDirectDrawSurface7* pkLevel = pkSurface;
        uint32_t uiLevels = 1;
        DDSCAPS2 kCaps;
        kCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
        IDirectDrawSurface7* pkNext = nullptr;
        while (SUCCEEDED(pkLevel->GetAttachedSurface(&kCaps, &pkNext)) && pkNext)
        {
            pkLevel->Release();
            pkLevel = pkNext;
            pkNext = nullptr;
            ++uiLevels;
        }
        EXPECT_EQ(uiLevels, kCase.m_uiLevels) << kName;
        EXPECT_EQ(WordAt(pkLevel, 0, 0) & 0xFFFFFF, 0x010101u * kCase.m_uiLevels) << kName;
        pkLevel->Release();
    }
    pkDirectDraw->Release();
}
