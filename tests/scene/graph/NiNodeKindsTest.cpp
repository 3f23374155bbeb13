#include "GeometryTestHelpers.h"
#include "SceneTestObjects.h"
#include "TestCamera.h"

#include "scene/graph/NiAccumulator.h"
#include "scene/graph/NiBSPNode.h"
#include "scene/graph/NiBillboardNode.h"
#include "scene/graph/NiBone.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiCollisionSwitch.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiSortAdjustNode.h"
#include "scene/graph/NiTriShape.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
// An accumulator that keeps every geometry offered to it and draws nothing.
class KeepAllAccumulator : public NiAccumulator
{
public:
    bool QueueObject(NiAVObject*) override
    {
        ++m_uiQueued;
        return true;
    }
    void EndAccumulation() override
    {
        ++m_uiEnded;
        NiAccumulator::EndAccumulation();
    }
    uint32_t m_uiQueued = 0;
    uint32_t m_uiEnded = 0;
};

NiTriShape* Triangle(float fX)
{
    return new NiTriShape(
        3, NewArray<NiPoint3>({NiPoint3(fX, -1, -1), NiPoint3(fX, -1, 1), NiPoint3(fX, 1, -1)}), nullptr,
        nullptr, nullptr, 1, NewArray<uint16_t>({0, 1, 2}));
}

NiPoint3 Column(const NiRotationMatrix& kMatrix, uint32_t uiColumn)
{
    NiPoint3 kOut;
    kMatrix.GetCol(uiColumn, kOut);
    return kOut;
}
} // namespace

TEST(NiNodeKindsTest, BillboardTurnsTowardTheCameraByItsMode)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    // Looking along +x with up +y and right +z, from (1, 5, 0).
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(1, 5, 0));

    NiRefPtr<NiBillboardNode> spBillboard = new NiBillboardNode;
    EXPECT_EQ(spBillboard->GetMode(), NiBillboardNode::ROTATE_ABOUT_UP);
    TestShape* pkChild = new TestShape(NiPoint3::ZERO, 1.0f);
    pkChild->SetTranslate(NiPoint3(2, 0, 0));
    spBillboard->AddChild(pkChild);
    spBillboard->UpdateSubtree(0.0f);
    // Any turn about the origin keeps the child inside.
    EXPECT_EQ(spBillboard->GetWorldBound().m_kCenter, NiPoint3::ZERO);
    EXPECT_FLOAT_EQ(spBillboard->GetWorldBound().m_fRadius, 3.0f);

    spBillboard->PassedCulling(spCamera);
    EXPECT_EQ(spBillboard->GetWorldRotate(), Rows(NiPoint3(0, 0, 1), NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0)));
    // The subtree follows the turn: the child's x offset now points along -z.
    ExpectPoint(pkChild->GetWorldTranslate(), NiPoint3(0, 0, -2));
    // An update pass leaves the turn for the next draw.
    spBillboard->UpdateSubtree(0.0f);
    EXPECT_EQ(spBillboard->GetWorldRotate(), NiRotationMatrix::IDENTITY);

    // The camera's frame: facing puts z against the view, rigid takes the frame as it is.
    spBillboard->SetMode(NiBillboardNode::ALWAYS_FACE_CAMERA);
    spBillboard->PassedCulling(spCamera);
    EXPECT_EQ(Column(spBillboard->GetWorldRotate(), 2), NiPoint3(-1, 0, 0));
    EXPECT_EQ(Column(spBillboard->GetWorldRotate(), 1), NiPoint3(0, 1, 0));
    spBillboard->SetMode(NiBillboardNode::RIGID_FACE_CAMERA);
    spBillboard->PassedCulling(spCamera);
    EXPECT_EQ(Column(spBillboard->GetWorldRotate(), 2), NiPoint3(1, 0, 0));
    spBillboard->SetMode(3);
    spBillboard->PassedCulling(spCamera);
    EXPECT_EQ(spBillboard->GetWorldRotate(), NiRotationMatrix::IDENTITY);
}

