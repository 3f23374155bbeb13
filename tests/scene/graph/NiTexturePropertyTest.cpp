#include "NifTestSupport.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"

#include <gtest/gtest.h>

namespace
{
// A stand-in for the image class, which lives above the scene graph: its record derives from
// one named "NiImage", which is how the properties recognise images.
constinit const ClassRecord g_kImageRecord("NiImage", &NiObject::ms_kClassRecord);

class TestImage : public NiObject
{
    NiDeclareStream;

public:
    static const ClassRecord ms_kClassRecord;
    const ClassRecord* GetClassRecord() const override { return &ms_kClassRecord; }
};

constinit const ClassRecord TestImage::ms_kClassRecord("TestImage", &g_kImageRecord);
NiImplementCreateObject(TestImage);

std::unique_ptr<NiMultiTextureMap> Map(NiObject* pkImage, uint32_t uiTexCoord = 0)
{
    auto spMap = std::make_unique<NiMultiTextureMap>();
    spMap->SetImageObject(pkImage);
    spMap->SetTextureCoordinateSet(uiTexCoord);
    return spMap;
}

// A map entry of a multi-texture record in the newest form.
NifTest::Bytes& MapEntry(NifTest::Bytes& kBytes, uint32_t uiImageID, uint32_t uiTexCoord)
{
    return kBytes.U32(1).U32(uiImageID).U32(2).U32(1).U32(uiTexCoord).I16(0).I16(-75).U8(0).U8(0);
}

NiFieldStringList FieldStrings(const NiObject& kObject)
{
    NiFieldStringList kList;
    kObject.AddFieldStrings(kList);
    return kList;
}
} // namespace

TEST(NiTexturePropertyTest, PropertiesSharingAnImageStillShareItAfterLoading)
{
    NiRefPtr<TestImage> spImage = new TestImage;
    NiRefPtr<NiTextureProperty> spFirst = new NiTextureProperty;
    NiRefPtr<NiTextureProperty> spSecond = new NiTextureProperty;
    spFirst->SetImageObject(spImage);
    spSecond->SetImageObject(spImage);
    NiRefPtr<NiTextureProperty> spNone = new NiTextureProperty;

    const auto kTop = NifTest::Load(NifTest::Save({spFirst, spSecond, spNone}));
    ASSERT_EQ(kTop.size(), 3u);
    const NiTextureProperty* pkFirst = NiDynamicCast<NiTextureProperty>(kTop[0].Get());
    const NiTextureProperty* pkSecond = NiDynamicCast<NiTextureProperty>(kTop[1].Get());
    ASSERT_TRUE(pkFirst && pkSecond);
    ASSERT_NE(pkFirst->GetImageObject(), nullptr);
    EXPECT_EQ(pkFirst->GetImageObject()->GetClassRecord(), &TestImage::ms_kClassRecord);
    EXPECT_EQ(pkFirst->GetImageObject(), pkSecond->GetImageObject());
    EXPECT_TRUE(pkFirst->IsEquivalent(spFirst));
    EXPECT_FALSE(pkFirst->IsEquivalent(kTop[2]));

    // A clone shares the image.
    NiRefPtr<NiTextureProperty> spClone = static_cast<NiTextureProperty*>(spFirst->Clone());
    EXPECT_EQ(spClone->GetImageObject(), spImage.Get());
}

