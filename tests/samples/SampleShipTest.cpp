// The sample ship of data/: what the generator writes is what data/ holds, and every shape of
// it, small or large, is closed, so no view of it looks into a hole.
#include "tools/samples/SampleShip.h"
#include "properties/PropertyTypeRegistry.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/object/NiStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace
{
class SampleShipTest : public ::testing::Test
{
protected:
    // Images load through the renderer library's factory; a plain image stands in for it.
    void SetUp() override
    {
        RegisterPropertyTypes();
        NiImage::SetImageFactory([]() { return new NiImage; });
    }
    void TearDown() override
    {
        NiImage::SetImageFactory(m_pfnImageFactory);
        UnregisterPropertyTypes();
    }
    NiImage::CreateFunction m_pfnImageFactory = NiImage::GetImageFactory();
    TempFolder m_kFolder;
};

using Corner = std::array<long, 3>;

// Corners compared by place: the seams and poles repeat a point under other texture coordinates.
Corner At(const NiPoint3& kPoint)
{
    return {std::lround(kPoint.x * 1e4f), std::lround(kPoint.y * 1e4f), std::lround(kPoint.z * 1e4f)};
}

// How many of the shape's edges are not shared by exactly two triangles.
int OpenEdges(const NiTriShape& kShape)
{
    auto* pkData = static_cast<NiTriShapeData*>(kShape.GetGeometryData());
    std::map<std::pair<Corner, Corner>, int> kEdges;
    const uint16_t* pusList = pkData->GetTriList();
    for (uint32_t t = 0; t < pkData->GetTriangleCount(); ++t)
        for (int e = 0; e < 3; ++e)
        {
            Corner kFrom = At(pkData->GetVertices()[pusList[3 * t + e]]);
            Corner kTo = At(pkData->GetVertices()[pusList[3 * t + (e + 1) % 3]]);
            if (kFrom == kTo)
                continue;
            ++kEdges[kFrom < kTo ? std::make_pair(kFrom, kTo) : std::make_pair(kTo, kFrom)];
        }
    int iOpen = 0;
    for (const auto& [kEdge, iCount] : kEdges)
        iOpen += iCount != 2 ? 1 : 0;
    return iOpen;
}
} // namespace

TEST_F(SampleShipTest, DataFolderHoldsWhatTheGeneratorWrites)
{
    ASSERT_TRUE(WriteSampleShip(m_kFolder.Path(), SampleShipOptions{}));
    for (const char* pcName : {"SampleShip.nif", "SampleShip.py", "SampleShipHull.tga"})
        EXPECT_EQ(TempFolder::ReadFile(m_kFolder.Path(pcName)),
                  TempFolder::ReadFile(std::string(FITWRIGHT_SOURCE_DIR) + "/data/Models/" + pcName))
            << pcName << ": make_sample_data data";
}

TEST_F(SampleShipTest, EveryShapeIsClosed)
{
    SampleShipOptions kLarge;
    kLarge.kName = "LargeShip";
    kLarge.uiTriangles = 30000;
    for (const SampleShipOptions& kOptions : {SampleShipOptions{}, kLarge})
    {
        ASSERT_TRUE(WriteSampleShip(m_kFolder.Path(), kOptions));
        NiStream kStream;
        ASSERT_TRUE(kStream.LoadFile(m_kFolder.Path(kOptions.kName + ".nif").c_str()))
            << NiStream::GetLastErrorText();
        auto* pkRoot = NiDynamicCast<NiNode>(kStream.GetTopObjectAt(0));
        ASSERT_NE(pkRoot, nullptr);
        int iShapes = 0;
        for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
            if (auto* pkShape = NiDynamicCast<NiTriShape>(pkRoot->GetAt(i)))
            {
                ++iShapes;
                EXPECT_EQ(OpenEdges(*pkShape), 0) << kOptions.kName << " " << pkShape->GetName();
            }
        EXPECT_GE(iShapes, 3) << kOptions.kName;
    }
}
