#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierMesh.h"
#include "scene/bezier/NiBezierSkinController.h"
#include "scene/graph/NiBone.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

using namespace BezierTest;

namespace
{
// A mesh of one elevated triangle (12 points, then the 9 raised edge points) skinned to one bone
// that every point follows with weight 1.
struct SkinnedMesh
{
    NiRefPtr<NiNode> m_spRoot = new NiNode;
    NiBone* m_pkBone = new NiBone;
    NiBezierMesh* m_pkMesh = nullptr;
    NiBezierSkinController* m_pkSkin = new NiBezierSkinController;

    SkinnedMesh()
    {
        std::vector<NiPoint3> kPoints;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4 - j; ++i)
                kPoints.emplace_back(float(i), float(j), float(i * j) * 0.5f);
        kPoints.emplace_back(9, 9, 9); // two points no patch reads
        kPoints.emplace_back(8, 8, 8);
        m_pkMesh = new NiBezierMesh(12, NewArray(kPoints), nullptr, nullptr, false);
        m_pkMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 7, 8, 8, 9}));
        m_pkMesh->AppendEdgePoints();
        m_spRoot->AddChild(m_pkBone);
        m_spRoot->AddChild(m_pkMesh);

        std::vector<NiSkinInfluence> kInfluences;
        std::vector<uint16_t> kVertices;
        for (uint16_t i = 0; i < m_pkMesh->GetPointCount(); ++i)
        {
            const NiPoint3& kPoint = m_pkMesh->GetPoints()[i];
            kInfluences.push_back({kPoint.x, kPoint.y, kPoint.z, 1.0f});
            kVertices.push_back(i);
        }
        m_pkSkin->SetTarget(m_pkMesh);
        m_pkSkin->SetBones({m_pkBone}, {kInfluences}, {kVertices});
    }

    uint16_t Revision() const
    {
        return static_cast<const NiBezierPatch*>(m_pkMesh->GetAt(0))->GetRenderData()->GetRevision();
    }
};
} // namespace

TEST(BezierSkinController, MovesThePointsAndRaisesTheMovedEdges)
{
    SkinnedMesh kSkinned;
    kSkinned.m_pkBone->SetTranslate(NiPoint3(0, 0, 10));
    // A bent edge point moved on its own would not stay the raise of its edge.
    kSkinned.m_pkSkin->SetBones({kSkinned.m_pkBone},
                                {{{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 0, 5, 1}, {3, 0, 0, 1}}}, {{0, 1, 2, 3}});
    const uint16_t usRevision = kSkinned.Revision();
    kSkinned.m_spRoot->UpdateSubtree(1.0f);
    const NiPoint3* pkPoints = kSkinned.m_pkMesh->GetPoints();
    EXPECT_EQ(pkPoints[2], NiPoint3(2, 0, 15));
    // Edge (0 1 2 3) raised: the points 12, 13, 14 follow the deformed edge.
    EXPECT_EQ(pkPoints[12], pkPoints[0] * 0.25f + pkPoints[1] * 0.75f);
    EXPECT_EQ(pkPoints[13], pkPoints[1] * 0.5f + pkPoints[2] * 0.5f);
    EXPECT_EQ(pkPoints[14], pkPoints[2] * 0.75f + pkPoints[3] * 0.25f);
    EXPECT_EQ(kSkinned.Revision(), usRevision + 1);
    // The same time again: no second deformation.
    kSkinned.m_spRoot->UpdateSubtree(1.0f);
    EXPECT_EQ(kSkinned.Revision(), usRevision + 1);
}

TEST(BezierSkinController, InactiveOrMisplacedSkinsDoNothing)
{
    SkinnedMesh kSkinned;
    kSkinned.m_pkBone->SetTranslate(NiPoint3(0, 0, 10));
    kSkinned.m_pkSkin->SetActive(false);
    const NiPoint3 kBefore = kSkinned.m_pkMesh->GetPoints()[5];
    kSkinned.m_spRoot->UpdateSubtree(1.0f);
    EXPECT_EQ(kSkinned.m_pkMesh->GetPoints()[5], kBefore);

    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<NiBezierSkinController> spSkin = new NiBezierSkinController;
    spSkin->SetTarget(spNode);
    EXPECT_FALSE(spSkin->IsTargetValid());
    EXPECT_EQ(spSkin->GetVertexCount(), 0);
    spSkin->Update(1.0f);
    EXPECT_TRUE(kSkinned.m_pkSkin->IsTargetValid());
}

TEST(BezierSkinController, SkinnedMeshRoundTrips)
{
    SkinnedMesh kSkinned;
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(NifTest::Save({kSkinned.m_spRoot}));
    ASSERT_EQ(kTop.size(), 1u);
    NiNode* pkRoot = NiDynamicCast<NiNode>(kTop[0].Get());
    ASSERT_TRUE(pkRoot);
    NiBezierMesh* pkMesh = NiDynamicCast<NiBezierMesh>(pkRoot->GetAt(1));
    ASSERT_TRUE(pkMesh);
    NiBezierSkinController* pkSkin = NiDynamicCast<NiBezierSkinController>(pkMesh->GetControllers());
    ASSERT_TRUE(pkSkin);
    EXPECT_TRUE(pkSkin->IsEquivalent(kSkinned.m_pkSkin));
    EXPECT_TRUE(pkMesh->IsEquivalent(kSkinned.m_pkMesh));
}
