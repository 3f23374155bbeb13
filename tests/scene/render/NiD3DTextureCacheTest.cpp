#include "scene/render/NiD3DTextureCache.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scene/render/NiD3DRender.h"
#include "tests/scene/render/ImageFileWriters.h"
#include "tests/scene/render/RecordingDevice.h"
#include "tests/scene/render/TestTextureImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
using Cache = NiD3DTextureCache;

struct TextureCacheTest : ::testing::Test
{
    explicit TextureCacheTest(const RecordingDevice::Configure& kConfigure = {}) : kDevice(kConfigure)
    {
        spCache = Cache::GetShared(false, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
    }

    // The texture of the image, as a stage would ask for it.
    IDirectDrawSurface7* Texture(NiImage* pkImage, bool* pbChanged = nullptr)
    {
        NiRefPtr<NiImage> spSlot;
        IDirectDrawSurface7* pkTexture = nullptr;
        bool bChanged = false;
        bool bMipmapped = false;
        if (!spCache->GetTexture(-1, pkImage, spSlot, pkTexture, bChanged, bMipmapped))
            return nullptr;
        if (pbChanged)
            *pbChanged = bChanged;
        return pkTexture;
    }

    static DDSURFACEDESC2 DescOf(IDirectDrawSurface7* pkSurface)
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        pkSurface->GetSurfaceDesc(&kDesc);
        return kDesc;
    }

    win32::DebugOutputCapture kLog;
    TestTextureServices kServices;
    RecordingDevice kDevice;
    NiRefPtr<Cache> spCache;
};

// Texture memory for exactly two 16 x 16 textures of 16 bits.
struct SmallMemoryTest : TextureCacheTest
{
    SmallMemoryTest() : TextureCacheTest([](d3d7::World& kWorld) { kWorld.dwTextureMemory = 1024; }) {}
};
} // namespace

TEST(TextureCacheKeys, KeysFollowSizeFormatAndMipChain)
{
    struct Case
    {
        uint32_t uiLogWidth, uiLogHeight;
        bool bMipmapped;
        uint32_t uiFormat, uiSizeClass;
        uint32_t uiAspect, uiClass;
    };
    const Case akCases[] = {
        {8, 7, false, Cache::FORMAT_RGB565, 1, 5, 8}, // 256 x 128 of 16 bits
        {4, 4, true, Cache::FORMAT_RGBA8888, 2, 4, 2},
        {7, 4, false, Cache::FORMAT_RGB565, 1, 7, 4}, // wider by 8 or more
        {0, 4, false, Cache::FORMAT_RGB565, 1, 0, 0}, // taller by 16: aspect 0, class clamped at 0
        {11, 11, false, Cache::FORMAT_RGBA8888, 2, 4, 15},
    };
    for (const Case& kCase : akCases)
    {
        const uint32_t uiKey = Cache::ComputeKey(kCase.uiLogWidth, kCase.uiLogHeight, kCase.bMipmapped,
                                                 kCase.uiFormat, kCase.uiSizeClass);
        EXPECT_EQ(uiKey & 0xF, kCase.uiLogHeight);
        EXPECT_EQ(uiKey >> 4 & 0xF, kCase.uiLogWidth);
        EXPECT_EQ(uiKey >> 8 & 1, uint32_t(kCase.bMipmapped));
        EXPECT_EQ(uiKey >> 9 & 7, kCase.uiFormat + 1);
        EXPECT_EQ(uiKey >> 12 & 7, kCase.uiAspect) << kCase.uiLogWidth << "x" << kCase.uiLogHeight;
        EXPECT_EQ(uiKey >> 15 & 0xF, kCase.uiClass) << kCase.uiLogWidth << "x" << kCase.uiLogHeight;
    }
}

