#include "AnimationTestSupport.h"

#include "scene/animation/NiAnimBlender.h"
#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/graph/NiNode.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

using namespace AnimTest;

namespace
{
// A root with one child node; the child moves along x through the keys, when given.
NiRefPtr<NiNode> MakeTree(std::initializer_list<std::pair<float, NiPoint3>> kKeys,
                          std::initializer_list<std::pair<float, const char*>> kTextKeys = {})
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiNode* pkChild = new NiNode;
    spRoot->AddChild(pkChild);
    if (kKeys.size())
    {
        NiKeyframeController* pkController = new NiKeyframeController;
        pkController->SetPositionKeys(PositionKeys(kKeys), static_cast<uint32_t>(kKeys.size()), KEY_LINEAR,
                                      true);
        pkController->SetTarget(pkChild);
    }
    if (kTextKeys.size())
    {
        NiTextKeyExtraData* pkKeys = new NiTextKeyExtraData;
        std::vector<TextKey> kList;
        for (const auto& [fTime, pcText] : kTextKeys)
            kList.emplace_back(fTime, pcText);
        pkKeys->SetKeys(std::move(kList));
        spRoot->AddExtraData(pkKeys);
    }
    return spRoot;
}

struct BlendRig
{
    NiRefPtr<NiNode> m_spRoot = MakeTree({});
    NiAnimBlender* m_pkBlender = new NiAnimBlender;

    BlendRig()
    {
        m_pkBlender->SetTarget(m_spRoot);
        m_pkBlender->Init(m_spRoot);
    }
    NiAVObject* Child() const { return m_spRoot->GetAt(0); }
};
} // namespace

TEST(AnimBlenderTest, SequencesTakeTheTreesKeysAndStandInForNodesWithout)
{
    BlendRig kRig;
    EXPECT_EQ(kRig.m_pkBlender->GetNodeCount(), 2u);
    NiRefPtr<NiNode> spOther = new NiNode;
    EXPECT_EQ(kRig.m_pkBlender->AddSequence(spOther, NiTimeController::LOOP, true), -1);
    EXPECT_EQ(kRig.m_pkBlender->GetSequenceCount(), 0);

    NiRefPtr<NiNode> spWalk = MakeTree({{1, NiPoint3(1, 0, 0)}, {3, NiPoint3(3, 0, 0)}});
    spWalk->SetTranslate(NiPoint3(7, 0, 0));
    EXPECT_EQ(kRig.m_pkBlender->AddSequence(spWalk, NiTimeController::LOOP, false), 0);
    // The root had no keys: one key of its transform at time 0, so the span starts at 0.
    EXPECT_FLOAT_EQ(kRig.m_pkBlender->GetDuration(0), 3.0f);
    const NiPositionKeyArray& kRootKeys = *kRig.m_pkBlender->GetPositionKeys(0, 0);
    ASSERT_EQ(kRootKeys.GetNumKeys(), 1u);
    EXPECT_EQ(kRootKeys.GetFirstKey()->m_Pos, NiPoint3(7, 0, 0));
    // Without the copy flag the blender took the keys out of the tree's data.
    EXPECT_EQ(NiKeyframeController::FindController(spWalk->GetAt(0))->GetData()->GetNumPosKeys(), 0u);

    // Playing installs the arrays; the blender's arrays outlive the scene's data.
    kRig.m_pkBlender->SetActiveSequence(0);
    kRig.m_pkBlender->ApplyActiveSequence();
    NiKeyframeController* pkChildController = kRig.m_pkBlender->GetController(1);
    EXPECT_EQ(pkChildController->GetData()->GetPosKeys(), kRig.m_pkBlender->GetPositionKeys(0, 1)->GetKeys());
    pkChildController->Update(2.0f);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 2.0f);
    EXPECT_FALSE(kRig.m_pkBlender->SequencesJoin(0, 0));
}

TEST(AnimBlenderTest, BlendCapturesThePoseAtItsStartAndInstallsTheDestinationAtTheEnd)
{
    BlendRig kRig;
    NiRefPtr<NiNode> spIdle = MakeTree({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(0, 0, 0)}});
    NiRefPtr<NiNode> spRun = MakeTree({{0, NiPoint3(100, 0, 0)}, {2, NiPoint3(300, 0, 0)}}, {{1.0f, "go"}});
    kRig.m_pkBlender->AddSequence(spIdle, NiTimeController::LOOP, true);
    kRig.m_pkBlender->AddSequence(spRun, NiTimeController::LOOP, true);
    kRig.m_pkBlender->SetActiveSequence(0);
    kRig.m_pkBlender->ApplyActiveSequence();
    kRig.Child()->SetTranslate(NiPoint3(40, 0, 0));

    EXPECT_FLOAT_EQ(kRig.m_pkBlender->BlendToSequence(1, "go", 10.0f, 2.0f), 1.0f);
    kRig.m_pkBlender->Update(9.9f);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 40.0f);
    EXPECT_EQ(kRig.m_pkBlender->GetActiveSequence(), 0);
    kRig.m_pkBlender->Update(9.99995f);
    EXPECT_EQ(kRig.m_pkBlender->GetActiveSequence(), -1);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 40.0f);
    kRig.m_pkBlender->Update(11.0f);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 120.0f);
    kRig.m_pkBlender->Update(12.0f);
    EXPECT_EQ(kRig.m_pkBlender->GetActiveSequence(), 1);
    EXPECT_FALSE(kRig.m_pkBlender->IsBlending());
    EXPECT_EQ(kRig.m_pkBlender->GetController(1)->GetData()->GetPosKeys(),
              kRig.m_pkBlender->GetPositionKeys(1, 1)->GetKeys());

    // A blend of no length is over at its start.
    kRig.m_pkBlender->BlendToSequence(0, nullptr, 20.0f, 0.0f);
    kRig.m_pkBlender->Update(20.0f);
    EXPECT_EQ(kRig.m_pkBlender->GetActiveSequence(), 0);
}

