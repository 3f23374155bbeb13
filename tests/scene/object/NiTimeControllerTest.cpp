#include "StreamTestObjects.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace
{
NiRefPtr<TestController> MakeController(NiTimeController::CycleType eCycle, float fLo, float fHi)
{
    NiRefPtr<TestController> spController = new TestController;
    spController->SetCycleType(eCycle);
    spController->SetLoKeyTime(fLo);
    spController->SetHiKeyTime(fHi);
    return spController;
}
} // namespace

TEST(NiTimeControllerTime, NewControllerIsActiveClampAppTimeWithAnUnsetRange)
{
    NiRefPtr<TestController> spController = new TestController;
    EXPECT_EQ(spController->GetFlags(), 12);
    EXPECT_EQ(spController->GetFrequency(), 1.0f);
    EXPECT_EQ(spController->GetLoKeyTime(), FLT_MAX);
    EXPECT_EQ(spController->GetHiKeyTime(), -FLT_MAX);
    // The upper end is tested first, so every time maps to the lowest float.
    for (float fTime : {-5.0f, 0.0f, 3.0f, 1e30f})
        EXPECT_EQ(spController->ToControllerTime(fTime), -3.4028235e38f);
}

TEST(NiTimeControllerTime, CycleTypesMapScaledTimeIntoTheKeyRange)
{
    struct Case
    {
        NiTimeController::CycleType eCycle;
        float fTime;
        float fExpected;
    };
    // Each mapping is the first after construction, so the scaled time is the time itself.
    const Case akCases[] = {
        {NiTimeController::LOOP, 5.0f, 1.0f},    {NiTimeController::LOOP, 4.0f, 0.0f},
        {NiTimeController::REVERSE, 3.0f, 1.0f}, {NiTimeController::REVERSE, 4.5f, 0.5f},
        {NiTimeController::REVERSE, 2.0f, 2.0f}, {NiTimeController::CLAMP, 7.0f, 2.0f},
        {NiTimeController::CLAMP, -1.0f, 0.0f},  {NiTimeController::CLAMP, 1.25f, 1.25f},
        {NiTimeController::LOOP, NAN, 0.0f},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<TestController> spController = MakeController(kCase.eCycle, 0.0f, 2.0f);
        EXPECT_EQ(spController->ToControllerTime(kCase.fTime), kCase.fExpected)
            << "cycle " << kCase.eCycle << " at " << kCase.fTime;
    }
    NiRefPtr<TestController> spEmpty = MakeController(NiTimeController::LOOP, 1.5f, 1.5f);
    EXPECT_EQ(spEmpty->ToControllerTime(9.0f), 1.5f);
}

TEST(NiTimeControllerTime, LoopAccumulatesElapsedTimeAcrossMappings)
{
    NiRefPtr<TestController> spController = MakeController(NiTimeController::LOOP, 0.0f, 2.0f);
    EXPECT_EQ(spController->ToControllerTime(5.0f), 1.0f);
    EXPECT_EQ(spController->ToControllerTime(5.5f), 1.5f);
    EXPECT_EQ(spController->GetStartTime(), 5.0f);
    EXPECT_EQ(spController->GetLastTime(), 5.5f);
}

TEST(NiTimeControllerTime, AppInitCountsFromTheFirstMappingAfterStart)
{
    NiRefPtr<TestController> spController = MakeController(NiTimeController::CLAMP, -100.0f, 100.0f);
    spController->SetAnimType(NiTimeController::APP_INIT);
    spController->SetFrequency(2.0f);
    spController->SetPhase(0.5f);
    spController->Stop();
    EXPECT_FALSE(spController->GetActive());
    spController->Start(10.0f);
    EXPECT_TRUE(spController->GetActive());
    EXPECT_EQ(spController->GetStartTime(), 10.0f);
    EXPECT_EQ(spController->ToControllerTime(12.0f), 0.5f);
    EXPECT_EQ(spController->ToControllerTime(13.0f), 2.5f);
    spController->Stop();
    EXPECT_EQ(spController->GetStartTime(), NiTimeController::TIME_UNSET);
}

