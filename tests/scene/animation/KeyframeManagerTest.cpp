#include "AnimationTestSupport.h"

#include "platform/win32/DebugOutputCapture.h"
#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/NiKeyframeManager.h"
#include "scene/animation/NiParticleSystemController.h"
#include "scene/animation/NiSequenceStreamHelper.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiStringExtraData.h"
#include "tests/scene/graph/NifTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

using namespace AnimTest;
using Sequence = NiKeyframeManager::Sequence;

namespace
{
// root -> a1 -> b1, root -> a2: depth-first order root, a1, b1, a2.
struct Rig
{
    NiRefPtr<NiNode> m_spRoot = new NiNode;
    NiNode* m_apkNodes[3] = {new NiNode, new NiNode, new NiNode};
    NiKeyframeManager* m_pkManager = nullptr;

    Rig()
    {
        m_spRoot->SetName("root");
        const char* apcNames[3] = {"a1", "b1", "a2"};
        for (int i = 0; i < 3; ++i)
            m_apkNodes[i]->SetName(apcNames[i]);
        m_spRoot->AddChild(m_apkNodes[0]);
        m_apkNodes[0]->AddChild(m_apkNodes[1]);
        m_spRoot->AddChild(m_apkNodes[2]);
        m_pkManager = new NiKeyframeManager(m_spRoot);
    }
};

// A controller moving along x from x0 at 0 to x1 at 1 (looping over 0..1).
NiKeyframeController* Mover(float fX0, float fX1, float fEnd = 1.0f)
{
    NiKeyframeController* pkController = new NiKeyframeController;
    pkController->SetPositionKeys(PositionKeys({{0, NiPoint3(fX0, 0, 0)}, {fEnd, NiPoint3(fX1, 0, 0)}}), 2,
                                  KEY_LINEAR, true);
    pkController->SetCycleType(NiTimeController::LOOP);
    return pkController;
}

Sequence* MakeSequence(const char* pcName,
                       std::initializer_list<std::pair<const char*, NiKeyframeController*>> kList,
                       std::initializer_list<std::pair<float, const char*>> kTextKeys = {})
{
    Sequence* pkSequence = new Sequence(pcName);
    for (const auto& [pcTarget, pkController] : kList)
        pkSequence->AddController(pcTarget, pkController);
    if (kTextKeys.size())
    {
        NiTextKeyExtraData* pkKeys = new NiTextKeyExtraData;
        std::vector<TextKey> kKeys;
        for (const auto& [fTime, pcText] : kTextKeys)
            kKeys.emplace_back(fTime, pcText);
        pkKeys->SetKeys(std::move(kKeys));
        pkSequence->SetTextKeys(pkKeys);
    }
    return pkSequence;
}
} // namespace

TEST(KeyframeManagerTest, SequencesBindInDepthFirstOrderAndPlayThroughTheManager)
{
    Rig kRig;
    ASSERT_TRUE(
        kRig.m_pkManager->AddSequence(MakeSequence("walk", {{"a1", Mover(0, 10)}, {"a2", Mover(5, 6)}})));
    ASSERT_TRUE(
        kRig.m_pkManager->AddSequence(MakeSequence("bad", {{"a2", Mover(0, 1)}, {"a1", Mover(0, 1)}})));
    EXPECT_EQ(kRig.m_spRoot->GetControllers(), kRig.m_pkManager);

    // Out of depth-first order: nothing stays bound.
    EXPECT_FALSE(kRig.m_pkManager->ActivateSequence("bad"));
    EXPECT_EQ(kRig.m_apkNodes[2]->GetControllers(), nullptr);
    EXPECT_FALSE(kRig.m_pkManager->ActivateSequence("missing"));

    ASSERT_TRUE(kRig.m_pkManager->ActivateSequence("walk"));
    EXPECT_EQ(kRig.m_pkManager->GetSequence("walk")->GetState(), Sequence::ANIMATING);
    // The scene's own update leaves the stopped controllers alone; the manager moves them.
    kRig.m_spRoot->UpdateSubtree(0.5f);
    EXPECT_FLOAT_EQ(kRig.m_apkNodes[0]->GetTranslate().x, 5.0f);
    EXPECT_FLOAT_EQ(kRig.m_apkNodes[2]->GetTranslate().x, 5.5f);
    EXPECT_FALSE(kRig.m_apkNodes[0]->GetControllers()->GetActive());

    ASSERT_TRUE(kRig.m_pkManager->DeactivateSequence("walk"));
    EXPECT_EQ(kRig.m_apkNodes[0]->GetControllers(), nullptr);

    // A sequence passes from one manager to another; a taken name is refused.
    Sequence* pkWalk = kRig.m_pkManager->GetSequence("walk");
    ASSERT_TRUE(kRig.m_pkManager->RemoveSequence("walk"));
    Rig kOther;
    EXPECT_TRUE(kOther.m_pkManager->AddSequence(pkWalk));
    Sequence* pkSecond = MakeSequence("walk", {});
    EXPECT_FALSE(kOther.m_pkManager->AddSequence(pkSecond));
    delete pkSecond;
    EXPECT_TRUE(kOther.m_pkManager->ActivateSequence("walk"));
}