TEST_F(TextureCacheTest, TheDeviceFormatsAreFound)
{
    for (uint32_t uiFormat = 0; uiFormat < Cache::FORMAT_PAL8; ++uiFormat)
        EXPECT_TRUE(spCache->HasFormat(uiFormat)) << uiFormat;
    EXPECT_FALSE(spCache->HasFormat(Cache::FORMAT_PAL8));
    EXPECT_TRUE(spCache->HasAlphaFormats());
    const NiPixelLayout* pkLayout = spCache->GetLayout(Cache::FORMAT_RGBA4444);
    ASSERT_NE(pkLayout, nullptr);
    EXPECT_EQ(pkLayout->m_auiMask[NiPixelLayout::ALPHA], 0xF000u);
    EXPECT_EQ(pkLayout->m_aucShift[NiPixelLayout::RED], 8);
    EXPECT_EQ(pkLayout->m_aucLoss[NiPixelLayout::GREEN], 4);
    EXPECT_EQ(pkLayout->m_uiFormatIndex, uint32_t(Cache::FORMAT_RGBA4444));
}

TEST_F(TextureCacheTest, LevelsAboveTheMaximumSizeAreSkipped)
{
    spCache->SetMaxTextureSize(64, 64);
    // Nine levels from 512 down to 2: three are skipped.
    NiRefPtr<TestTextureImage> spMipmapped = TestTextureImage::Solid(512, 512, 0xFF0000FF, false, true);
    IDirectDrawSurface7* pkTexture = Texture(spMipmapped);
    ASSERT_NE(pkTexture, nullptr);
    EXPECT_EQ(DescOf(pkTexture).dwWidth, 64u);
    EXPECT_EQ(DescOf(pkTexture).dwMipMapCount, 6u);

    // Without levels to skip the texture keeps its size.
    NiRefPtr<TestTextureImage> spSingle = TestTextureImage::Solid(128, 128, 0xFF0000FF);
    pkTexture = Texture(spSingle);
    ASSERT_NE(pkTexture, nullptr);
    EXPECT_EQ(DescOf(pkTexture).dwWidth, 128u);
}

TEST_F(TextureCacheTest, ImagesThatCannotBeTexturesFailOnce)
{
    NiRefPtr<TestTextureImage> spOdd = TestTextureImage::Solid(100, 64, 0xFFFFFFFF);
    EXPECT_EQ(Texture(spOdd), nullptr);
    const uint32_t uiRequests = spOdd->GetSourceRequests();
    EXPECT_EQ(Texture(spOdd), nullptr);
    EXPECT_EQ(spOdd->GetSourceRequests(), uiRequests);
    EXPECT_EQ(spCache->GetLiveCount(), 0u);

    // A texture-less stage: no image, no texture, success.
    NiRefPtr<NiImage> spSlot;
    IDirectDrawSurface7* pkTexture = nullptr;
    bool bChanged = false;
    bool bMipmapped = false;
    EXPECT_TRUE(spCache->GetTexture(-1, nullptr, spSlot, pkTexture, bChanged, bMipmapped));
    EXPECT_EQ(pkTexture, nullptr);
}

namespace
{
struct SquareOnlyTest : TextureCacheTest
{
    SquareOnlyTest()
        : TextureCacheTest(
              [](d3d7::World& kWorld) {
                  kWorld.kDrivers[0].kDevices[0].kDesc.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
              })
    {
    }
};
} // namespace

TEST_F(SquareOnlyTest, NonSquareTexturesAreRefused)
{
    NiRefPtr<TestTextureImage> spWide = TestTextureImage::Solid(64, 32, 0xFFFFFFFF);
    EXPECT_EQ(Texture(spWide), nullptr);
    EXPECT_NE(kLog.GetText().find("(TexDebug): Non-square texture cannot be loaded to this hardware"),
              std::string::npos);
    EXPECT_EQ(spCache->GetFlags() & Cache::SQUARE_ONLY, uint32_t(Cache::SQUARE_ONLY));
}