TEST(NiTexturePropertyTest, OnlyImagesAreTakenForImages)
{
    NiRefPtr<NiDitherProperty> spNotAnImage = new NiDitherProperty;
    NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty;
    spTexture->SetImageObject(spNotAnImage);
    EXPECT_EQ(spTexture->GetImageObject(), nullptr);
    NiMultiTextureMap kMap;
    kMap.SetImageObject(spNotAnImage);
    EXPECT_EQ(kMap.GetImageObject(), nullptr);

    // Links to an object of another class or to no object at all load as no image.
    NifTest::Bytes kBytes;
    kBytes.Property("NiAlphaProperty", 1, 0).U8(0);
    kBytes.Property("NiTextureProperty", 2, 0).U32(1);
    kBytes.Property("NiTextureProperty", 3, 0).U32(77);
    kBytes.Property("NiMultiTextureProperty", 4, 0).U32(6);
    MapEntry(kBytes, 1, 0).U32(0).U32(0).U32(0).U32(0);
    const auto kTop = NifTest::Load(kBytes.End().Get());
    ASSERT_EQ(kTop.size(), 4u);
    EXPECT_EQ(static_cast<NiTextureProperty*>(kTop[1].Get())->GetImageObject(), nullptr);
    EXPECT_EQ(static_cast<NiTextureProperty*>(kTop[2].Get())->GetImageObject(), nullptr);
    const NiMultiTextureMap* pkMap = static_cast<NiMultiTextureProperty*>(kTop[3].Get())->GetMap(0);
    ASSERT_NE(pkMap, nullptr);
    EXPECT_EQ(pkMap->GetImageObject(), nullptr);
}

TEST(NiTexturePropertyTest, RecordsBeforeVersion304CarryTwoMoreWords)
{
    // Each record is followed by another that must still be read in step.
    const std::string kOld = NifTest::Bytes("3.03")
                                 .Property("NiTextureProperty", 1, 0)
                                 .U32(0)
                                 .U32(0xAAAAAAAA)
                                 .U32(0xBBBBBBBB)
                                 .Property("NiDitherProperty", 2, 1)
                                 .End()
                                 .Get();
    const std::string kNew = NifTest::Bytes("3.04")
                                 .Property("NiTextureProperty", 1, 0)
                                 .U32(0)
                                 .Property("NiDitherProperty", 2, 1)
                                 .End()
                                 .Get();
    EXPECT_EQ(kOld.size(), kNew.size() + 8);
    for (const std::string* pkBytes : {&kOld, &kNew})
    {
        const auto kTop = NifTest::Load(*pkBytes);
        ASSERT_EQ(kTop.size(), 2u);
        EXPECT_TRUE(kTop[0]->IsEquivalent(NiTextureProperty::GetDefault()));
        EXPECT_EQ(static_cast<NiDitherProperty*>(kTop[1].Get())->GetFlags(), 1);
    }
}

TEST(NiMultiTexturePropertyTest, GlowAlphaMapIsLostAndDecalMapsKeepTheirImages)
{
    NiRefPtr<TestImage> spGlowAlpha = new TestImage;
    NiRefPtr<TestImage> spDecal = new TestImage;
    NiRefPtr<TestImage> spOtherDecal = new TestImage;
    NiRefPtr<NiMultiTextureProperty> spProperty = new NiMultiTextureProperty;
    spProperty->SetMap(NiMultiTextureProperty::GLOW_ALPHA_MAP, Map(spGlowAlpha));
    spProperty->SetMap(5, Map(spDecal, 1));
    spProperty->SetMap(6, Map(spOtherDecal, 2));
    EXPECT_EQ(spProperty->GetMapCount(), 7u);

    const std::vector<char> kBuffer = NifTest::Save({spProperty});
    uint32_t uiCount = 0;
    std::memcpy(&uiCount, kBuffer.data() + NifTest::FieldsOffset(kBuffer, "NiMultiTextureProperty"), 4);
    EXPECT_EQ(uiCount, 7u);

    const auto kTop = NifTest::Load(kBuffer);
    // The glow alpha map's image is not even saved.
    ASSERT_EQ(kTop.size(), 1u);
    const NiMultiTextureProperty* pkLoaded = NiDynamicCast<NiMultiTextureProperty>(kTop[0].Get());
    ASSERT_TRUE(pkLoaded);
    EXPECT_EQ(pkLoaded->GetMapCount(), 7u);
    EXPECT_EQ(pkLoaded->GetMap(NiMultiTextureProperty::GLOW_ALPHA_MAP), nullptr);
    ASSERT_TRUE(pkLoaded->GetMap(5) && pkLoaded->GetMap(6));
    EXPECT_EQ(pkLoaded->GetMap(5)->GetTextureCoordinateSet(), 1u);
    EXPECT_EQ(pkLoaded->GetMap(6)->GetTextureCoordinateSet(), 2u);
    ASSERT_TRUE(pkLoaded->GetMap(5)->GetImageObject() && pkLoaded->GetMap(6)->GetImageObject());
    EXPECT_NE(pkLoaded->GetMap(5)->GetImageObject(), pkLoaded->GetMap(6)->GetImageObject());

    spProperty->SetMap(NiMultiTextureProperty::GLOW_ALPHA_MAP, nullptr);
    EXPECT_TRUE(pkLoaded->IsEquivalent(spProperty));
}

