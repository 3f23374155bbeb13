#include "GeometryTestHelpers.h"

#include "scene/graph/NiEnvMappedTriShapeData.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using namespace geometry_test;

namespace
{
// Four corners of a unit square in z = 0 as two triangles.
NiRefPtr<NiTriShapeData> MakeSquare(bool bTextures, bool bColors = false)
{
    NiPoint3* pkVertex =
        NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(1, 1, 0)});
    NiTexCoord* pkTexture =
        bTextures
            ? NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(1, 0), NiTexCoord(0, 1), NiTexCoord(1, 1)})
            : nullptr;
    NiColorA* pkColor =
        bColors ? NewArray<NiColorA>({NiColorA::WHITE, NiColorA::WHITE, NiColorA::BLACK, NiColorA::BLACK})
                : nullptr;
    return new NiTriShapeData(4, pkVertex, nullptr, pkColor, pkTexture, 2,
                              NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
}
} // namespace

TEST(NiGeometryDataTest, ConstructionTakesTheArraysAndComputesTheBound)
{
    NiRefPtr<NiTriShapeData> spTextured = MakeSquare(true);
    EXPECT_EQ(spTextured->GetTextureSets(), 1);
    EXPECT_EQ(spTextured->GetBound().m_ucNotComputed, 0);
    ExpectPoint(spTextured->GetBound().m_kCenter, NiPoint3(0.5f, 0.5f, 0.0f));
    EXPECT_NE(spTextured->GetTextureSet(0), nullptr);
    EXPECT_EQ(spTextured->GetTextureSet(1), nullptr);
    EXPECT_EQ(spTextured->GetRevision(), 0);

    EXPECT_EQ(MakeSquare(false)->GetTextureSets(), 0);
}

TEST(NiGeometryDataTest, DataIdsFollowOneAnotherAndNeverRepeatAmongLiveData)
{
    {
        NiRefPtr<NiTriShapeData> spFirst = new NiTriShapeData;
        NiRefPtr<NiTriShapeData> spSecond = new NiTriShapeData;
        EXPECT_EQ(spSecond->GetDataId(), spFirst->GetDataId() + 1);

        // Past the 16-bit range the ids go on rising: 65536 more objects do not meet the first id.
        const uint32_t uiFirst = spFirst->GetDataId();
        for (int i = 0; i < 65536; ++i)
            EXPECT_NE(NiRefPtr<NiTriShapeData>(new NiTriShapeData)->GetDataId(), uiFirst);
    }

    // When the counter comes round it skips 0 and every id still in use.
    NiGeometryData::SetNextDataId(1);
    NiRefPtr<NiTriShapeData> spOne = new NiTriShapeData;
    NiRefPtr<NiTriShapeData> spTwo = new NiTriShapeData;
    NiGeometryData::SetNextDataId(UINT32_MAX);
    NiRefPtr<NiTriShapeData> spLast = new NiTriShapeData;
    NiRefPtr<NiTriShapeData> spAfter = new NiTriShapeData;
    EXPECT_EQ(spOne->GetDataId(), 1u);
    EXPECT_EQ(spLast->GetDataId(), UINT32_MAX);
    EXPECT_EQ(spAfter->GetDataId(), 3u);
}

TEST(NiGeometryDataTest, RevisionRunsToItsLastValueThenRestartsAtOne)
{
    NiRefPtr<NiTriShapeData> spData = new NiTriShapeData;
    for (int i = 0; i < 65535; ++i)
        spData->IncrementRevision();
    EXPECT_EQ(spData->GetRevision(), 65535);
    spData->IncrementRevision();
    EXPECT_EQ(spData->GetRevision(), 1);
}

