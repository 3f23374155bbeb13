#include "ImageTestSupport.h"

#include "scene/graph/NiImage.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiSystem.h"
#include "scene/object/PathParts.h"
#include "tests/support/RecordingRender.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// A device-image stand-in: the factory's product.

class TestDeviceImage : public NiImage
{
    NiDeclareRTTI;
};
NiImplementRTTI(TestDeviceImage, NiImage);

namespace
{
// What the fake renderer side saw, and which renderer refuses to prepare.
std::vector<std::pair<NiRender*, NiImage*>> g_kPrepared;
NiRender* g_pkRefusingRenderer = nullptr;
int g_iFactoryCalls = 0;
bool g_bFactoryFails = false;

NiImage* MakeDeviceImage()
{
    ++g_iFactoryCalls;
    return g_bFactoryFails ? nullptr : new TestDeviceImage;
}

bool RecordPrepare(NiRender* pkRenderer, NiImage* pkImage)
{
    g_kPrepared.emplace_back(pkRenderer, pkImage);
    return pkRenderer != g_pkRefusingRenderer;
}

// Reads an existing .tga file as a fixed 2 x 1 RGB picture, and a .nif file that holds raw image
// data as that data.
bool FakeLoader(const char* pcFileName, NiRawImageData& kTarget)
{
    const PathParts kParts(pcFileName);
    if (NiStricmp(kParts.m_kExt.c_str(), ".nif") == 0)
    {
        NiStream kStream;
        if (!kStream.LoadFile(pcFileName) || kStream.GetTopObjectCount() != 1)
            return false;
        auto* pkRaw = NiDynamicCast<NiRawImageData>(kStream.GetTopObjectAt(0));
        if (!pkRaw)
            return false;
        kTarget.TakeFrom(*pkRaw);
        return true;
    }
    if (NiStricmp(kParts.m_kExt.c_str(), ".tga") != 0 || TempFolder::ReadFile(pcFileName).empty())
        return false;
    const uint8_t aucPixels[] = {1, 2, 3, 4, 5, 6};
    return kTarget.ConvertFrom(NiPixelLayout::RGB24, 6, 2, 1, aucPixels);
}

// Fake renderers: distinct addresses that are never dereferenced.
int g_aiRendererSlots[4];
NiRender* Renderer(int i)
{
    return reinterpret_cast<NiRender*>(&g_aiRendererSlots[i]);
}

std::vector<char> SaveToBuffer(std::initializer_list<NiObject*> kTopObjects)
{
    NiStream kStream;
    for (NiObject* pkObject : kTopObjects)
        kStream.AddTopObject(pkObject);
    std::vector<char> kBuffer;
    EXPECT_TRUE(kStream.SaveBuffer(kBuffer));
    return kBuffer;
}

class NiImageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        NiImage::SetImageFactory(&MakeDeviceImage);
        NiImage::SetPrepareFunction(&RecordPrepare);
        NiImage::SetFileLoader(&FakeLoader);
        NiImage::SetLastError(0);
        NiImage::RemoveAllRenderers();
        NiStream::SetImageSearchPath(nullptr);
        g_kPrepared.clear();
        g_pkRefusingRenderer = nullptr;
        g_iFactoryCalls = 0;
        g_bFactoryFails = false;
    }

    void TearDown() override
    {
        NiImage::SetImageFactory(nullptr);
        NiImage::SetPrepareFunction(nullptr);
        NiImage::SetFileLoader(nullptr);
        NiImage::RemoveAllRenderers();
        NiImage::SetDefaultMipmap(false);
        NiImage::SetDefaultSecondOption(false);
    }
};
} // namespace

//--- Creation -----------------------------------------------------------------------------------