TEST(AnimBlenderTest, MorphMatchesTheMorphKeysAndTextKeyTimesWrap)
{
    BlendRig kRig;
    NiRefPtr<NiNode> spWalk = MakeTree({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(2, 0, 0)}},
                                       {{0.0f, "morph:A"}, {0.5f, "a"}, {1.0f, "morph:B"}, {1.5f, "b"}});
    NiRefPtr<NiNode> spRun =
        MakeTree({{0, NiPoint3(0, 0, 0)}, {4, NiPoint3(8, 0, 0)}}, {{0.0f, "morph:A"}, {3.0f, "morph:B"}});
    kRig.m_pkBlender->AddSequence(spWalk, NiTimeController::LOOP, true);
    kRig.m_pkBlender->AddSequence(spRun, NiTimeController::LOOP, true);
    kRig.m_pkBlender->SetActiveSequence(0);
    kRig.m_pkBlender->ApplyActiveSequence();
    NiKeyframeController* pkFirst = kRig.m_pkBlender->GetController(0);
    pkFirst->SetAnimType(NiTimeController::APP_INIT);
    pkFirst->Start(0.0f);

    // At 1.0 the walk next reaches "a" half a second into its next cycle.
    EXPECT_FLOAT_EQ(kRig.m_pkBlender->GetTimeToTextKey(1.0f, "a"), 1.5f);

    // The walk stands halfway between its morph keys at 0.5: the run at 1.5 of its own.
    kRig.m_pkBlender->MorphToSequence(1, 0.5f, 1.0f);
    EXPECT_TRUE(kRig.m_pkBlender->IsMorphing());
    EXPECT_FLOAT_EQ(kRig.m_pkBlender->GetMorphDestinationOffset(), 0.5f - 1.5f);
    kRig.m_pkBlender->Update(1.0f);
    EXPECT_GT(kRig.Child()->GetTranslate().x, 0.0f);
    kRig.m_pkBlender->Update(1.5f);
    EXPECT_FALSE(kRig.m_pkBlender->IsMorphing());
    EXPECT_EQ(kRig.m_pkBlender->GetActiveSequence(), 1);
}

TEST(AnimBlenderTest, RecordRoundTripsAndClonesDriveTheClonedNodes)
{
    BlendRig kRig;
    NiRefPtr<NiNode> spWalk =
        MakeTree({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(2, 0, 0)}}, {{0.0f, "start"}, {1.0f, nullptr}});
    kRig.m_pkBlender->AddSequence(spWalk, NiTimeController::REVERSE, true);
    kRig.m_pkBlender->AddSequence(spWalk, NiTimeController::LOOP, false);

    const std::vector<char> kBytes = NifTest::Save({kRig.m_spRoot});
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBytes);
    ASSERT_EQ(kTop.size(), 1u);
    EXPECT_EQ(NifTest::Save({kTop[0]}), kBytes);
    NiNode* pkLoadedRoot = NiDynamicCast<NiNode>(kTop[0].Get());
    NiAnimBlender* pkLoaded = nullptr;
    for (NiTimeController* pkWalk = pkLoadedRoot->GetControllers(); pkWalk; pkWalk = pkWalk->GetNext())
        pkLoaded = pkLoaded ? pkLoaded : NiDynamicCast<NiAnimBlender>(pkWalk);
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetRoot(), pkLoadedRoot);
    EXPECT_EQ(pkLoaded->GetNode(1), pkLoadedRoot->GetAt(0));
    EXPECT_EQ(pkLoaded->GetSequenceCount(), 2);

    NiRefPtr<NiNode> spClone = static_cast<NiNode*>(kRig.m_spRoot->Clone());
    NiAnimBlender* pkClone = nullptr;
    for (NiTimeController* pkWalk = spClone->GetControllers(); pkWalk; pkWalk = pkWalk->GetNext())
        pkClone = pkClone ? pkClone : NiDynamicCast<NiAnimBlender>(pkWalk);
    ASSERT_NE(pkClone, nullptr);
    EXPECT_EQ(pkClone->GetRoot(), spClone.Get());
    EXPECT_EQ(pkClone->GetNode(1), spClone->GetAt(0));
    EXPECT_EQ(pkClone->GetPositionKeys(0, 1), kRig.m_pkBlender->GetPositionKeys(0, 1));
    pkClone->SetActiveSequence(1);
    pkClone->ApplyActiveSequence();
    pkClone->GetController(1)->Update(1.0f);
    EXPECT_FLOAT_EQ(spClone->GetAt(0)->GetTranslate().x, 1.0f);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 0.0f);
}

