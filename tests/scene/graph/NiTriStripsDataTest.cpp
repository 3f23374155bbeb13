#include "GeometryTestHelpers.h"

#include "scene/graph/NiTriStripData.h"
#include "scene/graph/NiTriStripsData.h"
#include "scene/graph/NiTrianglesData.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

using namespace geometry_test;

namespace
{
constexpr float NORMAL_TOLERANCE = 1e-2f;

// Two strips over seven vertices: (0, 1, 2, 3) and (4, 5, 6).
NiRefPtr<NiTriStripsData> MakeTwoStrips()
{
    NiPoint3* pkVertex = new NiPoint3[7];
    for (int i = 0; i < 7; ++i)
        pkVertex[i] = NiPoint3(float(i % 2), float(i / 2), 0.0f);
    return new NiTriStripsData(7, pkVertex, nullptr, nullptr, nullptr, 3, 2, NewArray<uint16_t>({4, 3}),
                               NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6}));
}

NiPoint3* StripPositions(uint16_t usCount)
{
    NiPoint3* pkVertex = new NiPoint3[usCount];
    for (uint16_t i = 0; i < usCount; ++i)
        pkVertex[i] = NiPoint3(float(i % 2), float(i / 2), 0.0f);
    return pkVertex;
}

std::array<uint16_t, 3> Triangle(const NiTriStripsData& kData, uint32_t uiIndex)
{
    std::array<uint16_t, 3> kCorners{};
    EXPECT_TRUE(kData.GetTriangleIndices(uiIndex, kCorners[0], kCorners[1], kCorners[2]));
    return kCorners;
}
} // namespace

TEST(NiTriStripsDataTest, StripOfTwoTrianglesFacesOneWay)
{
    NiRefPtr<NiTriStripData> spData = new NiTriStripData(StripPositions(4), nullptr, nullptr, nullptr, 2);
    EXPECT_EQ(spData->GetVertexCount(), 4);
    spData->ComputeNormals();
    for (int i = 0; i < 4; ++i)
        ExpectPoint(spData->GetNormals()[i], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
}

TEST(NiTriStripsDataTest, ActiveCountsFollowEachKindsLayout)
{
    NiRefPtr<NiTriStripData> spStrip = new NiTriStripData(StripPositions(6), nullptr, nullptr, nullptr, 4);
    const struct
    {
        uint16_t m_usVertices, m_usTriangles, m_usActiveVertices;
    } akStrip[] = {{2, 0, 0}, {4, 2, 4}, {6, 4, 6}, {9, 4, 6}};
    for (const auto& kCase : akStrip)
    {
        spStrip->SetActiveVertexCount(kCase.m_usVertices);
        EXPECT_EQ(spStrip->GetActiveTriangleCount(), kCase.m_usTriangles) << kCase.m_usVertices;
        EXPECT_EQ(spStrip->GetActiveVertexCount(), kCase.m_usActiveVertices) << kCase.m_usVertices;
    }

    NiRefPtr<NiTrianglesData> spList = new NiTrianglesData(new NiPoint3[15], nullptr, nullptr, nullptr, 5);
    EXPECT_EQ(spList->GetVertexCount(), 15);
    spList->SetActiveVertexCount(7);
    EXPECT_EQ(spList->GetActiveTriangleCount(), 2);
    EXPECT_EQ(spList->GetActiveVertexCount(), 6);
    spList->SetActiveTriangleCount(9);
    EXPECT_EQ(spList->GetActiveTriangleCount(), 5);
}

TEST(NiTriStripsDataTest, TriangleListNormalsAreEachTrianglesOwn)
{
    NiRefPtr<NiTrianglesData> spList =
        new NiTrianglesData(NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0),
                                                NiPoint3(0, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0)}),
                            nullptr, nullptr, nullptr, 2);
    spList->SetActiveTriangleCount(1); // the normals cover inactive triangles too
    spList->ComputeNormals();
    ExpectPoint(spList->GetNormals()[1], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
    ExpectPoint(spList->GetNormals()[4], NiPoint3(-1, 0, 0), NORMAL_TOLERANCE);
}