TEST_F(NiImageTest, CreationFailuresSetTheLastError)
{
    EXPECT_EQ(NiImage::CreateFromFile(nullptr, 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(NiImage::GetLastError(), NiImage::ERR_NO_FILE_NAME);
    EXPECT_EQ(NiImage::CreateFromRawData(nullptr, 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(NiImage::GetLastError(), NiImage::ERR_NO_RAW_DATA);

    g_bFactoryFails = true;
    EXPECT_EQ(NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(NiImage::GetLastError(), NiImage::ERR_FACTORY_FAILED);

    // Without a factory nothing is made and the error stays as it was.
    NiImage::SetImageFactory(nullptr);
    NiImage::SetLastError(0);
    EXPECT_EQ(NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(NiImage::GetLastError(), 0);
}

TEST_F(NiImageTest, CreateFromFileKeepsANormalisedNameAndTheRequestedOptions)
{
    struct Case
    {
        int32_t iMipmap, iSecond;
        bool bDefaultMipmap, bDefaultSecond;
        uint32_t uiFlags;
    };
    const Case akCases[] = {
        {2, 2, false, false, 0},
        {1, 1, false, false, NiImage::MIPMAPPED | NiImage::SECOND_OPTION},
        {0, 0, true, true, 0},
        {2, 2, true, false, NiImage::MIPMAPPED},
        {2, 2, false, true, NiImage::SECOND_OPTION},
    };
    for (const Case& kCase : akCases)
    {
        NiImage::SetDefaultMipmap(kCase.bDefaultMipmap);
        NiImage::SetDefaultSecondOption(kCase.bDefaultSecond);
        NiRefPtr<NiImage> spImage =
            NiImage::CreateFromFile("maps\\wood.tga", kCase.iMipmap, NiImage::TEX_RGB565, kCase.iSecond);
        ASSERT_TRUE(spImage);
        EXPECT_EQ(spImage->GetFlags(), kCase.uiFlags);
        EXPECT_STREQ(spImage->GetFileName(), "maps/wood.tga");
        EXPECT_EQ(spImage->GetPrefTexFormat(), NiImage::TEX_RGB565);
        EXPECT_EQ(spImage->GetImageScale(), 128.5f);
        EXPECT_EQ(spImage->GetRevision(), 0u);
    }
    // A format without a table entry stands for the default.
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("wood.tga", 2, 99, 2);
    EXPECT_EQ(spImage->GetPrefTexFormat(), NiImage::TEX_DEFAULT);
}

TEST_F(NiImageTest, ImagesGetRisingIdentityNumbers)
{
    NiRefPtr<NiImage> spFirst = NiImage::CreateFromFile("a.tga", 2, NiImage::TEX_DEFAULT, 2);
    NiRefPtr<NiImage> spSecond = NiImage::CreateFromFile("b.tga", 2, NiImage::TEX_DEFAULT, 2);
    ASSERT_TRUE(spFirst && spSecond);
    EXPECT_GE(spFirst->GetImageID(), 1u);
    EXPECT_EQ(spSecond->GetImageID(), spFirst->GetImageID() + 1);
}

TEST_F(NiImageTest, CreateFromRawDataReleasesTheCallsReferenceOnEveryPath)
{
    const int32_t iLive = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiImage> spImage = NiImage::CreateFromRawData(
            MakeImage(NiRawImageData::FORMAT_RGB, 1, 1, {1, 2, 3}), 1, NiImage::TEX_PAL8, 0);
        ASSERT_TRUE(spImage);
        ASSERT_TRUE(spImage->GetRawImage());
        EXPECT_EQ(spImage->GetRawImage()->GetRefCount(), 1);
        EXPECT_EQ(spImage->GetFlags(), uint32_t(NiImage::MIPMAPPED));
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLive);

    // No factory: the raw image given with no other holder goes with the call.
    NiImage::SetImageFactory(nullptr);
    EXPECT_EQ(NiImage::CreateFromRawData(new NiRawImageData, 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLive);
}

TEST_F(NiImageTest, EveryListedRendererPreparesANewImageAndARefusalDestroysIt)
{
    NiImage::AddRenderer(Renderer(0));
    NiImage::AddRenderer(nullptr);
    NiImage::AddRenderer(Renderer(1));
    EXPECT_EQ(NiImage::GetRendererCount(), 2u);

    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("a.tga", 2, NiImage::TEX_DEFAULT, 2);
    ASSERT_TRUE(spImage);
    ASSERT_EQ(g_kPrepared.size(), 2u);
    EXPECT_EQ(g_kPrepared[0], std::make_pair(Renderer(0), spImage.Get()));
    EXPECT_EQ(g_kPrepared[1].first, Renderer(1));

    g_kPrepared.clear();
    EXPECT_TRUE(spImage->PrepareForRenderers());
    EXPECT_EQ(g_kPrepared.size(), 2u);

    // The first renderer refuses: the second is never asked and the image is gone.
    g_kPrepared.clear();
    g_pkRefusingRenderer = Renderer(0);
    const int32_t iLive = NiObject::GetLiveObjectCount();
    NiImage::SetLastError(0);
    EXPECT_EQ(NiImage::CreateFromRawData(new NiRawImageData, 2, NiImage::TEX_DEFAULT, 2), nullptr);
    EXPECT_EQ(g_kPrepared.size(), 1u);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLive);
    EXPECT_EQ(NiImage::GetLastError(), 0);
    EXPECT_FALSE(spImage->PrepareForRenderers());
}

TEST_F(NiImageTest, RemovingTheRendererUnderTheCursorLetsIterationContinue)
{
    for (int i = 0; i < 3; ++i)
        NiImage::AddRenderer(Renderer(i));
    NiImage::ResetRendererIterator();
    EXPECT_EQ(NiImage::GetNextRenderer(), Renderer(0));
    NiImage::RemoveRenderer(Renderer(1));
    EXPECT_EQ(NiImage::GetNextRenderer(), Renderer(2));
    EXPECT_EQ(NiImage::GetNextRenderer(), nullptr);

    // A renderer not in the list changes nothing; a renderer listed twice leaves once per call.
    NiImage::RemoveRenderer(Renderer(3));
    NiImage::AddRenderer(Renderer(0));
    NiImage::RemoveRenderer(Renderer(0));
    NiImage::ResetRendererIterator();
    EXPECT_EQ(NiImage::GetNextRenderer(), Renderer(2));
    EXPECT_EQ(NiImage::GetNextRenderer(), Renderer(0));
    NiImage::RemoveAllRenderers();
    EXPECT_EQ(NiImage::GetNextRenderer(), nullptr);
    EXPECT_EQ(NiImage::GetRendererCount(), 0u);
}

TEST(NiImage, ComputeMipmapLevelsNeedsPowersOfTwo)
{
    const uint32_t auiCases[][3] = {{256, 64, 6}, {256, 100, 0}, {1, 1, 0},
                                    {0, 8, 0},    {2, 1, 0},     {1024, 1024, 10}};
    for (const auto& auiCase : auiCases)
        EXPECT_EQ(NiImage::ComputeMipmapLevels(auiCase[0], auiCase[1]), auiCase[2])
            << auiCase[0] << "x" << auiCase[1];
}

//--- Files --------------------------------------------------------------------------------------

TEST_F(NiImageTest, LoadRawFromFileFillsTheScratchImage)
{
    TempFolder kFolder;
    const std::string kFile = kFolder.WriteFile("wood.tga", "tga");
    NiRawImageData* pkFirst = NiImage::LoadRawFromFile(kFile.c_str());
    ASSERT_TRUE(pkFirst);
    EXPECT_EQ(PixelBytes(*pkFirst), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(NiImage::LoadRawFromFile(kFile.c_str()), pkFirst);
    EXPECT_EQ(NiImage::LoadRawFromFile(kFolder.Path("missing.tga").c_str()), nullptr);
    EXPECT_EQ(NiImage::LoadRawFromFile(nullptr), nullptr);
}

TEST_F(NiImageTest, ConvertToNifWritesTheImageBesideItsFileAndRenamesIt)
{
    TempFolder kFolder;
    const std::string kTga = kFolder.WriteFile("wood.TGA", "tga");
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile(kTga.c_str(), 2, NiImage::TEX_DEFAULT, 2);
    ASSERT_TRUE(spImage);
    ASSERT_TRUE(spImage->ConvertToNif());
    const std::string kNif = kFolder.Path("wood.nif");
    EXPECT_EQ(spImage->GetFileName(), kNif);

    NiStream kStream;
    ASSERT_TRUE(kStream.LoadFile(kNif.c_str()));
    ASSERT_EQ(kStream.GetTopObjectCount(), 1u);
    auto* pkRaw = NiDynamicCast<NiRawImageData>(kStream.GetTopObjectAt(0));
    ASSERT_TRUE(pkRaw);
    EXPECT_EQ(PixelBytes(*pkRaw), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));

    // A .nif image is read and written again under its own name.
    ASSERT_TRUE(spImage->ConvertToNif());
    EXPECT_EQ(spImage->GetFileName(), kNif);
    EXPECT_TRUE(kStream.LoadFile(kNif.c_str()));

    NiRefPtr<NiImage> spMissing =
        NiImage::CreateFromFile(kFolder.Path("none.tga").c_str(), 2, NiImage::TEX_DEFAULT, 2);
    EXPECT_FALSE(spMissing->ConvertToNif());
    EXPECT_EQ(spMissing->GetFileName(), kFolder.Path("none.tga"));
    NiRefPtr<NiImage> spUnnamed = NiImage::CreateFromRawData(new NiRawImageData, 2, NiImage::TEX_DEFAULT, 2);
    EXPECT_FALSE(spUnnamed->ConvertToNif());
}

//--- Stream -------------------------------------------------------------------------------------

TEST_F(NiImageTest, ImagesSavedInANifFileLoadBackEqual)
{
    TempFolder kFolder;
    NiRefPtr<NiRawImageData> spRaw = MakeImage(NiRawImageData::FORMAT_PALETTIZED, 2, 1, {0, 7});
    SetPaletteEntry(*spRaw, 7, 9, 8, 7, 6);
    NiRefPtr<NiImage> spByRaw = NiImage::CreateFromRawData(spRaw, 2, NiImage::TEX_RGBA4444, 2);
    spByRaw->SetImageScale(3.5f);
    NiRefPtr<NiImage> spByName =
        NiImage::CreateFromFile(kFolder.WriteFile("wood.tga", "tga").c_str(), 2, NiImage::TEX_PAL8, 2);
    ASSERT_TRUE(spByRaw && spByName);

    NiStream kSave;
    kSave.AddTopObject(spByRaw);
    kSave.AddTopObject(spByName);
    const std::string kFile = kFolder.Path("images.nif");
    ASSERT_TRUE(kSave.SaveFile(kFile.c_str()));

    g_kPrepared.clear();
    NiImage::AddRenderer(Renderer(0));
    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadFile(kFile.c_str()));
    ASSERT_EQ(kLoad.GetTopObjectCount(), 2u);
    auto* pkByRaw = NiDynamicCast<NiImage>(kLoad.GetTopObjectAt(0));
    auto* pkByName = NiDynamicCast<NiImage>(kLoad.GetTopObjectAt(1));
    ASSERT_TRUE(pkByRaw && pkByName);
    EXPECT_TRUE(pkByRaw->IsOfClass(&TestDeviceImage::ms_kClassRecord));
    EXPECT_TRUE(pkByRaw->IsEquivalent(spByRaw));
    EXPECT_TRUE(pkByName->IsEquivalent(spByName));
    EXPECT_NE(pkByRaw->GetRawImage(), spRaw.Get());
    EXPECT_EQ(pkByName->GetRawImage(), nullptr);
    // Each loaded image is prepared by the listed renderer once its links are resolved.
    EXPECT_EQ(g_kPrepared.size(), 2u);

    pkByRaw->SetImageScale(3.0f);
    EXPECT_FALSE(pkByRaw->IsEquivalent(spByRaw));
    EXPECT_FALSE(pkByName->IsEquivalent(spByRaw));
}

TEST_F(NiImageTest, TwoObjectsNamingOneFileShareOneImageAfterLoad)
{
    TempFolder kFolder;
    kFolder.WriteFile("wood.tga", "tga");
    // Two spellings that resolve to the one file beside the model.
    NiRefPtr<NiTextureProperty> spFirst = new NiTextureProperty("wood.tga");
    NiRefPtr<NiTextureProperty> spSecond = new NiTextureProperty("textures\\wood.tga");
    NiRefPtr<NiTextureProperty> spOther = new NiTextureProperty("stone.tga");
    ASSERT_NE(spFirst->GetImage(), spSecond->GetImage());

    NiStream kSave;
    for (NiObject* pkObject : {spFirst.Get(), spSecond.Get(), spOther.Get()})
        kSave.AddTopObject(pkObject);
    const std::string kModel = kFolder.Path("ship.nif");
    ASSERT_TRUE(kSave.SaveFile(kModel.c_str()));

    const int iFactoryCallsBefore = g_iFactoryCalls;
    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    {
        NiStream kLoad;
        ASSERT_TRUE(kLoad.LoadFile(kModel.c_str()));
        ASSERT_EQ(kLoad.GetTopObjectCount(), 3u);
        auto* pkFirst = NiDynamicCast<NiTextureProperty>(kLoad.GetTopObjectAt(0));
        auto* pkSecond = NiDynamicCast<NiTextureProperty>(kLoad.GetTopObjectAt(1));
        auto* pkOther = NiDynamicCast<NiTextureProperty>(kLoad.GetTopObjectAt(2));
        ASSERT_TRUE(pkFirst && pkSecond && pkOther && pkFirst->GetImage());
        EXPECT_EQ(pkFirst->GetImage(), pkSecond->GetImage());
        EXPECT_EQ(pkFirst->GetImage()->GetFileName(), kFolder.Path("wood.tga"));
        EXPECT_EQ(kLoad.FindImageByName(kFolder.Path("wood.tga").c_str()), pkFirst->GetImage());
        // A name that resolves nowhere is kept as written.
        ASSERT_TRUE(pkOther->GetImage());
        EXPECT_STREQ(pkOther->GetImage()->GetFileName(), "stone.tga");
        // The factory made three images; the duplicate is gone again.
        EXPECT_EQ(g_iFactoryCalls - iFactoryCallsBefore, 3);
        EXPECT_EQ(NiObject::GetLiveObjectCount() - iLiveBefore, 3 + 2);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
}

TEST_F(NiImageTest, ADeviceImageSavesAsNiImage)
{
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2);
    ASSERT_EQ(spImage->GetClassRecord(), &TestDeviceImage::ms_kClassRecord);
    const std::vector<char> kBuffer = SaveToBuffer({spImage});
    EXPECT_NE(FindRecord(kBuffer, "NiImage"), std::string::npos);
    EXPECT_EQ(std::string(kBuffer.begin(), kBuffer.end()).find("TestDeviceImage"), std::string::npos);
}

TEST_F(NiImageTest, StreamsBeforeVersion304CarryNoImageScale)
{
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2);
    spImage->SetImageScale(2.0f);
    std::vector<char> kBuffer = SaveToBuffer({spImage});
    const std::string kCurrent = "Version 3.1\n";

    // The same record written by an older version: without the four scale bytes.
    std::vector<char> kOld = kBuffer;
    const size_t uiEnd = FindRecord(kOld, "End Of File");
    kOld.erase(kOld.begin() + static_cast<ptrdiff_t>(uiEnd) - 4,
               kOld.begin() + static_cast<ptrdiff_t>(uiEnd));
    std::string kText(kOld.begin(), kOld.end());
    kText.replace(kText.find(kCurrent), kCurrent.size(), "Version 3.03\n");
    NiStream kLoadOld;
    ASSERT_TRUE(kLoadOld.LoadBuffer(kText.data(), kText.size()));
    EXPECT_EQ(NiDynamicCast<NiImage>(kLoadOld.GetTopObjectAt(0))->GetImageScale(), 128.5f);

    std::string kNew(kBuffer.begin(), kBuffer.end());
    kNew.replace(kNew.find(kCurrent), kCurrent.size(), "Version 3.04\n");
    NiStream kLoadNew;
    ASSERT_TRUE(kLoadNew.LoadBuffer(kNew.data(), kNew.size()));
    EXPECT_EQ(NiDynamicCast<NiImage>(kLoadNew.GetTopObjectAt(0))->GetImageScale(), 2.0f);
}

TEST_F(NiImageTest, ImagesWithNeitherNameNorRawDataStayApartAndEmpty)
{
    NiRefPtr<NiImage> spFirst = NiImage::CreateFromRawData(new NiRawImageData, 2, NiImage::TEX_DEFAULT, 2);
    NiRefPtr<NiImage> spSecond = NiImage::CreateFromRawData(new NiRawImageData, 2, NiImage::TEX_DEFAULT, 2);
    spFirst->SetRawImage(nullptr);
    spSecond->SetRawImage(nullptr);
    const std::vector<char> kBuffer = SaveToBuffer({spFirst, spSecond});

    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    ASSERT_EQ(kLoad.GetTopObjectCount(), 2u);
    auto* pkFirst = NiDynamicCast<NiImage>(kLoad.GetTopObjectAt(0));
    auto* pkSecond = NiDynamicCast<NiImage>(kLoad.GetTopObjectAt(1));
    ASSERT_TRUE(pkFirst && pkSecond);
    EXPECT_NE(pkFirst, pkSecond);
    EXPECT_EQ(pkFirst->GetFileName(), nullptr);
    EXPECT_EQ(pkFirst->GetRawImage(), nullptr);
    EXPECT_TRUE(pkFirst->IsEquivalent(spFirst));
}

TEST_F(NiImageTest, MalformedImageRecordsAreMendedOrRefused)
{
    NiRefPtr<NiTextureProperty> spHolder = new NiTextureProperty;
    spHolder->SetImage(NiImage::CreateFromRawData(MakeImage(NiRawImageData::FORMAT_RGB, 1, 1, {1, 2, 3}), 2,
                                                  NiImage::TEX_DEFAULT, 2));
    // The raw image is a top-level object too, so that the load still holds it when the image
    // does not take it.
    const std::vector<char> kBuffer = SaveToBuffer({spHolder, spHolder->GetImage()->GetRawImage()});
    const size_t uiBody = RecordBody(kBuffer, "NiImage");
    ASSERT_NE(uiBody, std::string::npos);
    ASSERT_EQ(kBuffer[uiBody], 0); // linked to its raw image
    const size_t uiRawLink = uiBody + 1;
    const size_t uiPrefFormat = uiBody + 5;

    // A raw link that names the texture property: the image keeps no raw data rather than a wrong object.
    std::vector<char> kWrongClass = kBuffer;
    PutU32(kWrongClass, uiRawLink, 1);
    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kWrongClass.data(), kWrongClass.size()));
    auto* pkHolder = NiDynamicCast<NiTextureProperty>(kLoad.GetTopObjectAt(0));
    ASSERT_TRUE(pkHolder && pkHolder->GetImage());
    EXPECT_EQ(pkHolder->GetImage()->GetRawImage(), nullptr);

    // A preferred format beyond the table becomes the default.
    std::vector<char> kBadFormat = kBuffer;
    PutU32(kBadFormat, uiPrefFormat, 99);
    ASSERT_TRUE(kLoad.LoadBuffer(kBadFormat.data(), kBadFormat.size()));
    pkHolder = NiDynamicCast<NiTextureProperty>(kLoad.GetTopObjectAt(0));
    EXPECT_EQ(pkHolder->GetImage()->GetPrefTexFormat(), NiImage::TEX_DEFAULT);

    // A name longer than the rest of the file.
    NiRefPtr<NiImage> spNamed = NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2);
    std::vector<char> kLongName = SaveToBuffer({spNamed});
    PutU32(kLongName, RecordBody(kLongName, "NiImage") + 1, 0x7FFFFFFF);
    EXPECT_FALSE(kLoad.LoadBuffer(kLongName.data(), kLongName.size()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CORRUPT_RECORD);
    EXPECT_EQ(kLoad.FindImageByName("wood.tga"), nullptr);
}

TEST_F(NiImageTest, WithoutAFactoryAStreamWithImagesDoesNotLoad)
{
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("wood.tga", 2, NiImage::TEX_DEFAULT, 2);
    const std::vector<char> kBuffer = SaveToBuffer({spImage});
    NiImage::SetImageFactory(nullptr);
    NiStream kLoad;
    EXPECT_FALSE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_NO_LOADER);
}