TEST(NiNodeKindsTest, BSPDrawsTheFarSideFirstAndHoldsTwoChildren)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiBSPNode> spBSP = new NiBSPNode;
    spBSP->SetModelPlane(NiPlane(NiPoint3(1, 0, 0), 0.0f));
    // Shapes large enough to hold every camera below, so none is culled.
    TestShape* apkChild[2] = {new TestShape(NiPoint3::ZERO, 100.0f), new TestShape(NiPoint3::ZERO, 100.0f)};
    for (TestShape* pkChild : apkChild)
    {
        pkChild->SetRenderer(spRenderer);
        spBSP->AddChild(pkChild);
    }
    spBSP->UpdateSubtree(0.0f);

    const NiRotationMatrix kLookBack = Rows(NiPoint3(-1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, -1));
    struct Case
    {
        NiPoint3 m_kLocation;
        NiRotationMatrix m_kRotate;
        uint32_t m_uiFirst;
    };
    const Case akCases[] = {
        {NiPoint3(-10, 0, 0), NiRotationMatrix::IDENTITY, 1},
        {NiPoint3(10, 0, 0), kLookBack, 0},
        {NiPoint3(0, 3, 0), NiRotationMatrix::IDENTITY, 0}, // on the plane, looking to the positive side
        {NiPoint3(0, 3, 0), kLookBack, 1},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, kCase.m_kLocation, kCase.m_kRotate);
        spRenderer->ClearCalls();
        spBSP->CullAndDraw(spCamera);
        std::vector<const void*> kOrder;
        for (const RecordingRender::Call& kCall : spRenderer->GetCalls())
        {
            if (kCall.m_kName == "DrawTriShape")
                kOrder.push_back(kCall.m_kObjects[1]);
        }
        const uint32_t uiFirst = kCase.m_uiFirst;
        EXPECT_EQ(kOrder, (std::vector<const void*>{&apkChild[uiFirst]->GetWorldBound(),
                                                    &apkChild[1 - uiFirst]->GetWorldBound()}))
            << kCase.m_kLocation.x << "," << kCase.m_kLocation.y;
    }

    // A third child is refused before it is touched: it stays with its parent.
    NiRefPtr<NiNode> spHolder = new NiNode;
    TestShape* pkThird = new TestShape;
    spHolder->AddChild(pkThird);
    spBSP->AddChild(pkThird);
    EXPECT_EQ(spBSP->SetChildAt(2, pkThird), nullptr);
    EXPECT_EQ(pkThird->GetParent(), spHolder);
    EXPECT_EQ(spBSP->GetArrayCount(), 2u);
    EXPECT_EQ(spHolder->GetChildCount(), 1u);

    // The plane moves with the node and with a baked transform.
    spBSP->SetTranslate(NiPoint3(5, 0, 0));
    spBSP->UpdateSubtree(0.0f);
    EXPECT_EQ(spBSP->GetWorldPlane(), NiPlane(NiPoint3(1, 0, 0), 5.0f));
    spBSP->BakeTransform(QuarterTurnZ(), NiPoint3(0, 2, 0), false);
    ExpectPoint(spBSP->GetModelPlane().m_kNormal, NiPoint3(0, 1, 0));
    EXPECT_FLOAT_EQ(spBSP->GetModelPlane().m_fConstant, 2.0f);
}

TEST(NiNodeKindsTest, BSPRecordRoundTripsAndAThirdChildFailsTheLoad)
{
    NiRefPtr<NiBSPNode> spBSP = new NiBSPNode;
    spBSP->SetModelPlane(NiPlane(NiPoint3(0, 0, 1), 4.0f));
    spBSP->AddChild(new TestShape);
    spBSP->AddChild(new TestShape);
    const std::vector<char> kSaved = NifTest::Save({spBSP});
    NiRefPtr<NiBSPNode> spLoaded = LoadFirst<NiBSPNode>(std::string(kSaved.begin(), kSaved.end()));
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spBSP));

    // Node 1 with children 2 and 3 and no effects; a third id is written in.
    std::string kBytes(kSaved.begin(), kSaved.end());
    const uint32_t auiChildren[] = {2, 2, 3, 0};
    const size_t uiAt =
        kBytes.find(std::string(reinterpret_cast<const char*>(auiChildren), sizeof(auiChildren)));
    ASSERT_NE(uiAt, std::string::npos);
    const uint32_t auiThree[] = {3, 2, 3, 3, 0};
    kBytes.replace(uiAt, sizeof(auiChildren), reinterpret_cast<const char*>(auiThree), sizeof(auiThree));
    EXPECT_TRUE(NifTest::Load(kBytes).empty());
}

TEST(NiNodeKindsTest, SortAdjustChoosesTheAccumulatorOfItsSubtree)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-10, 0, 0));
    NiRefPtr<KeepAllAccumulator> spFrame = new KeepAllAccumulator;
    NiRefPtr<KeepAllAccumulator> spOwn = new KeepAllAccumulator;

    struct Case
    {
        int32_t m_eMode;
        bool m_bOwn;
        uint32_t m_uiDrawn, m_uiFrameKept, m_uiOwnKept;
    };
    const Case akCases[] = {
        {NiSortAdjustNode::SORT_KEEP, false, 0, 1, 0},
        {NiSortAdjustNode::SORT_DIRECT, false, 1, 0, 0},
        {NiSortAdjustNode::SORT_OWN_ACCUMULATOR, true, 0, 0, 1},
        {NiSortAdjustNode::SORT_OWN_ACCUMULATOR, false, 1, 0, 0},
        {7, false, 0, 1, 0},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiSortAdjustNode> spNode = new NiSortAdjustNode;
        spNode->AddChild(Triangle(5.0f));
        spNode->SetSortingMode(kCase.m_eMode);
        spNode->SetAccumulator(kCase.m_bOwn ? spOwn.Get() : nullptr);
        spNode->UpdateSubtree(0.0f);
        spNode->RefreshPropertyStates();
        spFrame->m_uiQueued = spOwn->m_uiQueued = spOwn->m_uiEnded = 0;
        spRenderer->ClearCalls();
        spRenderer->SetAccumulator(spFrame);

        spNode->CullAndDraw(spCamera);
        EXPECT_EQ(spRenderer->CountCalls("DrawTriShape"), kCase.m_uiDrawn) << "mode " << kCase.m_eMode;
        EXPECT_EQ(spFrame->m_uiQueued, kCase.m_uiFrameKept) << "mode " << kCase.m_eMode;
        EXPECT_EQ(spOwn->m_uiQueued, kCase.m_uiOwnKept) << "mode " << kCase.m_eMode;
        EXPECT_EQ(spOwn->m_uiEnded, kCase.m_uiOwnKept);
        EXPECT_EQ(spRenderer->GetAccumulator(), spFrame);
    }
}