TEST(NiGeometryDataTest, TextureSetsAppendAndReplaceBySetCount)
{
    NiRefPtr<NiTriShapeData> spData = MakeSquare(true);
    const NiTexCoord akSecond[] = {NiTexCoord(5, 5), NiTexCoord(6, 6), NiTexCoord(7, 7), NiTexCoord(8, 8)};
    spData->AppendTextureSet(akSecond);
    ASSERT_EQ(spData->GetTextureSets(), 2);
    EXPECT_EQ(spData->GetTextureSet(0)[3], NiTexCoord(1, 1));
    EXPECT_EQ(spData->GetTextureSet(1)[2], NiTexCoord(7, 7));

    // The same count keeps the coordinates; another count makes a new array.
    spData->CreateTextures(false, 2);
    EXPECT_EQ(spData->GetTextureSet(1)[2], NiTexCoord(7, 7));
    spData->CreateTextures(true, 1);
    EXPECT_EQ(spData->GetTextureSets(), 1);
    EXPECT_EQ(spData->GetTextureSet(0)[3], NiTexCoord::ZERO);
}

TEST(NiGeometryDataTest, RoundTripKeepsAbsentArraysAbsentAndTheBoundNotComputed)
{
    NiRefPtr<NiTriShapeData> spData = MakeSquare(true);
    spData->GetBound().m_fRadius = 9.0f; // a saved bound that the vertices would not give
    NiRefPtr<NiTriShapeData> spLoaded = NifTest::RoundTrip<NiTriShapeData>(spData);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spData));
    EXPECT_EQ(spLoaded->GetNormals(), nullptr);
    EXPECT_EQ(spLoaded->GetColors(), nullptr);
    EXPECT_EQ(spLoaded->GetBound().m_fRadius, 9.0f);
    EXPECT_EQ(spLoaded->GetBound().m_ucNotComputed, 1);
    EXPECT_NE(spLoaded->GetDataId(), spData->GetDataId());
}

TEST(NiGeometryDataTest, EquivalenceSeesEveryArrayButNotIdOrRevision)
{
    NiRefPtr<NiTriShapeData> spPlain = MakeSquare(false);
    NiRefPtr<NiTriShapeData> spColored = MakeSquare(false, true);
    EXPECT_FALSE(spPlain->IsEquivalent(spColored));
    EXPECT_FALSE(spColored->IsEquivalent(spPlain));

    NiRefPtr<NiTriShapeData> spSame = MakeSquare(false);
    spSame->IncrementRevision();
    EXPECT_TRUE(spPlain->IsEquivalent(spSame));

    spSame->GetVertices()[3].z = 0.5f;
    EXPECT_FALSE(spPlain->IsEquivalent(spSame));

    NiRefPtr<NiTriShapeData> spOtherList = MakeSquare(false);
    spOtherList->GetTriList()[5] = 0;
    EXPECT_FALSE(spPlain->IsEquivalent(spOtherList));
}

TEST(NiGeometryDataTest, EnvironmentMappedDataAlwaysHasOneZeroedTextureSet)
{
    NiRefPtr<NiEnvMappedTriShapeData> spData = new NiEnvMappedTriShapeData(
        3, NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}), nullptr, nullptr, 1,
        NewArray<uint16_t>({0, 1, 2}));
    ASSERT_EQ(spData->GetTextureSets(), 1);
    EXPECT_EQ(spData->GetTextureSet(0)[2], NiTexCoord::ZERO);

    // A record saved without coordinates still loads with a set for the shape to write.
    NiRefPtr<NiEnvMappedTriShapeData> spLoaded = NifTest::RoundTrip<NiEnvMappedTriShapeData>(spData);
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetTextureSets(), 1);
    NifTest::Bytes kBytes =
        DataRecord("NiEnvMappedTriShapeData", {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)});
    kBytes.U16(1).U32(3).U16(0).U16(1).U16(2).U16(0).End();
    NiRefPtr<NiEnvMappedTriShapeData> spBare = LoadFirst<NiEnvMappedTriShapeData>(kBytes.Get());
    ASSERT_TRUE(spBare);
    ASSERT_NE(spBare->GetTextureSet(0), nullptr);
    EXPECT_EQ(spBare->GetTextureSet(0)[1], NiTexCoord::ZERO);
}