TEST_F(NiImageTest, CopiesAndFieldStrings)
{
    NiRefPtr<NiImage> spImage = NiImage::CreateFromRawData(
        MakeImage(NiRawImageData::FORMAT_RGB, 1, 1, {1, 2, 3}), 2, NiImage::TEX_PAL8, 2);
    EXPECT_EQ(spImage->Clone(), nullptr);
    EXPECT_FALSE(spImage->MarkChanged());
    NiRefPtr<NiRawImageData> spCopy = spImage->CreateRawImageCopy();
    ASSERT_TRUE(spCopy);
    EXPECT_NE(spCopy.Get(), spImage->GetRawImage());
    EXPECT_TRUE(spCopy->IsEquivalent(spImage->GetRawImage()));

    NiFieldStringList kList;
    spImage->AddFieldStrings(kList);
    const std::vector<std::string> kExpected = {
        "--- NiImage ---",
        "m_pURL = NULL",
        "m_uiWidth = 0",
        "m_uiHeight = 0",
        "m_uiMipLevels = 0",
        "m_uiFlags = 0",
        "m_fImageScale = 1.285000e+02",
        "m_ePrefTexFormat = TEX_PAL8",
    };
    ASSERT_GE(kList.size(), kExpected.size() + 1);
    const size_t uiFirst = kList.size() - kExpected.size() - 1;
    for (size_t i = 0; i < kExpected.size(); ++i)
        EXPECT_EQ(kList[uiFirst + i], kExpected[i]);
    EXPECT_EQ(kList.back().rfind("m_spRaw = ", 0), 0u);
}

