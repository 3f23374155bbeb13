#include "GeometryTestHelpers.h"

#include "scene/graph/NiBone.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeSkinController.h"

#include <gtest/gtest.h>

#include <vector>

using namespace geometry_test;

namespace
{
NiRefPtr<NiTriShape> MakeShape(const std::vector<NiPoint3>& kPositions, const std::vector<uint16_t>& kList,
                               bool bTextures = false)
{
    const uint16_t usVertices = static_cast<uint16_t>(kPositions.size());
    NiPoint3* pkVertex = new NiPoint3[usVertices];
    std::copy(kPositions.begin(), kPositions.end(), pkVertex);
    NiTexCoord* pkTexture = nullptr;
    if (bTextures)
    {
        pkTexture = new NiTexCoord[usVertices];
        for (uint16_t i = 0; i < usVertices; ++i)
            pkTexture[i] = NiTexCoord(kPositions[i].x, kPositions[i].y);
    }
    uint16_t* pusList = new uint16_t[kList.size()];
    std::copy(kList.begin(), kList.end(), pusList);
    return new NiTriShape(usVertices, pkVertex, nullptr, nullptr, pkTexture,
                          static_cast<uint16_t>(kList.size() / 3), pusList);
}

std::vector<uint16_t> List(const NiTriShape& kShape)
{
    const NiTriShapeData* pkData = kShape.GetTriShapeData();
    return std::vector<uint16_t>(pkData->GetTriList(), pkData->GetTriList() + pkData->GetTriListLength());
}

std::vector<NiPoint3> Positions(const NiTriShape& kShape)
{
    const NiGeometryData* pkData = kShape.GetGeometryData();
    return std::vector<NiPoint3>(pkData->GetVertices(), pkData->GetVertices() + pkData->GetVertexCount());
}

// A skin whose one bone (at the origin, unturned) moves every vertex to its own position.
NiTriShapeSkinController* SkinEveryVertex(NiTriShape* pkShape, NiBone* pkBone)
{
    const std::vector<NiPoint3> kPositions = Positions(*pkShape);
    std::vector<NiSkinInfluence> kInfluences;
    std::vector<uint16_t> kVertices;
    for (uint16_t i = 0; i < kPositions.size(); ++i)
    {
        kInfluences.push_back({kPositions[i].x, kPositions[i].y, kPositions[i].z, 1.0f});
        kVertices.push_back(i);
    }
    NiTriShapeSkinController* pkSkin = new NiTriShapeSkinController;
    pkSkin->SetTarget(pkShape);
    pkSkin->SetBones({pkBone}, {kInfluences}, {kVertices});
    return pkSkin;
}
} // namespace