TEST(KeyframeManagerTest, BlendShowsSourceThenMixesThenDestinationFromTheNamedKey)
{
    Rig kRig;
    kRig.m_pkManager->AddSequence(MakeSequence("idle", {{"a1", Mover(0, 0)}}));
    kRig.m_pkManager->AddSequence(
        MakeSequence("run", {{"a1", Mover(100, 200)}}, {{0.0f, "start"}, {0.5f, "stride"}}));
    ASSERT_TRUE(kRig.m_pkManager->BlendFromSequence("idle", "run", "stride", 10.0f, 12.0f));
    NiNode* pkNode = kRig.m_apkNodes[0];
    kRig.m_pkManager->Update(9.0f);
    EXPECT_FLOAT_EQ(pkNode->GetTranslate().x, 0.0f);
    // Halfway: halfway between the source at the start and the destination at the named key.
    kRig.m_pkManager->Update(11.0f);
    EXPECT_FLOAT_EQ(pkNode->GetTranslate().x, 75.0f);
    // After the end the destination runs on from the named key.
    kRig.m_pkManager->Update(12.25f);
    EXPECT_FLOAT_EQ(pkNode->GetTranslate().x, 175.0f);

    win32::DebugOutputCapture kCapture;
    EXPECT_FALSE(kRig.m_pkManager->BlendFromSequence("idle", "run", nullptr, 0, 1));
    EXPECT_TRUE(kRig.m_pkManager->DeactivateBlend("idle", "run"));
    EXPECT_TRUE(kRig.m_pkManager->DeactivateAll());
    EXPECT_EQ(kCapture.GetText(), "Attempting to blend a sequence that's already animating\n");
}

TEST(KeyframeManagerTest, MorphKeepsTheDestinationInStepWithTheSource)
{
    Rig kRig;
    NiKeyframeController* pkSlow = Mover(0, 2, 2);
    kRig.m_pkManager->AddSequence(
        MakeSequence("walk", {{"a1", pkSlow}}, {{0.0f, "morph:A"}, {1.0f, "morph:B"}}));
    kRig.m_pkManager->AddSequence(
        MakeSequence("run", {{"a1", Mover(0, 4, 4)}}, {{0.0f, "morph:A"}, {3.0f, "morph:B"}}));
    ASSERT_TRUE(kRig.m_pkManager->MorphFromSequence("walk", "run", 0.5f, 1.5f));
    // The walk stands halfway between its morph keys; the run starts halfway between its own.
    EXPECT_FLOAT_EQ(kRig.m_pkManager->GetSequence("run")->GetTimeOffset(), 1.0f);

    // A failed activation leaves both sequences unbound.
    Rig kOther;
    kOther.m_pkManager->AddSequence(MakeSequence("x", {{"a1", Mover(0, 1)}}));
    kOther.m_pkManager->AddSequence(MakeSequence("y", {{"nobody", Mover(0, 1)}}));
    win32::DebugOutputCapture kCapture;
    EXPECT_FALSE(kOther.m_pkManager->MorphFromSequence("y", "x", 0, 1));
    EXPECT_EQ(kOther.m_apkNodes[0]->GetControllers(), nullptr);
    EXPECT_EQ(kCapture.GetText(), "Cannot activate a blending sequence\n");
}