TEST_F(NiImageTest, TexturePropertiesMakeTheirImagesThroughTheFactory)
{
    NiRefPtr<NiTextureProperty> spByName = new NiTextureProperty("wood.tga");
    ASSERT_TRUE(spByName->GetImage());
    EXPECT_STREQ(spByName->GetImage()->GetFileName(), "wood.tga");
    EXPECT_EQ(spByName->GetImage()->GetPrefTexFormat(), NiImage::TEX_DEFAULT);

    NiRefPtr<NiTextureProperty> spByRaw = new NiTextureProperty(
        NiRefPtr<NiRawImageData>(MakeImage(NiRawImageData::FORMAT_RGB, 1, 1, {1, 2, 3})));
    ASSERT_TRUE(spByRaw->GetImage());
    EXPECT_EQ(spByRaw->GetImage()->GetRawImage()->GetRefCount(), 1);

    NiImage::SetImageFactory(nullptr);
    NiRefPtr<NiTextureProperty> spWithout = new NiTextureProperty("wood.tga");
    EXPECT_EQ(spWithout->GetImage(), nullptr);
}

TEST_F(NiImageTest, ListedRenderersPrepareImagesAndLeaveTheListWhenTheyDie)
{
    NiImage::SetPrepareFunction(nullptr);
    auto pkRenderer = std::make_unique<RecordingRender>();
    NiImage::AddRenderer(pkRenderer.get());

    NiRefPtr<NiImage> spImage =
        NiImage::CreateFromFile("hull.tga", NiImage::MODE_DEFAULT, 7, NiImage::MODE_DEFAULT);
    ASSERT_NE(spImage, nullptr);
    EXPECT_EQ(pkRenderer->CountCalls("PrepareImage"), 1u);

    pkRenderer->SetPrepareImageAnswer(false);
    EXPECT_EQ(NiImage::CreateFromFile("hull.tga", NiImage::MODE_DEFAULT, 7, NiImage::MODE_DEFAULT), nullptr);

    pkRenderer.reset();
    EXPECT_EQ(NiImage::GetRendererCount(), 0u);
}