TEST(NiMultiTexturePropertyTest, ARecordOfExactlyFiveEntriesFillsTheGlowAlphaSlot)
{
    NifTest::Bytes kBytes;
    kBytes.Text("Top Level Object").Text("TestImage").U32(9);
    kBytes.Property("NiMultiTextureProperty", 1, 0).U32(5).U32(0).U32(0).U32(0).U32(0);
    MapEntry(kBytes, 9, 3);
    const auto kTop = NifTest::Load(kBytes.End().Get());
    ASSERT_EQ(kTop.size(), 2u);
    const NiMultiTextureProperty* pkProperty = NiDynamicCast<NiMultiTextureProperty>(kTop[1].Get());
    ASSERT_TRUE(pkProperty);
    EXPECT_EQ(pkProperty->GetMapCount(), 6u);
    const NiMultiTextureMap* pkGlowAlpha = pkProperty->GetMap(NiMultiTextureProperty::GLOW_ALPHA_MAP);
    ASSERT_NE(pkGlowAlpha, nullptr);
    EXPECT_EQ(pkGlowAlpha->GetImageObject(), kTop[0].Get());
    EXPECT_EQ(pkGlowAlpha->GetTextureCoordinateSet(), 3u);
}

TEST(NiMultiTexturePropertyTest, MapEntriesBeforeVersion304LackTheirLastFields)
{
    const std::string kBytes = NifTest::Bytes("3.03")
                                   .Property("NiMultiTextureProperty", 1, 0)
                                   .U32(6)
                                   .U32(0)
                                   .U32(1) // the detail map: image, clamp, filter, coordinate set
                                   .U32(0)
                                   .U32(1)
                                   .U32(2)
                                   .U32(4)
                                   .U32(0)
                                   .U32(0)
                                   .U32(0)
                                   .Property("NiDitherProperty", 2, 1)
                                   .End()
                                   .Get();
    const auto kTop = NifTest::Load(kBytes);
    ASSERT_EQ(kTop.size(), 2u);
    const NiMultiTextureMap* pkDetail =
        static_cast<NiMultiTextureProperty*>(kTop[0].Get())->GetMap(NiMultiTextureProperty::DETAIL_MAP);
    ASSERT_NE(pkDetail, nullptr);
    EXPECT_EQ(pkDetail->GetClampMode(), 1u);
    EXPECT_EQ(pkDetail->GetFilterMode(), 2u);
    EXPECT_EQ(pkDetail->GetTextureCoordinateSet(), 4u);
    EXPECT_EQ(pkDetail->GetL(), 0);
    EXPECT_EQ(pkDetail->GetK(), -75);
    EXPECT_EQ(static_cast<NiDitherProperty*>(kTop[1].Get())->GetFlags(), 1);
}