TEST_F(SmallMemoryTest, FullMemoryReusesEvictsAndReachesThisFramesTexturesLast)
{
    NiRefPtr<TestTextureImage> spA = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    NiRefPtr<TestTextureImage> spB = TestTextureImage::Solid(16, 16, 0x00FF00FF);
    NiRefPtr<TestTextureImage> spC = TestTextureImage::Solid(16, 16, 0x0000FFFF);
    NiRefPtr<TestTextureImage> spD = TestTextureImage::Solid(16, 8, 0xFFFF00FF);
    NiRefPtr<TestTextureImage> spE = TestTextureImage::Solid(16, 16, 0x00FFFFFF);
    NiRefPtr<TestTextureImage> spF = TestTextureImage::Solid(32, 32, 0xFFFFFFFF);
    NiRefPtr<TestTextureImage> spG = TestTextureImage::Solid(32, 16, 0xFF00FFFF);

    spCache->BeginFrame();
    IDirectDrawSurface7* pkA = Texture(spA);
    ASSERT_NE(pkA, nullptr);
    ASSERT_NE(Texture(spB), nullptr);

    // Frame 2: C takes over A's surface (same key, not used in this frame).
    spCache->BeginFrame();
    EXPECT_EQ(Texture(spC), pkA);
    EXPECT_EQ(spCache->GetEvents(), uint32_t(Cache::EVENT_FRAME | Cache::EVENT_REUSED));

    // D has a key of its own: the least recently used texture, B, goes.
    ASSERT_NE(Texture(spD), nullptr);
    EXPECT_EQ(spCache->GetEvents() & Cache::EVENT_EVICTED, uint32_t(Cache::EVENT_EVICTED));
    EXPECT_EQ(spCache->GetLiveCount(), 2u);

    // E can only take over C's surface, which this frame already used.
    EXPECT_EQ(Texture(spE), pkA);
    EXPECT_EQ(spCache->GetEvents() & Cache::EVENT_TAKEN_OVER, uint32_t(Cache::EVENT_TAKEN_OVER));

    // G fits only where this frame's textures are: both go, and it is made.
    EXPECT_NE(Texture(spG), nullptr);
    EXPECT_EQ(spCache->GetEvents() &
                  (Cache::EVENT_REACHED_FRAME | Cache::EVENT_EVICTED | Cache::EVENT_NOT_MADE),
              uint32_t(Cache::EVENT_REACHED_FRAME | Cache::EVENT_EVICTED));
    EXPECT_EQ(spCache->GetLiveCount(), 1u);

    // F is larger than the whole memory: G goes too, and F is still not made.
    EXPECT_EQ(Texture(spF), nullptr);
    EXPECT_EQ(spCache->GetEvents() & Cache::EVENT_NOT_MADE, uint32_t(Cache::EVENT_NOT_MADE));
    EXPECT_EQ(spCache->GetLiveCount(), 0u);
    EXPECT_EQ(spCache->GetBytesInUse(0), 0u);
    EXPECT_NE(Texture(spD), nullptr);
}

TEST_F(SmallMemoryTest, LockedTexturesAreNeverEvicted)
{
    NiRefPtr<TestTextureImage> spLocked = TestTextureImage::Solid(32, 16, 0xFF0000FF);
    NiRefPtr<TestTextureImage> spOther = TestTextureImage::Solid(32, 16, 0x00FF00FF);
    spCache->BeginFrame();
    ASSERT_TRUE(spCache->Precache(spLocked, true, true, -1));
    spCache->BeginFrame();
    EXPECT_EQ(Texture(spOther), nullptr);
    EXPECT_EQ(spCache->GetLiveCount(), 1u);

    // Without eviction a precache fails where memory is short.
    spCache->Purge(nullptr, false, -1);
    EXPECT_EQ(spCache->GetLiveCount(), 1u);
    NiRefPtr<TestTextureImage> spThird = TestTextureImage::Solid(32, 16, 0x0000FFFF);
    EXPECT_FALSE(spCache->Precache(spOther, false, false, -1));
    EXPECT_FALSE(spCache->Precache(spThird, false, false, -1));
    spCache->Purge(nullptr, true, -1);
    EXPECT_EQ(spCache->GetLiveCount(), 0u);
}

TEST_F(TextureCacheTest, ChangedImagesUploadAgainIntoTheirTexture)
{
    NiRefPtr<TestTextureImage> spImage = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    bool bChanged = false;
    IDirectDrawSurface7* pkTexture = Texture(spImage, &bChanged);
    ASSERT_NE(pkTexture, nullptr);
    EXPECT_TRUE(bChanged);

    kDevice.ClearCalls();
    EXPECT_EQ(Texture(spImage), pkTexture);
    EXPECT_EQ(kDevice.Count("Blt"), 0u);

    spImage->Change();
    EXPECT_EQ(Texture(spImage, &bChanged), pkTexture);
    EXPECT_TRUE(bChanged);
    EXPECT_EQ(kDevice.Count("Blt"), 1u);
    EXPECT_EQ(kDevice.Count("CreateSurface"), 0u);

    spCache->InvalidateAll();
    EXPECT_EQ(Texture(spImage), pkTexture);
    EXPECT_EQ(kDevice.Count("Blt"), 2u);
}