TEST(NiNodeKindsTest, SortAdjustRecordCarriesTheAccumulatorFromVersion301)
{
    NiRefPtr<NiSortAdjustNode> spNode = new NiSortAdjustNode;
    spNode->SetSortingMode(NiSortAdjustNode::SORT_OWN_ACCUMULATOR);
    const std::vector<char> kSaved = NifTest::Save({spNode});
    NiRefPtr<NiSortAdjustNode> spLoaded =
        LoadFirst<NiSortAdjustNode>(std::string(kSaved.begin(), kSaved.end()));
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spNode));

    // The same record as a "3.0" file: the accumulator id (the record's last word) is absent.
    std::string kBytes(kSaved.begin(), kSaved.end());
    const size_t uiVersion = kBytes.find("3.1\n");
    ASSERT_NE(uiVersion, std::string::npos);
    kBytes.replace(uiVersion, 4, "3.0\n");
    const size_t uiEnd = kBytes.rfind("End Of File") - 4;
    kBytes.erase(uiEnd - 4, 4);
    NiRefPtr<NiSortAdjustNode> spOld = LoadFirst<NiSortAdjustNode>(kBytes);
    ASSERT_TRUE(spOld);
    EXPECT_EQ(spOld->GetSortingMode(), NiSortAdjustNode::SORT_OWN_ACCUMULATOR);
    EXPECT_EQ(spOld->GetAccumulator(), nullptr);
}

TEST(NiNodeKindsTest, CollisionSwitchHidesItsSubtreeFromPicking)
{
    for (const bool bPropagate : {true, false})
    {
        NiRefPtr<NiCollisionSwitch> spSwitch = new NiCollisionSwitch;
        EXPECT_TRUE(spSwitch->GetCollisionPropagate());
        spSwitch->SetCollisionPropagate(bPropagate);
        spSwitch->AddChild(Triangle(5.0f));
        spSwitch->UpdateSubtree(0.0f);
        NiPicker kPicker;
        kPicker.SetTarget(spSwitch);
        EXPECT_EQ(kPicker.Pick(NiPoint3::ZERO, NiPoint3::UNIT_X, false), bPropagate);
        NiRefPtr<NiCollisionSwitch> spLoaded = NifTest::RoundTrip<NiCollisionSwitch>(spSwitch);
        ASSERT_TRUE(spLoaded);
        EXPECT_EQ(spLoaded->GetCollisionPropagate(), bPropagate);
    }
}

TEST(NiNodeKindsTest, BonesChainTheirSkinTransforms)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetTranslate(NiPoint3(100, 0, 0));
    NiBone* pkRootBone = new NiBone;
    pkRootBone->SetTranslate(NiPoint3(0, 0, 5));
    pkRootBone->SetScale(2.0f);
    NiBone* pkChildBone = new NiBone;
    pkChildBone->SetTranslate(NiPoint3(1, 0, 0));
    pkChildBone->SetRotate(QuarterTurnZ());
    spRoot->AddChild(pkRootBone);
    pkRootBone->AddChild(pkChildBone);
    spRoot->UpdateSubtree(0.0f);

    // The root bone's skin transform is its local one; the chain starts there.
    EXPECT_TRUE(pkRootBone->IsSkeletonRoot());
    EXPECT_FALSE(pkChildBone->IsSkeletonRoot());
    EXPECT_EQ(pkRootBone->GetSkinTranslate(), NiPoint3(0, 0, 5));
    EXPECT_EQ(pkChildBone->GetSkinTranslate(), NiPoint3(2, 0, 5));
    EXPECT_EQ(pkChildBone->GetSkinScale(), 2.0f);
    EXPECT_EQ(pkChildBone->GetSkinRotate(), QuarterTurnZ());

    NiRefPtr<NiNode> spClone = NiDynamicCast<NiNode>(spRoot->Clone());
    ASSERT_TRUE(spClone);
    const NiBone* pkClonedChild = NiDynamicCast<NiBone>(NiDynamicCast<NiNode>(spClone->GetAt(0))->GetAt(0));
    ASSERT_TRUE(pkClonedChild);
    EXPECT_EQ(pkClonedChild->GetSkinTranslate(), NiPoint3(2, 0, 5));
    EXPECT_EQ(pkChildBone->GetExtraData(), nullptr); // no clone marker left behind
}