TEST(AnimBlenderTest, RowsReachOnlyTheNodesTheyHold)
{
    // A sequence taken while the blender knew one node, played after Init took a tree of two.
    BlendRig kRig;
    NiRefPtr<NiNode> spSingle = new NiNode;
    kRig.m_pkBlender->Init(spSingle);
    NiRefPtr<NiNode> spWalk = new NiNode;
    NiKeyframeController* pkWalk = new NiKeyframeController;
    pkWalk->SetPositionKeys(PositionKeys({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(2, 0, 0)}}), 2, KEY_LINEAR,
                            true);
    pkWalk->SetTarget(spWalk);
    ASSERT_EQ(kRig.m_pkBlender->AddSequence(spWalk, NiTimeController::LOOP, true), 0);
    kRig.m_pkBlender->Init(kRig.m_spRoot);
    ASSERT_EQ(kRig.m_pkBlender->GetNodeCount(), 2u);
    kRig.Child()->SetTranslate(NiPoint3(5, 0, 0));

    kRig.m_pkBlender->SetActiveSequence(0);
    kRig.m_pkBlender->ApplyActiveSequence();
    kRig.m_pkBlender->GetController(0)->Update(1.0f);
    EXPECT_FLOAT_EQ(kRig.m_spRoot->GetTranslate().x, 1.0f);
    EXPECT_EQ(kRig.m_pkBlender->GetController(1)->GetData()->GetNumPosKeys(), 0u);
    EXPECT_FALSE(kRig.m_pkBlender->SequencesJoin(0, 0));
    EXPECT_EQ(kRig.m_pkBlender->PoseAtTime(-1, 0.0f), 0u);

    // A blend moves the node the row holds and leaves the other where it stands.
    kRig.m_pkBlender->BlendToSequence(0, nullptr, 10.0f, 2.0f);
    kRig.m_pkBlender->Update(10.0f);
    kRig.m_pkBlender->Update(11.0f);
    EXPECT_FLOAT_EQ(kRig.m_spRoot->GetTranslate().x, 0.5f);
    EXPECT_FLOAT_EQ(kRig.Child()->GetTranslate().x, 5.0f);

    // The record still holds a row entry per node: the missing one saves empty.
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(NifTest::Save({kRig.m_spRoot}));
    ASSERT_EQ(kTop.size(), 1u);
    NiAnimBlender* pkLoaded = nullptr;
    for (NiTimeController* pkC = NiDynamicCast<NiNode>(kTop[0].Get())->GetControllers(); pkC;
         pkC = pkC->GetNext())
        pkLoaded = pkLoaded ? pkLoaded : NiDynamicCast<NiAnimBlender>(pkC);
    ASSERT_NE(pkLoaded, nullptr);
    ASSERT_EQ(pkLoaded->GetSequenceCount(), 1);
    EXPECT_EQ(pkLoaded->GetPositionKeys(0, 0)->GetNumKeys(), 2u);
    EXPECT_EQ(pkLoaded->GetPositionKeys(0, 1)->GetNumKeys(), 0u);
}

TEST(AnimBlenderTest, AClonedBlenderReachesOnlyWhatWasClonedWithIt)
{
    // The blender sits on the child and animates from the root: a clone of the child leaves the
    // root and the root's controller behind.
    NiRefPtr<NiNode> spRoot = MakeTree({});
    NiAnimBlender* pkBlender = new NiAnimBlender;
    pkBlender->SetTarget(spRoot->GetAt(0));
    pkBlender->Init(spRoot);
    NiRefPtr<NiNode> spClone = static_cast<NiNode*>(spRoot->GetAt(0)->Clone());
    NiAnimBlender* pkClone = nullptr;
    for (NiTimeController* pkWalk = spClone->GetControllers(); pkWalk; pkWalk = pkWalk->GetNext())
        pkClone = pkClone ? pkClone : NiDynamicCast<NiAnimBlender>(pkWalk);
    ASSERT_NE(pkClone, nullptr);
    EXPECT_EQ(pkClone->GetRoot(), nullptr);
    EXPECT_EQ(pkClone->GetController(0), nullptr);
    EXPECT_EQ(pkClone->GetNode(1), spClone.Get());
    EXPECT_NE(pkClone->GetController(1), pkBlender->GetController(1));
}