TEST(KeyframeManagerTest, MergeCopyAndNextTextKeyTime)
{
    Rig kRig;
    Sequence* pkA = MakeSequence("A", {{"a1", Mover(0, 1)}, {"a2", Mover(0, 1)}}, {{0.25f, "hit"}});
    Sequence* pkB = MakeSequence("B", {{"b1", Mover(0, 1)}});
    pkB->SetTimeOffset(3.0f);
    pkA->SetTimeOffset(1.0f);
    kRig.m_pkManager->AddSequence(pkA);
    kRig.m_pkManager->AddSequence(pkB);
    Sequence* pkMerged = Sequence::Merge(pkA, pkB, "AB");
    ASSERT_NE(pkMerged, nullptr);
    ASSERT_EQ(pkMerged->GetControllerCount(), 3u);
    EXPECT_STREQ(pkMerged->GetTargetName(0), "a1");
    EXPECT_STREQ(pkMerged->GetTargetName(1), "b1");
    EXPECT_STREQ(pkMerged->GetTargetName(2), "a2");
    EXPECT_FLOAT_EQ(pkMerged->GetController(1)->GetPhase(), 2.0f);
    EXPECT_EQ(kRig.m_pkManager->GetSequence("AB"), pkMerged);

    Sequence* pkCopy = Sequence::Copy(*pkA);
    EXPECT_NE(pkCopy->GetController(0), pkA->GetController(0));
    EXPECT_EQ(pkCopy->GetTextKeys(), pkA->GetTextKeys());
    delete pkCopy;

    // Looping over 0..1, at key time 0.5 the key at 0.25 comes next in the following cycle.
    EXPECT_FLOAT_EQ(pkA->GetNextTextKeyTime("hit", -0.5f), 0.25f);
}

TEST(KeyframeManagerTest, RecordsHoldEmbeddedAndReferencedSequences)
{
    TempFolder kFolder;
    // A sequence file: a helper with text keys, a name and a controller.
    NiRefPtr<NiSequenceStreamHelper> spHelper = new NiSequenceStreamHelper;
    spHelper->AddExtraData(new NiStringExtraData("a1"));
    NiTextKeyExtraData* pkKeys = new NiTextKeyExtraData;
    pkKeys->SetKeys({TextKey(0, "start")});
    spHelper->AddExtraData(pkKeys);
    Mover(3, 4)->SetTarget(spHelper);
    NiStream kWriter;
    kWriter.AddTopObject(spHelper);
    ASSERT_TRUE(kWriter.SaveFile(kFolder.Path("walk.nif").c_str()));

    Rig kRig;
    ASSERT_TRUE(kRig.m_pkManager->AddSequence(kFolder.Path("WALK.NIF").c_str(), "walk", 0));
    Sequence* pkWalk = kRig.m_pkManager->GetSequence("walk");
    ASSERT_EQ(pkWalk->GetControllerCount(), 1u);
    EXPECT_NE(pkWalk->GetTextKeys(), nullptr);
    EXPECT_FALSE(kRig.m_pkManager->AddSequence(kFolder.Path("none.nif").c_str(), "none", 0));
    kRig.m_pkManager->AddSequence(MakeSequence("inline", {{"a2", Mover(1, 2)}}, {{0.5f, "mid"}}));

    const NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip(kRig.m_spRoot.Get());
    ASSERT_TRUE(spLoaded);
    NiKeyframeManager* pkLoaded = NiDynamicCast<NiKeyframeManager>(spLoaded->GetControllers());
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetSequenceCount(), 2u);
    EXPECT_TRUE(pkLoaded->IsEquivalent(kRig.m_pkManager));
    EXPECT_EQ(pkLoaded->GetSequence("walk")->GetControllerCount(), 1u);
    EXPECT_TRUE(pkLoaded->ActivateSequence("inline"));

    // No sequences: a count of 0, equivalent after loading.
    NiRefPtr<NiNode> spBare = new NiNode;
    NiKeyframeManager* pkBare = new NiKeyframeManager(spBare);
    const NiRefPtr<NiNode> spBareLoaded = NifTest::RoundTrip(spBare.Get());
    ASSERT_TRUE(spBareLoaded);
    EXPECT_TRUE(spBareLoaded->GetControllers()->IsEquivalent(pkBare));

    // A file whose manager refers to the file itself is read once and loads.
    NiRefPtr<NiNode> spSelf = new NiNode;
    NiKeyframeManager* pkSelf = new NiKeyframeManager(spSelf);
    Sequence* pkRef = MakeSequence("self", {});
    pkRef->SetFileName(kFolder.Path("self.nif").c_str());
    pkSelf->AddSequence(pkRef);
    NiStream kSelfWriter;
    kSelfWriter.AddTopObject(spSelf);
    ASSERT_TRUE(kSelfWriter.SaveFile(kFolder.Path("self.nif").c_str()));
    NiStream kReader;
    EXPECT_TRUE(kReader.LoadFile(kFolder.Path("self.nif").c_str()));
}