TEST(NiTimeControllerTarget, SetTargetMovesBetweenChainsOnce)
{
    NiRefPtr<TestNode> spFirst = new TestNode("first");
    NiRefPtr<TestNode> spSecond = new TestNode("second");
    NiRefPtr<TestController> spController = new TestController;
    spController->SetTarget(spFirst);
    EXPECT_EQ(spFirst->GetControllers(), spController.Get());
    EXPECT_EQ(spController->GetRefCount(), 2);

    spController->SetTarget(spFirst);
    EXPECT_EQ(spController->GetRefCount(), 2);

    spController->SetTarget(spSecond);
    EXPECT_EQ(spFirst->GetControllers(), nullptr);
    EXPECT_EQ(spSecond->GetControllers(), spController.Get());
    EXPECT_EQ(spController->GetRefCount(), 2);

    // A target whose chain already holds the controller keeps it once.
    NiRefPtr<TestNode> spThird = new TestNode("third");
    spThird->PrependController(spController);
    spController->SetTarget(spThird);
    EXPECT_EQ(spThird->GetControllers(), spController.Get());
    EXPECT_EQ(spController->GetNext(), nullptr);
    EXPECT_EQ(spSecond->GetControllers(), nullptr);
    EXPECT_EQ(spController->GetRefCount(), 2);

    spController->SetTarget(nullptr);
    EXPECT_EQ(spThird->GetControllers(), nullptr);
    EXPECT_EQ(spController->GetTarget(), nullptr);
    EXPECT_EQ(spController->GetRefCount(), 1);
}

TEST(NiTimeControllerTarget, ATargetThatDiesLeavesNoDanglingPointer)
{
    NiRefPtr<TestController> spController = new TestController;
    {
        NiRefPtr<TestNode> spTarget = new TestNode;
        spController->SetTarget(spTarget);
    }
    EXPECT_EQ(spController->GetTarget(), nullptr);
}

TEST(NiTimeControllerEquivalence, ActiveBitIsNotCompared)
{
    NiRefPtr<TestController> spOne = MakeController(NiTimeController::LOOP, 0.0f, 2.0f);
    NiRefPtr<TestController> spTwo = MakeController(NiTimeController::LOOP, 0.0f, 2.0f);
    spTwo->SetActive(false);
    EXPECT_TRUE(spOne->IsEquivalent(spTwo));
    spTwo->SetPhase(0.1f);
    EXPECT_FALSE(spOne->IsEquivalent(spTwo));
    NiRefPtr<TestNode> spTarget = new TestNode;
    spOne->SetTarget(spTarget);
    EXPECT_FALSE(spOne->IsEquivalent(MakeController(NiTimeController::LOOP, 0.0f, 2.0f)));
}

TEST(NiTimeControllerRecord, RoundTripKeepsFlagsFloatsTargetAndChain)
{
    NiRefPtr<TestNode> spNode = new TestNode("n");
    NiRefPtr<TestController> spFirst = MakeController(NiTimeController::REVERSE, -1.0f, 3.0f);
    spFirst->SetAnimType(NiTimeController::APP_INIT);
    spFirst->SetFrequency(0.5f);
    spFirst->SetPhase(0.25f);
    spFirst->SetFlags(static_cast<uint16_t>(spFirst->GetFlags() | 0x40));
    NiRefPtr<TestController> spSecond = new TestController;
    spSecond->SetTarget(spNode);
    spFirst->SetTarget(spNode);

    NiStream kSave;
    kSave.AddTopObject(spNode);
    std::vector<char> kBuffer;
    ASSERT_TRUE(kSave.SaveBuffer(kBuffer));
    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    TestNode* pkNode = static_cast<TestNode*>(kLoad.GetTopObjectAt(0));
    NiTimeController* pkFirst = pkNode->GetControllers();
    ASSERT_NE(pkFirst, nullptr);
    EXPECT_EQ(pkFirst->GetFlags(), spFirst->GetFlags());
    EXPECT_EQ(pkFirst->GetFrequency(), 0.5f);
    EXPECT_EQ(pkFirst->GetPhase(), 0.25f);
    EXPECT_EQ(pkFirst->GetLoKeyTime(), -1.0f);
    EXPECT_EQ(pkFirst->GetHiKeyTime(), 3.0f);
    EXPECT_EQ(pkFirst->GetTarget(), pkNode);
    ASSERT_NE(pkFirst->GetNext(), nullptr);
    EXPECT_EQ(pkFirst->GetNext()->GetTarget(), pkNode);
    EXPECT_TRUE(pkFirst->IsEquivalent(spFirst));
}