TEST(NiMultiTexturePropertyTest, MapCountsBeyondTheRecordFailTheLoad)
{
    for (uint32_t uiCount : {0xFFFFFFFFu, 1000000u, 7u})
    {
        SCOPED_TRACE(uiCount);
        NifTest::Bytes kBytes;
        kBytes.Property("NiMultiTextureProperty", 1, 0).U32(uiCount).U32(0).U32(0).U32(0).U32(0).U32(0);
        EXPECT_TRUE(NifTest::Load(kBytes.End().Get()).empty());
    }
}

TEST(NiMultiTexturePropertyTest, MapsAreComparedByTheirFieldsNotTheirImages)
{
    NiRefPtr<TestImage> spFirstImage = new TestImage;
    NiRefPtr<TestImage> spSecondImage = new TestImage;
    NiRefPtr<NiMultiTextureProperty> spFirst = new NiMultiTextureProperty;
    NiRefPtr<NiMultiTextureProperty> spSecond = new NiMultiTextureProperty;
    spFirst->SetMap(NiMultiTextureProperty::GLOSS_MAP, Map(spFirstImage));
    spSecond->SetMap(NiMultiTextureProperty::GLOSS_MAP, Map(spSecondImage));
    EXPECT_TRUE(spFirst->IsEquivalent(spSecond));

    spSecond->GetMap(NiMultiTextureProperty::GLOSS_MAP)->SetParam1(1);
    EXPECT_FALSE(spFirst->IsEquivalent(spSecond));
    spSecond->SetMap(NiMultiTextureProperty::GLOSS_MAP, Map(nullptr));
    EXPECT_FALSE(spFirst->IsEquivalent(spSecond));
    spSecond->SetMap(NiMultiTextureProperty::GLOSS_MAP, nullptr);
    EXPECT_FALSE(spFirst->IsEquivalent(spSecond));
    spSecond->SetMap(7, nullptr);
    EXPECT_EQ(spSecond->GetMapCount(), 8u);
    EXPECT_FALSE(spSecond->IsEquivalent(NiMultiTextureProperty::GetDefault()));

    // A clone has maps of its own that share the images.
    NiRefPtr<NiMultiTextureProperty> spClone = static_cast<NiMultiTextureProperty*>(spFirst->Clone());
    ASSERT_NE(spClone->GetMap(NiMultiTextureProperty::GLOSS_MAP), nullptr);
    EXPECT_NE(spClone->GetMap(NiMultiTextureProperty::GLOSS_MAP),
              spFirst->GetMap(NiMultiTextureProperty::GLOSS_MAP));
    EXPECT_EQ(spClone->GetMap(NiMultiTextureProperty::GLOSS_MAP)->GetImageObject(), spFirstImage.Get());
    EXPECT_TRUE(spClone->IsEquivalent(spFirst));
}

TEST(NiMultiTexturePropertyTest, FieldStringsShowOnlyTheSlotsThatHoldMaps)
{
    NiRefPtr<NiMultiTextureProperty> spProperty = new NiMultiTextureProperty;
    const size_t uiEmptyLines = FieldStrings(*spProperty).size();
    spProperty->SetMap(NiMultiTextureProperty::DETAIL_MAP, Map(nullptr, 2));
    const NiFieldStringList kList = FieldStrings(*spProperty);
    ASSERT_EQ(kList.size(), uiEmptyLines + 7);
    const std::vector<std::string> kTail(kList.end() - 7, kList.end());
    EXPECT_EQ(kTail, (std::vector<std::string>{"MultiTexture Detail Map 1", "m_spImage  = (nil)",
                                               "m_eClamp  = WRAP_S_WRAP_T", "m_eFilter  = FILTER_NEAREST",
                                               "m_uiTexCoord  = 2", "m_sL = 0", "m_sK = -75"}));
    EXPECT_EQ(NiMultiTextureProperty::SlotHeading(9), "MultiTexture Decal Map 9");
    EXPECT_EQ(NiMultiTextureProperty::SlotHeading(4), "MultiTexture Glow Alpha Map 4");
}