TEST(KeyframeManagerTest, SequenceFilesAreRegularFilesAndCountAgainstTheLoadThatNamesThem)
{
    TempFolder kFolder;
    // A sequence file that also holds a particle system asking for arrays of some 4 MB.
    NiRefPtr<NiSequenceStreamHelper> spHelper = new NiSequenceStreamHelper;
    spHelper->AddExtraData(new NiStringExtraData("a1"));
    Mover(3, 4)->SetTarget(spHelper);
    NiRefPtr<NiNode> spEmitter = new NiNode;
    NiParticleSystemController* pkParticles = new NiParticleSystemController;
    pkParticles->SetMaxParticles(NiParticleSystemController::MAX_PARTICLES);
    pkParticles->SetTarget(spEmitter);
    NiStream kWriter;
    kWriter.AddTopObject(spHelper);
    kWriter.AddTopObject(spEmitter);
    ASSERT_TRUE(kWriter.SaveFile(kFolder.Path("walk.nif").c_str()));
    ASSERT_EQ(mkfifo(kFolder.Path("pipe.nif").c_str(), 0600), 0);

    // A model naming the file (and a FIFO) in one sequence after another.
    auto SaveModel = [&](uint32_t uiReferences)
    {
        NiRefPtr<NiNode> spRoot = new NiNode;
        NiKeyframeManager* pkManager = new NiKeyframeManager(spRoot);
        for (uint32_t i = 0; i <= uiReferences; ++i)
        {
            Sequence* pkSequence = MakeSequence(("s" + std::to_string(i)).c_str(), {});
            pkSequence->SetFileName(kFolder.Path(i == 0 ? "pipe.nif" : "walk.nif").c_str());
            pkManager->AddSequence(pkSequence);
        }
        return NifTest::Save({spRoot});
    };
    const std::vector<NiRefPtr<NiObject>> kFew = NifTest::Load(SaveModel(4));
    ASSERT_EQ(kFew.size(), 1u);
    const NiKeyframeManager* pkLoaded =
        NiDynamicCast<NiKeyframeManager>(static_cast<NiNode*>(kFew[0].Get())->GetControllers());
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetSequence("s0"), nullptr);
    EXPECT_NE(pkLoaded->GetSequence("s4"), nullptr);

    // Twenty loads of the file would pass the model's bound: those that would are refused, as
    // a file that cannot be read, and the model loads within its bound without them.
    const std::vector<char> kMany = SaveModel(20);
    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kMany.data(), kMany.size()));
    const NiKeyframeManager* pkBounded =
        NiDynamicCast<NiKeyframeManager>(static_cast<NiNode*>(kStream.GetTopObjectAt(0))->GetControllers());
    ASSERT_NE(pkBounded, nullptr);
    EXPECT_GT(pkBounded->GetSequenceCount(), 10u);
    EXPECT_LT(pkBounded->GetSequenceCount(), 20u);
    EXPECT_LE(kStream.GetReservedMemory(), kStream.GetMemoryBound());
    EXPECT_GT(kStream.GetReservedMemory(), NiStream::LOAD_MEMORY_CONSTANT / 2);
}
