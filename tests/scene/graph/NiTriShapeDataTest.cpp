#include "GeometryTestHelpers.h"

#include "scene/graph/NiTriShapeData.h"
#include "scene/graph/NiTriShapeDynamicData.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace geometry_test;

namespace
{
// The table square root keeps about seven mantissa bits.
constexpr float NORMAL_TOLERANCE = 1e-2f;

NiRefPtr<NiTriShapeData> MakeShape(std::initializer_list<NiPoint3> kPositions,
                                   std::initializer_list<uint16_t> kList)
{
    return new NiTriShapeData(static_cast<uint16_t>(kPositions.size()), NewArray(kPositions), nullptr,
                              nullptr, nullptr, static_cast<uint16_t>(kList.size() / 3), NewArray(kList));
}

// One triangle's record with the given version, list length and indices; the caller ends it.
NifTest::Bytes TriangleRecord(const std::string& kVersion, uint32_t uiLength, std::vector<uint16_t> kIndices)
{
    NifTest::Bytes kBytes =
        DataRecord("NiTriShapeData", {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}, kVersion);
    kBytes.U16(1).U32(uiLength);
    for (const uint16_t usIndex : kIndices)
        kBytes.U16(usIndex);
    return kBytes;
}
} // namespace

TEST(NiTriShapeDataTest, OneTriangleFacesUp)
{
    NiRefPtr<NiTriShapeData> spData =
        MakeShape({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}, {0, 1, 2});
    spData->ComputeNormals();
    for (int i = 0; i < 3; ++i)
        ExpectPoint(spData->GetNormals()[i], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
}

TEST(NiTriShapeDataTest, SharedEdgeGetsTheSumOfUnitFaceNormalsWhateverTheSizes)
{
    // A small triangle in z = 0 and a large one in x = 0 meet along the y axis.
    NiRefPtr<NiTriShapeData> spData = MakeShape(
        {NiPoint3(0, 0, 0), NiPoint3(0, 1, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 50)}, {0, 2, 1, 0, 1, 3});
    spData->ComputeNormals();
    const float fHalf = std::sqrt(0.5f);
    ExpectPoint(spData->GetNormals()[0], NiPoint3(fHalf, 0, fHalf), NORMAL_TOLERANCE);
    ExpectPoint(spData->GetNormals()[1], NiPoint3(fHalf, 0, fHalf), NORMAL_TOLERANCE);
    ExpectPoint(spData->GetNormals()[2], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
    ExpectPoint(spData->GetNormals()[3], NiPoint3(1, 0, 0), NORMAL_TOLERANCE);
}

TEST(NiTriShapeDataTest, SharedNormalGroupsCarryNormalsWhileTheTableFits)
{
    // Vertex 3 lies at vertex 0's place but no triangle uses it.
    NiRefPtr<NiTriShapeData> spData =
        MakeShape({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 0)}, {0, 1, 2});
    spData->LinkSharedNormals(0, 3);
    spData->ComputeNormals();
    ExpectPoint(spData->GetNormals()[3], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);

    // With one vertex more the table no longer fits and is ignored.
    spData->ReplaceData(5,
                        NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0),
                                            NiPoint3(0, 0, 0), NiPoint3(2, 2, 2)}),
                        nullptr, nullptr, nullptr);
    spData->ComputeNormals();
    ExpectPoint(spData->GetNormals()[3], NiPoint3::ZERO);
}

TEST(NiTriShapeDataTest, LinkingMergesGroupsSymmetrically)
{
    NiRefPtr<NiTriShapeData> spData =
        MakeShape({NiPoint3(0, 0, 0), NiPoint3(0, 0, 0), NiPoint3(0, 0, 0), NiPoint3(0, 0, 0)}, {0, 1, 2});
    spData->LinkSharedNormals(0, 1);
    spData->LinkSharedNormals(2, 1);
    spData->LinkSharedNormals(0, 2); // already linked: nothing changes
    spData->LinkSharedNormals(3, 3); // the same vertex: nothing
    spData->LinkSharedNormals(0, 9); // no such vertex: nothing
    const auto& kTable = spData->GetSharedNormals();
    ASSERT_EQ(kTable.size(), 4u);
    // The merged list is i's group, j's group, i, j; each member gets it without itself.
    EXPECT_EQ(kTable[0].m_kMembers, (std::vector<uint16_t>{2, 1}));
    EXPECT_EQ(kTable[1].m_kMembers, (std::vector<uint16_t>{0, 2}));
    EXPECT_EQ(kTable[2].m_kMembers, (std::vector<uint16_t>{0, 1}));
    EXPECT_TRUE(kTable[3].m_kMembers.empty());
}

