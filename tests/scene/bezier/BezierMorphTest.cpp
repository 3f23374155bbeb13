#include "BezierTestSupport.h"

#include "scene/animation/MorphTarget.h"
#include "scene/animation/NiMorphController.h"
#include "scene/animation/NiMorphData.h"
#include "scene/animation/NiMorpherController.h"
#include "scene/bezier/NiBezierMesh.h"
#include "tests/scene/animation/AnimationTestSupport.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace BezierTest;

namespace
{
// A biquadratic patch over a 2 x 2 square under a root; its centre point (4) is the one the
// morphs below raise.
struct MorphedMesh
{
    NiRefPtr<NiNode> m_spRoot = new NiNode;
    NiBezierMesh* m_pkMesh = nullptr;

    MorphedMesh()
    {
        m_pkMesh = new NiBezierMesh(9, NewArray(RectanglePoints(2, 2.0f)), nullptr, nullptr, false);
        m_pkMesh->AddRectanglePatch(2, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        m_pkMesh->SetLevel(1);
        m_spRoot->AddChild(m_pkMesh);
        m_spRoot->UpdateSubtree(0.0f);
    }

    const NiBezierPatch& Patch() const { return *static_cast<const NiBezierPatch*>(m_pkMesh->GetAt(0)); }
    float HighestOutput() const
    {
        float fHighest = -1.0f;
        for (const NiPoint3& kPoint : OutputPositions(Patch()))
            fHighest = std::max(fHighest, kPoint.z);
        return fHighest;
    }
};

// Relative morph data over the vertex count: the flat grid, and an offset raising the centre by
// 2 whose weight goes 0 to 1 over one second.
NiMorphData* RaiseCentre(uint32_t uiVertices)
{
    MorphTarget* pkTargets = new MorphTarget[2];
    pkTargets[0].SetVertices(NewArray(RectanglePoints(2, 2.0f)));
    pkTargets[0].SetKeys(nullptr, 0, KEY_LINEAR);
    NiPoint3* pkOffsets = new NiPoint3[uiVertices]();
    pkOffsets[4] = NiPoint3(0, 0, 2);
    pkTargets[1].SetVertices(pkOffsets);
    pkTargets[1].SetKeys(AnimTest::FloatKeys({{0, 0}, {1, 1}}), 2, KEY_LINEAR);
    NiMorphData* pkData = new NiMorphData;
    pkData->SetTargets(pkTargets, 2, uiVertices);
    pkData->SetRelative(true);
    return pkData;
}
} // namespace

// The morph controllers write the mesh's shared points and the mesh tessellates again, whether
// the morph waits for culling (morpher) or runs in the update (old form).
TEST(BezierMorph, MorphsMoveTheSharedPointsAndTessellateAgain)
{
    MorphedMesh kMorphed;
    NiMorpherController* pkMorpher = new NiMorpherController(RaiseCentre(9));
    pkMorpher->SetTarget(kMorphed.m_pkMesh);
    EXPECT_FLOAT_EQ(kMorphed.HighestOutput(), 0.0f);

    kMorphed.m_spRoot->UpdateSubtree(0.5f);
    EXPECT_EQ(kMorphed.m_pkMesh->GetPoints()[4].z, 0.0f) << "nothing moves until the mesh is seen";
    TestView kView(NiPoint3(1, -8, 8), NiPoint3(1, 1, 0));
    kView.m_spCamera->SetScene(kMorphed.m_spRoot);
    kView.m_spCamera->Render();
    EXPECT_EQ(kMorphed.m_pkMesh->GetPoints()[4], NiPoint3(1, 1, 1));
    // Level 1 puts an output vertex on the patch's centre: a quarter of the raised point's lift.
    EXPECT_FLOAT_EQ(kMorphed.HighestOutput(), 0.25f);
    kView.m_spCamera->SetScene(nullptr);

    // The older controller, with weight arrays over absolute targets, morphs in the update.
    MorphedMesh kOld;
    NiMorphController* pkOld = new NiMorphController;
    FloatKey** ppKeys = new FloatKey* [2]
    {
        new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{1, 0}),
            new TcbFloatArrayKey(1, 0, 0, 0, new float[2]{1, 1})
    };
    GetFloatKeyOps(KEY_TCB_ARRAY)->m_pfnFillDerived(ppKeys, 2, 2);
    pkOld->SetKeys(ppKeys, 2, KEY_TCB_ARRAY);
    std::vector<std::unique_ptr<NiPoint3[]>> kTargets;
    kTargets.emplace_back(NewArray(RectanglePoints(2, 2.0f)));
    kTargets.emplace_back(NewArray(RectanglePoints(2, 2.0f, 4.0f)));
    pkOld->SetTargets(std::move(kTargets), 9);
    pkOld->SetTarget(kOld.m_pkMesh);
    kOld.m_spRoot->UpdateSubtree(1.0f);
    EXPECT_EQ(kOld.m_pkMesh->GetPoints()[4], NiPoint3(1, 1, 4));
    EXPECT_FLOAT_EQ(kOld.HighestOutput(), 1.0f);

    // Data for another point count leaves the mesh alone.
    MorphedMesh kMismatch;
    NiMorpherController* pkMismatch = new NiMorpherController(RaiseCentre(10));
    pkMismatch->SetTarget(kMismatch.m_pkMesh);
    pkMismatch->Update(1.0f);
    pkMismatch->TargetPassedCulling();
    EXPECT_EQ(kMismatch.m_pkMesh->GetPoints()[4], NiPoint3(1, 1, 0));
}

// A morpher saved with its mesh loads back aimed at the mesh and morphs it.
TEST(BezierMorph, MorphedMeshRoundTrips)
{
    MorphedMesh kMorphed;
    (new NiMorpherController(RaiseCentre(9)))->SetTarget(kMorphed.m_pkMesh);
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(NifTest::Save({kMorphed.m_spRoot}));
    ASSERT_EQ(kTop.size(), 1u);
    NiNode* pkRoot = NiDynamicCast<NiNode>(kTop[0].Get());
    ASSERT_TRUE(pkRoot);
    EXPECT_TRUE(pkRoot->IsEquivalent(kMorphed.m_spRoot));
    NiBezierMesh* pkMesh = NiDynamicCast<NiBezierMesh>(pkRoot->GetAt(0));
    ASSERT_TRUE(pkMesh);
    auto* pkMorpher = NiDynamicCast<NiMorpherController>(pkMesh->GetControllers());
    ASSERT_TRUE(pkMorpher);
    pkRoot->UpdateSubtree(1.0f);
    pkMorpher->TargetPassedCulling();
    EXPECT_EQ(pkMesh->GetPoints()[4], NiPoint3(1, 1, 2));
}