TEST_F(TextureCacheTest, OneCachePerDirectDrawAndEveryNewHolderPurges)
{
    NiRefPtr<TestTextureImage> spImage = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    ASSERT_NE(Texture(spImage), nullptr);
    EXPECT_EQ(spCache->GetLiveCount(), 1u);

    Cache* pkSame =
        Cache::GetShared(false, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
    EXPECT_EQ(pkSame, spCache.Get());
    NiRefPtr<Cache> spSecond = pkSame;
    EXPECT_EQ(spCache->GetRefCount(), 2);
    EXPECT_EQ(spCache->GetLiveCount(), 0u);

    // The software registry is another.
    NiRefPtr<Cache> spSoftware =
        Cache::GetShared(false, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), false);
    EXPECT_NE(spSoftware.Get(), spCache.Get());

    ASSERT_NE(Texture(spImage), nullptr);
    spSecond = nullptr;
    EXPECT_EQ(spCache->GetRefCount(), 1);
    EXPECT_EQ(spCache->GetLiveCount(), 0u);
}

TEST_F(TextureCacheTest, DyingImagesLeaveTheCache)
{
    NiRefPtr<TestTextureImage> spImage = TestTextureImage::Solid(16, 16, 0xFF0000FF);
    ASSERT_NE(Texture(spImage), nullptr);
    spImage = nullptr;
    EXPECT_EQ(spCache->GetLiveCount(), 0u);
    EXPECT_EQ(spCache->GetBytesInUse(0), 0u);
}

// Device images named by files, with the renderer's image services.
TEST(TextureCacheFiles, ImagesWithoutASourceAreRememberedUntilChangedOrPurged)
{
    win32::DebugOutputCapture kLog;
    RecordingDevice kDevice;
    NiD3DRender::InstallImageFactory();
    {
        NiRefPtr<Cache> spCache =
            Cache::GetShared(false, true, kDevice.DirectDraw(), kDevice.Device(), kDevice.Desc(), true);
        TempFolder kFolder;
        NiRefPtr<NiRawImageData> spPixels = new NiRawImageData(NiRawImageData::FORMAT_RGB, 4, 4);
        const auto Missing = [&](const char* pcName)
        {
            return NiRefPtr<NiImage>(NiImage::CreateFromFile(kFolder.Path(pcName).c_str(), NiImage::MODE_OFF,
                                                             NiImage::TEX_DEFAULT, NiImage::MODE_OFF));
        };

        NiRefPtr<NiImage> spChanged = Missing("hull.tga");
        NiRefPtr<NiImage> spPurged = Missing("keel.tga");
        ASSERT_TRUE(spChanged && spPurged);
        EXPECT_EQ(spCache->GetFormat(spChanged), Cache::NO_FORMAT);
        EXPECT_EQ(spCache->GetFormat(spPurged), Cache::NO_FORMAT);

        // The files appear; the cache does not look for them again on its own.
        kFolder.WriteFile("hull.tga", imagefiles::MakeTga(*spPixels, 2));
        kFolder.WriteFile("keel.tga", imagefiles::MakeTga(*spPixels, 2));
        EXPECT_EQ(spCache->GetFormat(spChanged), Cache::NO_FORMAT);
        EXPECT_EQ(spCache->GetFormat(spPurged), Cache::NO_FORMAT);

        spChanged->MarkChanged();
        EXPECT_NE(spCache->GetFormat(spChanged), Cache::NO_FORMAT);
        EXPECT_EQ(spCache->GetFormat(spPurged), Cache::NO_FORMAT);
        spCache->Purge(nullptr, false, -1);
        EXPECT_NE(spCache->GetFormat(spPurged), Cache::NO_FORMAT);
    }
    NiD3DRender::RemoveImageFactory();
}