TEST(NiTriShapeCleanUpTest, DegenerateTrianglesAreFoundAndDropped)
{
    struct Case
    {
        std::vector<NiPoint3> m_kPositions;
        std::vector<uint16_t> m_kList;
        bool m_bValid;
    };
    const std::vector<NiPoint3> kUnit = {NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)};
    const Case akCases[] = {
        {{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(2, 0, 0)}, {0, 1, 2}, false},     // collinear
        {kUnit, {1, 1, 2}, false},                                                         // repeated index
        {{NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1e-4f, 0)}, {0, 1, 2}, false}, // edges 1 and 1e-8
        {kUnit, {0, 1, 2}, true},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiTriShape> spShape = MakeShape(kCase.m_kPositions, kCase.m_kList);
        EXPECT_EQ(spShape->IsTriangleValid(0), kCase.m_bValid)
            << kCase.m_kPositions[2].x << "," << kCase.m_kList[0];
    }

    // All valid: nothing changes, not even the list's array.
    NiRefPtr<NiTriShape> spGood = MakeShape(kUnit, {0, 1, 2, 2, 1, 0});
    const uint16_t* pusBefore = spGood->GetTriShapeData()->GetTriList();
    EXPECT_FALSE(spGood->RemoveDegenerateTriangles());
    EXPECT_EQ(spGood->GetTriShapeData()->GetTriList(), pusBefore);
    EXPECT_EQ(spGood->GetGeometryData()->GetRevision(), 0u);

    // Mixed: the valid ones move forward in order, and renderers are told.
    NiRefPtr<NiTriShape> spMixed = MakeShape(kUnit, {0, 0, 1, 0, 1, 2, 2, 2, 2, 2, 1, 0});
    EXPECT_FALSE(spMixed->RemoveDegenerateTriangles());
    EXPECT_EQ(List(*spMixed), (std::vector<uint16_t>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(spMixed->GetTriShapeData()->GetTriangleCount(), 2u);
    EXPECT_EQ(spMixed->GetGeometryData()->GetRevision(), 1u);

    NiRefPtr<NiTriShape> spFlat = MakeShape(kUnit, {0, 0, 1, 1, 2, 2});
    EXPECT_TRUE(spFlat->RemoveDegenerateTriangles());
    EXPECT_EQ(spFlat->GetTriShapeData()->GetTriangleCount(), 0u);
}

TEST(NiTriShapeCleanUpTest, WeldingMergesEqualVerticesAndTheSkinFollows)
{
    // A quad of two triangles whose shared corners are stored twice: 3 equals 2, 4 equals 1.
    NiRefPtr<NiNode> spScene = new NiNode;
    NiRefPtr<NiTriShape> spQuad = MakeShape({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0),
                                             NiPoint3(0, 1, 0), NiPoint3(1, 0, 0), NiPoint3(1, 1, 0)},
                                            {0, 1, 2, 3, 4, 5}, true);
    NiBone* pkBone = new NiBone;
    spScene->AddChild(spQuad);
    spScene->AddChild(pkBone);
    NiTriShapeSkinController* pkSkin = SkinEveryVertex(spQuad, pkBone);
    EXPECT_EQ(spQuad->CompareVertices(0, 5, 0), 0);
    EXPECT_NE(spQuad->CompareVertices(0, 5, NiTriShape::COMPARE_POSITION), 0);
    EXPECT_EQ(spQuad->CompareVertices(1, 4, NiTriShape::COMPARE_ALL), 0);

    std::vector<uint16_t> kNewToOld;
    spQuad->WeldVertices(&kNewToOld);
    EXPECT_EQ(spQuad->GetGeometryData()->GetVertexCount(), 4u);
    EXPECT_EQ(spQuad->GetGeometryData()->GetTextureSets(), 1u);
    EXPECT_EQ(List(*spQuad), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3}));
    ASSERT_EQ(kNewToOld.size(), 4u);
    EXPECT_EQ(kNewToOld[0], 0u);
    EXPECT_TRUE(kNewToOld[1] == 1 || kNewToOld[1] == 4);
    EXPECT_TRUE(kNewToOld[2] == 2 || kNewToOld[2] == 3);
    EXPECT_EQ(kNewToOld[3], 5u);
    EXPECT_GT(spQuad->GetGeometryData()->GetRevision(), 0u);

    // One influence per remaining vertex, under the new numbers: the skin rebuilds the quad.
    EXPECT_EQ(pkSkin->GetInfluenceVertices(0), (std::vector<uint16_t>{0, 1, 2, 3}));
    const std::vector<NiPoint3> kWelded = Positions(*spQuad);
    spScene->UpdateSubtree(0.0f);
    pkSkin->Deform(spQuad->GetVertexArray());
    EXPECT_EQ(Positions(*spQuad), kWelded);
}

TEST(NiTriShapeCleanUpTest, CompactingRenumbersByFirstUseAndCarriesSkinAndSharedNormals)
{
    std::vector<NiPoint3> kTen;
    for (int i = 0; i < 10; ++i)
        kTen.push_back(NiPoint3(float(i), float(i * i), 1.0f));
    NiRefPtr<NiNode> spScene = new NiNode;
    NiRefPtr<NiTriShape> spShape = MakeShape(kTen, {7, 3, 5});
    NiBone* pkBone = new NiBone;
    spScene->AddChild(spShape);
    spScene->AddChild(pkBone);
    NiTriShapeSkinController* pkSkin = SkinEveryVertex(spShape, pkBone);
    spShape->GetTriShapeData()->LinkSharedNormals(7, 5);

    std::vector<uint16_t> kNewToOld;
    spShape->CompactVertices(&kNewToOld);
    EXPECT_EQ(kNewToOld, (std::vector<uint16_t>{7, 3, 5}));
    EXPECT_EQ(List(*spShape), (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(Positions(*spShape), (std::vector<NiPoint3>{kTen[7], kTen[3], kTen[5]}));
    EXPECT_EQ(pkSkin->GetInfluenceVertices(0), (std::vector<uint16_t>{1, 2, 0}));
    const std::vector<NiTriShapeData::SharedNormalGroup>& kGroups =
        spShape->GetTriShapeData()->GetSharedNormals();
    ASSERT_EQ(kGroups.size(), 3u);
    EXPECT_EQ(kGroups[0].m_kMembers, std::vector<uint16_t>{2});
    EXPECT_TRUE(kGroups[1].m_kMembers.empty());

    // A renumbering that keeps the count still reaches the skin.
    NiRefPtr<NiTriShape> spTurned = MakeShape({kTen[0], kTen[1], kTen[2]}, {2, 1, 0});
    NiBone* pkOtherBone = new NiBone;
    spScene->AddChild(spTurned);
    spScene->AddChild(pkOtherBone);
    NiTriShapeSkinController* pkTurnedSkin = SkinEveryVertex(spTurned, pkOtherBone);
    spTurned->CompactVertices();
    EXPECT_EQ(Positions(*spTurned), (std::vector<NiPoint3>{kTen[2], kTen[1], kTen[0]}));
    spScene->UpdateSubtree(0.0f);
    pkTurnedSkin->Deform(spTurned->GetVertexArray());
    EXPECT_EQ(Positions(*spTurned), (std::vector<NiPoint3>{kTen[2], kTen[1], kTen[0]}));
}