TEST(NiTriShapeDataTest, SharedNormalTableTravelsOnlyInFilesLaterThan305)
{
    NiRefPtr<NiTriShapeData> spData =
        MakeShape({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}, {0, 1, 2});
    spData->LinkSharedNormals(1, 2);
    NiRefPtr<NiTriShapeData> spLoaded = NifTest::RoundTrip<NiTriShapeData>(spData);
    ASSERT_TRUE(spLoaded);
    ASSERT_EQ(spLoaded->GetSharedNormals().size(), 3u);
    EXPECT_EQ(spLoaded->GetSharedNormals()[2].m_kMembers, (std::vector<uint16_t>{1}));

    // A "3.05" record ends with the list; the next thing is the end marker.
    NiRefPtr<NiTriShapeData> spOld =
        LoadFirst<NiTriShapeData>(TriangleRecord("3.05", 3, {0, 1, 2}).End().Get());
    ASSERT_TRUE(spOld);
    EXPECT_TRUE(spOld->GetSharedNormals().empty());

    // A "3.1" record has the table's entry count right after the list.
    NiRefPtr<NiTriShapeData> spNew = LoadFirst<NiTriShapeData>(
        TriangleRecord("3.1", 3, {0, 1, 2}).U16(3).U16(0).U16(1).U16(2).U16(1).U16(1).End().Get());
    ASSERT_TRUE(spNew);
    EXPECT_EQ(spNew->GetSharedNormals()[1].m_kMembers, (std::vector<uint16_t>{2}));
}

TEST(NiTriShapeDataTest, DynamicDataWorksOnItsActivePartOnly)
{
    std::vector<NiPoint3> kPositions(100, NiPoint3(50, 50, 50));
    std::fill_n(kPositions.begin(), 10, NiPoint3(1, 1, 0));
    kPositions[0] = NiPoint3(0, 0, 0);
    kPositions[1] = NiPoint3(1, 0, 0);
    kPositions[2] = NiPoint3(0, 1, 0);
    NiPoint3* pkVertex = new NiPoint3[100];
    std::copy(kPositions.begin(), kPositions.end(), pkVertex);
    uint16_t* pusList = new uint16_t[6]{0, 1, 2, 3, 4, 5};
    NiRefPtr<NiTriShapeDynamicData> spData =
        new NiTriShapeDynamicData(100, pkVertex, nullptr, nullptr, nullptr, 2, pusList, 10, 1);
    EXPECT_EQ(spData->GetVertexCount(), 100);
    EXPECT_EQ(spData->GetTriangleCount(), 2);
    EXPECT_EQ(spData->GetTriListLength(), 6u);
    // The bound covers the first ten positions: the far ones lie outside it.
    EXPECT_LT(spData->GetBound().m_fRadius, 1.0f);

    spData->ComputeNormals();
    ExpectPoint(spData->GetNormals()[0], NiPoint3(0, 0, 1), NORMAL_TOLERANCE);
    ExpectPoint(spData->GetNormals()[3], NiPoint3::ZERO); // in the list, but not active

    spData->SetActiveTriangleCount(7);
    EXPECT_EQ(spData->GetActiveTriangleCount(), 2);
    NiRefPtr<NiTriShapeDynamicData> spLoaded = NifTest::RoundTrip<NiTriShapeDynamicData>(spData);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spData));
    EXPECT_EQ(spLoaded->GetActiveVertexCount(), 10);
}

// Records that would make the list or the active counts reach past the arrays fail to load.
TEST(NiTriShapeDataTest, RecordsThatIndexPastTheirArraysFailToLoad)
{
    struct Case
    {
        const char* m_pcWhat;
        std::string m_kBytes;
    };
    std::vector<Case> kCases;
    kCases.push_back({"index past the vertices", TriangleRecord("3.1", 3, {0, 1, 3}).U16(0).End().Get()});
    kCases.push_back(
        {"list shorter than the triangles", TriangleRecord("3.1", 2, {0, 1}).U16(0).End().Get()});
    kCases.push_back(
        {"list longer than the triangles", TriangleRecord("3.1", 6, {0, 1, 2, 0, 1, 2}).U16(0).End().Get()});
    kCases.push_back(
        {"list length beyond the file", TriangleRecord("3.1", 0x7FFFFFFE, {0, 1, 2}).End().Get()});
    kCases.push_back({"group member past the table",
                      TriangleRecord("3.1", 3, {0, 1, 2}).U16(1).U16(1).U16(5).End().Get()});
    {
        // Three vertices said absent.
        NifTest::Bytes kBytes;
        kBytes.Text("Top Level Object").Text("NiTriShapeData").U32(1).U16(3).U32(0).U32(0);
        Point(kBytes, NiPoint3::ZERO).F32(0).U32(0).U16(0).U32(0).U16(0).U32(0).U16(0).End();
        kCases.push_back({"vertices without positions", kBytes.Get()});
    }
    {
        // One vertex, then 65535 texture sets said present: far more than the file holds.
        NifTest::Bytes kBytes;
        kBytes.Text("Top Level Object").Text("NiTriShapeData").U32(1).U16(1).U32(1);
        Point(kBytes, NiPoint3::ZERO).U32(0);
        Point(kBytes, NiPoint3::ZERO).F32(0).U32(0).U16(65535).U32(1).F32(0).End();
        kCases.push_back({"texture sets beyond the file", kBytes.Get()});
    }
    {
        NifTest::Bytes kBytes =
            DataRecord("NiTriShapeDynamicData", {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)});
        kBytes.U16(1).U32(3).U16(0).U16(1).U16(2).U16(0).U16(4).U16(1).End();
        kCases.push_back({"more active vertices than vertices", kBytes.Get()});
    }

    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.m_pcWhat);
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadBuffer(kCase.m_kBytes.data(), kCase.m_kBytes.size()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CORRUPT_RECORD);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
}