TEST(NiTimeControllerClone, ControllerClonedOnItsOwnStartsWithoutATarget)
{
    NiRefPtr<TestNode> spTarget = new TestNode("target");
    NiRefPtr<TestController> spController = new TestController;
    spController->SetTarget(spTarget);
    const int32_t iStart = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiObject> spClone = spController->Clone();
        EXPECT_EQ(static_cast<TestController*>(spClone.Get())->GetTarget(), nullptr);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart + 1);
    }
    // No clone of the target was made, and no marker was left on it.
    EXPECT_EQ(spTarget->GetExtraData(), nullptr);
    EXPECT_EQ(spTarget->GetControllers(), spController.Get());
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}

TEST(NiTimeControllerAnimations, StartAndStopReachEveryControllerBeneath)
{
    NiRefPtr<TestNode> spRoot = new TestNode("root");
    NiRefPtr<TestNode> spChild = new TestNode("child");
    spRoot->AttachChild(spChild);
    std::vector<NiRefPtr<TestController>> kControllers;
    for (TestNode* pkNode : {spRoot.Get(), spRoot.Get(), spChild.Get()})
    {
        kControllers.emplace_back(new TestController);
        kControllers.back()->SetAnimType(NiTimeController::APP_INIT);
        kControllers.back()->SetTarget(pkNode);
    }
    NiTimeController::StopAnimations(spRoot);
    for (const auto& spController : kControllers)
        EXPECT_FALSE(spController->GetActive());
    NiTimeController::StartAnimations(spRoot, 4.0f);
    for (const auto& spController : kControllers)
    {
        EXPECT_TRUE(spController->GetActive());
        EXPECT_EQ(spController->GetStartTime(), 4.0f);
    }
    NiTimeController::StartAnimations(spRoot);
    EXPECT_EQ(kControllers[2]->GetStartTime(), NiTimeController::TIME_UNSET);
}

TEST(NiTimeControllerFieldStrings, TimesTargetAndEnumerations)
{
    NiRefPtr<TestController> spController = MakeController(NiTimeController::REVERSE, 0.0f, 2.0f);
    NiFieldStringList kList;
    spController->AddFieldStrings(kList);
    ASSERT_EQ(kList.size(), 10u);
    EXPECT_EQ(kList[0], "--- NiTimeController ---");
    EXPECT_EQ(kList[1], "m_fFrequency = 1.000000e+00");
    EXPECT_EQ(kList[8], "anim type = APP_TIME");
    EXPECT_EQ(kList[9], "cycle type = REVERSE");
    EXPECT_EQ(NiTimeController::CycleTypeFieldString("c", NiTimeController::LOOP), "c = LOOP");
    EXPECT_EQ(NiTimeController::AnimTypeFieldString("a", NiTimeController::APP_INIT), "a = APP_INIT");
}

TEST(NiTimeControllerRecord, AChainRunningIntoAnotherTargetsChainEndsBeforeIt)
{
    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<TestNode> spHolder = new TestNode("holder");
        NiRefPtr<TestNode> spOther = new TestNode("other");
        NiRefPtr<TestController> spHolders = new TestController;
        NiRefPtr<TestController> spOthers = new TestController;
        spHolders->SetTarget(spHolder);
        spOthers->SetTarget(spOther);
        // A damaged file: the other node's chain goes on into the holder's controller.
        spOthers->SetNext(spHolders);
        NiStream kSave;
        kSave.AddTopObject(spHolder);
        kSave.AddTopObject(spOther);
        std::vector<char> kBuffer;
        ASSERT_TRUE(kSave.SaveBuffer(kBuffer));
        spOthers->SetNext(nullptr);

        NiStream kLoad;
        ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
        NiObjectNET* pkHolder = static_cast<NiObjectNET*>(kLoad.GetTopObjectAt(0));
        NiObjectNET* pkOther = static_cast<NiObjectNET*>(kLoad.GetTopObjectAt(1));
        ASSERT_NE(pkOther->GetControllers(), nullptr);
        EXPECT_EQ(pkOther->GetControllers()->GetNext(), nullptr);
        ASSERT_NE(pkHolder->GetControllers(), nullptr);
        EXPECT_EQ(pkHolder->GetControllers()->GetTarget(), pkHolder);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
}
