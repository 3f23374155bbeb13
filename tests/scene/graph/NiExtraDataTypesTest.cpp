#include "NifTestSupport.h"

#include "scene/graph/NiStringExtraData.h"
#include "scene/graph/NiVertWeightsExtraData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
NiFieldStringList FieldStrings(const NiObject& kObject)
{
    NiFieldStringList kList;
    kObject.AddFieldStrings(kList);
    return kList;
}
} // namespace

TEST(NiStringExtraDataTest, SizeFollowsTheTextAndTheTextRoundTrips)
{
    NiRefPtr<NiStringExtraData> spText = new NiStringExtraData("abc");
    NiRefPtr<NiStringExtraData> spNone = new NiStringExtraData;
    EXPECT_EQ(spText->GetSize(), 7u);
    EXPECT_EQ(spNone->GetSize(), 0u);
    // The text part of the record is the length word and three characters.
    EXPECT_EQ(NifTest::Save({spText}).size() - NifTest::Save({spNone}).size(), 3u);

    NiRefPtr<NiStringExtraData> spLoaded = NifTest::RoundTrip(spText.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_STREQ(spLoaded->GetString(), "abc");
    EXPECT_EQ(spLoaded->GetSize(), 7u);
    EXPECT_TRUE(spLoaded->IsEquivalent(spText));

    NiRefPtr<NiStringExtraData> spLoadedNone = NifTest::RoundTrip(spNone.Get());
    ASSERT_TRUE(spLoadedNone);
    EXPECT_EQ(spLoadedNone->GetString(), nullptr);
    EXPECT_TRUE(spLoadedNone->IsEquivalent(spNone));

    spText->SetString(nullptr);
    EXPECT_EQ(spText->GetSize(), 0u);
    EXPECT_EQ(FieldStrings(*spText).back(), "m_pString = NULL");
    spText->SetString("xy");
    EXPECT_EQ(FieldStrings(*spText).back(), "m_pString = xy");
}

TEST(NiStringExtraDataTest, EquivalenceLooksAtTheTextAndSizeOnly)
{
    NiRefPtr<NiStringExtraData> spFirst = new NiStringExtraData("same");
    NiRefPtr<NiStringExtraData> spSecond = new NiStringExtraData("same");
    spFirst->SetNext(new NiStringExtraData("one follower"));
    spSecond->SetNext(new NiVertWeightsExtraData);
    EXPECT_TRUE(spFirst->IsEquivalent(spSecond));

    NiRefPtr<NiStringExtraData> spOther = new NiStringExtraData("diff");
    EXPECT_FALSE(spFirst->IsEquivalent(spOther));
    NiRefPtr<NiStringExtraData> spNone = new NiStringExtraData;
    EXPECT_FALSE(spNone->IsEquivalent(spFirst));
    EXPECT_FALSE(spFirst->IsEquivalent(nullptr));

    // Another class is not equivalent, even with the same size.
    NiRefPtr<NiExtraData> spPlain = new NiExtraData;
    spPlain->SetValue(8, "12345678");
    EXPECT_FALSE(spFirst->IsEquivalent(spPlain));
}

TEST(NiStringExtraDataTest, ACloneOwnsACopyOfTheText)
{
    NiRefPtr<NiStringExtraData> spSource = new NiStringExtraData("text");
    NiRefPtr<NiStringExtraData> spClone = static_cast<NiStringExtraData*>(spSource->MakeClone());
    spSource->SetString("changed");
    EXPECT_STREQ(spClone->GetString(), "text");
    EXPECT_EQ(spClone->GetSize(), 8u);
}

TEST(NiVertWeightsExtraDataTest, WeightsSizeAndIndependentClones)
{
    const float afWeights[] = {0.25f, 0.5f, 1.0f};
    NiRefPtr<NiVertWeightsExtraData> spWeights = new NiVertWeightsExtraData(3, afWeights);
    EXPECT_EQ(spWeights->GetSize(), 14u);
    EXPECT_EQ(spWeights->GetCount(), 3u);

    NiRefPtr<NiVertWeightsExtraData> spClone = static_cast<NiVertWeightsExtraData*>(spWeights->MakeClone());
    ASSERT_EQ(spClone->GetCount(), 3u);
    EXPECT_NE(spClone->GetWeights(), spWeights->GetWeights());
    EXPECT_EQ(std::memcmp(spClone->GetWeights(), afWeights, sizeof(afWeights)), 0);
    EXPECT_TRUE(spClone->IsEquivalent(spWeights));

    NiRefPtr<NiVertWeightsExtraData> spLoaded = NifTest::RoundTrip(spWeights.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spWeights));
    EXPECT_EQ(spLoaded->GetSize(), 14u);

    const float afOther[] = {0.25f, 0.5f, 0.75f};
    spClone->SetWeights(3, afOther);
    EXPECT_FALSE(spClone->IsEquivalent(spWeights));
}

TEST(NiVertWeightsExtraDataTest, EmptyAndOversizedWeightListsLeaveTheObjectEmpty)
{
    const float afWeights[] = {1.0f, 2.0f};
    NiRefPtr<NiVertWeightsExtraData> spWeights = new NiVertWeightsExtraData(2, afWeights);
    spWeights->SetWeights(0, afWeights);
    EXPECT_EQ(spWeights->GetCount(), 0u);
    EXPECT_EQ(spWeights->GetWeights(), nullptr);
    // The size matches the emptied contents, as for a new empty object.
    EXPECT_EQ(spWeights->GetSize(), 0u);
    NiRefPtr<NiVertWeightsExtraData> spEmpty = new NiVertWeightsExtraData;
    EXPECT_TRUE(spWeights->IsEquivalent(spEmpty));

    // A count the 16-bit field cannot hold is refused rather than cut.
    std::vector<float> kMany(70000, 1.0f);
    NiRefPtr<NiVertWeightsExtraData> spMany = new NiVertWeightsExtraData(70000, kMany.data());
    EXPECT_EQ(spMany->GetCount(), 0u);
    EXPECT_EQ(spMany->GetSize(), 0u);

    NiRefPtr<NiVertWeightsExtraData> spLoaded = NifTest::RoundTrip(spEmpty.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetWeights(), nullptr);
}

TEST(NiVertWeightsExtraDataTest, AWeightCountBeyondTheRecordFailsTheLoad)
{
    // Saved id, next id, size, then a count of 40000 with two floats behind it.
    const std::string kBytes = NifTest::Bytes()
                                   .Text("Top Level Object")
                                   .Text("NiVertWeightsExtraData")
                                   .U32(1)
                                   .U32(0)
                                   .U32(160002)
                                   .U16(40000)
                                   .F32(1.0f)
                                   .F32(2.0f)
                                   .End()
                                   .Get();
    EXPECT_TRUE(NifTest::Load(kBytes).empty());
}
