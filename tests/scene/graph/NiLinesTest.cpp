#include "GeometryTestHelpers.h"

#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiLinesData.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace geometry_test;

namespace
{
NiPoint3* Positions(uint16_t usVertices)
{
    NiPoint3* pkVertex = new NiPoint3[usVertices];
    for (uint16_t i = 0; i < usVertices; ++i)
        pkVertex[i] = NiPoint3(float(i), float(i % 2), 0.0f);
    return pkVertex;
}

NiRefPtr<NiLinesData> MakeLines(uint16_t usVertices, uint8_t* pucFlags = nullptr)
{
    return new NiLinesData(usVertices, Positions(usVertices), nullptr, nullptr, pucFlags);
}

std::vector<uint16_t> Segments(const NiLinesData& kData)
{
    std::vector<uint16_t> kIndices;
    kData.AppendSegmentIndices(kIndices);
    return kIndices;
}
} // namespace

TEST(NiLinesTest, FlagsGiveTheSegmentsInVertexOrder)
{
    struct Case
    {
        uint16_t m_usVertices;
        std::vector<uint8_t> m_kFlags; // empty: the default flags
        std::vector<uint16_t> m_kSegments;
    };
    const Case akCases[] = {
        {6, {}, {0, 1, 2, 3, 4, 5}}, {5, {}, {0, 1, 2, 3, 4, 0}}, {4, {1, 1, 1, 1}, {0, 1, 1, 2, 2, 3, 3, 0}},
        {4, {0, 0, 0, 0}, {}},       {3, {0, 7, 0}, {1, 2}},      {0, {}, {}},
    };
    for (const Case& kCase : akCases)
    {
        uint8_t* pucFlags = nullptr;
        if (!kCase.m_kFlags.empty())
        {
            pucFlags = new uint8_t[kCase.m_kFlags.size()];
            std::copy(kCase.m_kFlags.begin(), kCase.m_kFlags.end(), pucFlags);
        }
        NiRefPtr<NiLinesData> spData = MakeLines(kCase.m_usVertices, pucFlags);
        EXPECT_EQ(Segments(*spData), kCase.m_kSegments) << kCase.m_usVertices << " vertices";
        EXPECT_EQ(spData->GetNormals(), nullptr);
    }
}

TEST(NiLinesTest, SavedFlagsComeBackByteForByteAndTheNextObjectFollows)
{
    NiRefPtr<NiLinesData> spFirst = MakeLines(4, NewArray<uint8_t>({1, 0, 3, 1}));
    NiRefPtr<NiLinesData> spSecond = MakeLines(5);
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(NifTest::Save({spFirst, spSecond}));
    ASSERT_EQ(kTop.size(), 2u);
    NiLinesData* pkFirst = NiDynamicCast<NiLinesData>(kTop[0].Get());
    NiLinesData* pkSecond = NiDynamicCast<NiLinesData>(kTop[1].Get());
    ASSERT_TRUE(pkFirst && pkSecond);
    EXPECT_EQ(std::vector<uint8_t>(pkFirst->GetFlags(), pkFirst->GetFlags() + 4),
              (std::vector<uint8_t>{1, 0, 3, 1}));
    EXPECT_TRUE(pkFirst->IsEquivalent(spFirst));
    EXPECT_TRUE(pkSecond->IsEquivalent(spSecond));
}

TEST(NiLinesTest, OneDifferentFlagByteIsNotEquivalent)
{
    NiRefPtr<NiLinesData> spA = MakeLines(4, NewArray<uint8_t>({1, 0, 1, 0}));
    NiRefPtr<NiLinesData> spB = MakeLines(4, NewArray<uint8_t>({1, 0, 1, 1}));
    EXPECT_FALSE(spA->IsEquivalent(spB));
    spB->ReplaceFlags(NewArray<uint8_t>({1, 0, 1, 0}));
    EXPECT_TRUE(spA->IsEquivalent(spB));

    // Data without flags equals only data without flags.
    NiRefPtr<NiLinesData> spNone = MakeLines(4);
    uint8_t* pucOld = spNone->GetFlags();
    spNone->SetFlagsPointer(nullptr);
    delete[] pucOld;
    EXPECT_FALSE(spA->IsEquivalent(spNone));
    EXPECT_FALSE(spNone->IsEquivalent(spA));
}

TEST(NiLinesTest, FlagsLongerThanTheInputFailTheLoad)
{
    // Three vertices need three flag bytes; only two remain.
    NifTest::Bytes kBytes =
        DataRecord("NiLinesData", {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)});
    kBytes.U8(1).U8(1);
    EXPECT_TRUE(NifTest::Load(kBytes.Get()).empty());

    NifTest::Bytes kWhole =
        DataRecord("NiLinesData", {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)});
    kWhole.U8(1).U8(0).U8(1).End();
    NiRefPtr<NiLinesData> spLoaded = LoadFirst<NiLinesData>(kWhole.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(Segments(*spLoaded), (std::vector<uint16_t>{0, 1, 2, 0}));
}

TEST(NiLinesTest, DataWithoutFlagsSavesAsNoSegments)
{
    NiRefPtr<NiLinesData> spData = new NiLinesData;
    spData->ReplaceData(2, Positions(2), nullptr, nullptr, nullptr);
    NiRefPtr<NiLinesData> spLoaded = NifTest::RoundTrip<NiLinesData>(spData);
    ASSERT_TRUE(spLoaded);
    ASSERT_NE(spLoaded->GetFlags(), nullptr);
    EXPECT_TRUE(Segments(*spLoaded).empty());
}

TEST(NiLinesTest, LinesDrawThroughTheLineOperationAndCloneSharesTheData)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    spCamera->SetRenderer(spRenderer);

    NiRefPtr<NiLines> spLines = new NiLines(6, Positions(6), nullptr, nullptr, nullptr);
    spLines->UpdateSubtree(0.0f);
    spLines->Draw(spCamera);
    EXPECT_EQ(spRenderer->GetCallNames(),
              (std::vector<std::string>{"SetClipPlanes", "SetObjectTransform", "DrawLines"}));
    EXPECT_EQ(spRenderer->FindLastCall("DrawLines")->m_kObjects[0], spLines->GetLinesData());

    NiRefPtr<NiObject> spClone = spLines->Clone();
    NiLines* pkClone = NiDynamicCast<NiLines>(spClone.Get());
    ASSERT_TRUE(pkClone);
    EXPECT_EQ(pkClone->GetGeometryData(), spLines->GetGeometryData());

    // Triangle data is no line data.
    NiRefPtr<NiLines> spEmpty = new NiLines;
    NiRefPtr<NiTriShapeData> spTriangles = new NiTriShapeData;
    spEmpty->SetGeometryData(spTriangles);
    EXPECT_EQ(spEmpty->GetGeometryData(), nullptr);
}

TEST(NiLinesTest, LinesRoundTripWithTheirData)
{
    NiRefPtr<NiLines> spLines = new NiLines(5, Positions(5), nullptr, nullptr, nullptr);
    NiRefPtr<NiLines> spLoaded = NifTest::RoundTrip<NiLines>(spLines);
    ASSERT_TRUE(spLoaded);
    ASSERT_TRUE(spLoaded->GetLinesData());
    EXPECT_TRUE(spLoaded->IsEquivalent(spLines));
}