TEST(NiTriStripsDataTest, StripWalkGivesTheSameTrianglesInAnyOrder)
{
    NiRefPtr<NiTriStripsData> spData = MakeTwoStrips();
    const std::array<uint16_t, 3> akExpected[] = {{0, 1, 2}, {2, 1, 3}, {4, 5, 6}};
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(Triangle(*spData, i), akExpected[i]);
    EXPECT_EQ(Triangle(*spData, 2), akExpected[2]);
    EXPECT_EQ(Triangle(*spData, 1), akExpected[1]);
    EXPECT_EQ(Triangle(*spData, 0), akExpected[0]);

    uint16_t usI0 = 7, usI1 = 7, usI2 = 7;
    EXPECT_FALSE(spData->GetTriangleIndices(3, usI0, usI1, usI2));
    EXPECT_EQ(usI0, 7);

    // Each data object keeps its own place: interleaved walks over two objects agree.
    NiRefPtr<NiTriStripsData> spOther = MakeTwoStrips();
    EXPECT_EQ(Triangle(*spData, 0), akExpected[0]);
    EXPECT_EQ(Triangle(*spOther, 2), akExpected[2]);
    EXPECT_EQ(Triangle(*spData, 1), akExpected[1]);
}

TEST(NiTriStripsDataTest, StripsNormalsAndRoundTrip)
{
    NiRefPtr<NiTriStripsData> spData = MakeTwoStrips();
    spData->ComputeNormals();
    for (int i = 0; i < 7; ++i)
        ExpectPoint(spData->GetNormals()[i], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
    EXPECT_EQ(spData->GetStripListLength(), 7u);

    NiRefPtr<NiTriStripsData> spLoaded = NifTest::RoundTrip<NiTriStripsData>(spData);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spData));
    EXPECT_EQ(Triangle(*spLoaded, 1), (std::array<uint16_t, 3>{2, 1, 3}));

    // No strips: the record ends right after the strip count.
    NiRefPtr<NiTriStripsData> spEmpty = new NiTriStripsData;
    const std::vector<char> kEmpty = NifTest::Save({spEmpty});
    const std::vector<char> kTwo = NifTest::Save({NiRefPtr<NiTriStripsData>(MakeTwoStrips())});
    NiRefPtr<NiTriStripsData> spEmptyLoaded = NifTest::RoundTrip<NiTriStripsData>(spEmpty);
    ASSERT_TRUE(spEmptyLoaded);
    EXPECT_EQ(spEmptyLoaded->GetStripCount(), 0);
    // Seven positions, two lengths and seven indices more than the empty record.
    EXPECT_EQ(kTwo.size() - kEmpty.size(), 7u * 12 + 2 * 2 + 7 * 2);
}

TEST(NiTriStripsDataTest, InconsistentStripRecordsFailToLoad)
{
    auto Strips = [](uint16_t usVertices, uint16_t usTriangles, std::vector<uint16_t> kLengths,
                     std::vector<uint16_t> kIndices)
    {
        NifTest::Bytes kBytes =
            DataRecord("NiTriStripsData", std::vector<NiPoint3>(usVertices, NiPoint3::ZERO));
        kBytes.U16(usTriangles);
        kBytes.U16(static_cast<uint16_t>(kLengths.size()));
        for (const uint16_t usValue : kLengths)
            kBytes.U16(usValue);
        for (const uint16_t usValue : kIndices)
            kBytes.U16(usValue);
        return kBytes.End().Get();
    };
    auto Strip = [](const char* pcClass, uint16_t usVertices, uint16_t usTriangles, uint16_t usActive)
    {
        NifTest::Bytes kBytes = DataRecord(pcClass, std::vector<NiPoint3>(usVertices, NiPoint3::ZERO));
        return kBytes.U16(usTriangles).U16(usActive).End().Get();
    };
    const struct
    {
        const char* m_pcWhat;
        std::string m_kBytes;
    } akCases[] = {
        {"lengths that do not add up", Strips(7, 3, {4, 4}, {0, 1, 2, 3, 4, 5, 6})},
        {"a strip shorter than an edge", Strips(7, 3, {6, 1}, {0, 1, 2, 3, 4, 5, 6})},
        {"an index past the vertices", Strips(7, 3, {4, 3}, {0, 1, 2, 3, 4, 5, 7})},
        {"triangles without strips", Strips(7, 3, {}, {})},
        {"a strip longer than its vertices", Strip("NiTriStripData", 4, 3, 3)},
        {"more active strip triangles than triangles", Strip("NiTriStripData", 4, 2, 3)},
        {"a list of fewer vertices than its triangles need", Strip("NiTrianglesData", 5, 2, 2)},
        {"more active list triangles than triangles", Strip("NiTrianglesData", 6, 2, 3)},
    };
    for (const auto& kCase : akCases)
    {
        SCOPED_TRACE(kCase.m_pcWhat);
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadBuffer(kCase.m_kBytes.data(), kCase.m_kBytes.size()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CORRUPT_RECORD);
    }
    // The same builders make loadable records when the counts agree.
    const std::string kGood = Strips(7, 3, {4, 3}, {0, 1, 2, 3, 4, 5, 6});
    NiStream kStream;
    EXPECT_TRUE(kStream.LoadBuffer(kGood.data(), kGood.size()));
}
