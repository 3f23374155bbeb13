#include "scene/animation/NiSequenceStreamHelper.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/graph/NiStringExtraData.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
NiRefPtr<NiTextKeyExtraData> MakeKeys(std::initializer_list<std::pair<float, const char*>> kKeys)
{
    NiRefPtr<NiTextKeyExtraData> spData = new NiTextKeyExtraData;
    std::vector<TextKey> kList;
    for (const auto& [fTime, pcText] : kKeys)
        kList.emplace_back(fTime, pcText);
    spData->SetKeys(std::move(kList));
    return spData;
}
} // namespace

TEST(TextKeyTest, RecordHoldsCountTimesAndLengthPrefixedTexts)
{
    NiRefPtr<NiTextKeyExtraData> spKeys = MakeKeys({{0.0f, "abcde"}, {2.5f, "xyz"}});
    const std::vector<char> kBuffer = NifTest::Save({spKeys});
    NifTest::Bytes kExpected;
    kExpected.Text("Top Level Object").Text("NiTextKeyExtraData").U32(1).U32(0).U32(0);
    kExpected.U32(2).F32(0.0f).Text("abcde").F32(2.5f).Text("xyz").End();
    EXPECT_EQ(std::string(kBuffer.begin(), kBuffer.end()), kExpected.Get());

    const NiRefPtr<NiTextKeyExtraData> spLoaded = NifTest::RoundTrip(spKeys.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spKeys));
    EXPECT_STREQ(spLoaded->FindKey("xyz")->GetText(), "xyz");
}

TEST(TextKeyTest, EmptyTextsNextDataAndClones)
{
    // A text of length 0 loads as no text, saves back as length 0 and compares safely.
    NiRefPtr<NiTextKeyExtraData> spKeys = MakeKeys({{1.0f, nullptr}, {2.0f, "b"}});
    const NiRefPtr<NiTextKeyExtraData> spLoaded = NifTest::RoundTrip(spKeys.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetKeys()[0].GetText(), nullptr);
    EXPECT_TRUE(spLoaded->IsEquivalent(spKeys));
    EXPECT_FALSE(MakeKeys({{1.0f, "a"}, {2.0f, "b"}})->IsEquivalent(spKeys));

    // The rest of the chain counts.
    NiRefPtr<NiTextKeyExtraData> spChained = MakeKeys({{1.0f, nullptr}, {2.0f, "b"}});
    spChained->SetNext(new NiStringExtraData("next"));
    EXPECT_FALSE(spChained->IsEquivalent(spKeys));

    // A clone owns copies of the texts.
    NiRefPtr<NiTextKeyExtraData> spClone = static_cast<NiTextKeyExtraData*>(spKeys->MakeClone());
    spClone->GetKeys()[1].SetText("changed");
    EXPECT_STREQ(spKeys->GetKeys()[1].GetText(), "b");

    // A stored count the input cannot hold fails the load.
    NifTest::Bytes kBytes;
    kBytes.Text("Top Level Object").Text("NiTextKeyExtraData").U32(1).U32(0).U32(0).U32(0x40000000).End();
    EXPECT_TRUE(NifTest::Load(kBytes.Get()).empty());
}

TEST(TextKeyTest, SequenceStreamHelperIsANamedObjectThatIsNeverCloned)
{
    NiRefPtr<NiSequenceStreamHelper> spHelper = new NiSequenceStreamHelper;
    spHelper->SetName("walk");
    spHelper->AddExtraData(MakeKeys({{0.0f, "start"}}));
    EXPECT_EQ(spHelper->MakeClone(), nullptr);
    const NiRefPtr<NiSequenceStreamHelper> spLoaded = NifTest::RoundTrip(spHelper.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_STREQ(spLoaded->GetName(), "walk");
    EXPECT_TRUE(spLoaded->IsEquivalent(spHelper));
    EXPECT_NE(NiDynamicCast<NiTextKeyExtraData>(spLoaded->GetExtraData()), nullptr);
}
