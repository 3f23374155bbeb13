#include "StreamTestObjects.h"

#include "scene/object/NiCloneExtraData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
std::vector<NiExtraData*> Chain(const NiObjectNET* pkObject)
{
    std::vector<NiExtraData*> kChain;
    for (NiExtraData* pkExtra = pkObject->GetExtraData(); pkExtra && kChain.size() < 100;
         pkExtra = pkExtra->GetNext())
        kChain.push_back(pkExtra);
    return kChain;
}

NiRefPtr<NiExtraData> MakeExtra(const char* pcBytes)
{
    NiRefPtr<NiExtraData> spExtra = new NiExtraData;
    spExtra->SetValue(static_cast<uint32_t>(std::strlen(pcBytes)), pcBytes);
    return spExtra;
}

NiRefPtr<NiObject> RoundTrip(NiObject* pkObject)
{
    NiStream kSave;
    kSave.AddTopObject(pkObject);
    std::vector<char> kBuffer;
    EXPECT_TRUE(kSave.SaveBuffer(kBuffer));
    NiStream kLoad;
    EXPECT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    return kLoad.GetTopObjectAt(0);
}

// Restores the process-wide clone naming after a test changes it.
struct CloneNaming
{
    ~CloneNaming()
    {
        NiObject::SetCloneNameMode(NiObject::CLONE_NAME_NONE);
        NiObject::SetCloneSuffix('$');
    }
};
} // namespace

TEST(NiObjectNETChains, AddedExtraDataGoesFirstAndSurvivesSaveAndLoad)
{
    NiRefPtr<TestNode> spNode = new TestNode("n");
    NiRefPtr<NiExtraData> spA = MakeExtra("a");
    NiRefPtr<NiExtraData> spB = MakeExtra("b");
    spNode->AddExtraData(spA);
    spNode->AddExtraData(spB);
    EXPECT_EQ(Chain(spNode), (std::vector<NiExtraData*>{spB, spA}));

    NiRefPtr<NiObject> spLoaded = RoundTrip(spNode);
    const std::vector<NiExtraData*> kLoaded = Chain(static_cast<TestNode*>(spLoaded.Get()));
    ASSERT_EQ(kLoaded.size(), 2u);
    EXPECT_EQ(kLoaded[0]->GetValue()[0], 'b');
    EXPECT_EQ(kLoaded[1]->GetValue()[0], 'a');
}

TEST(NiObjectNETChains, AddingAMemberAlreadyInTheChainChangesNothing)
{
    NiRefPtr<TestNode> spNode = new TestNode;
    NiRefPtr<NiExtraData> spA = MakeExtra("a");
    NiRefPtr<NiExtraData> spB = MakeExtra("b");
    spNode->AddExtraData(spA);
    spNode->AddExtraData(spB);
    spNode->AddExtraData(spB);
    spNode->AddExtraData(spA);
    EXPECT_EQ(Chain(spNode), (std::vector<NiExtraData*>{spB, spA}));
    EXPECT_EQ(spA->GetRefCount(), 2);

    NiRefPtr<TestController> spController = new TestController;
    spNode->PrependController(spController);
    spNode->PrependController(spController);
    EXPECT_EQ(spNode->GetControllers(), spController.Get());
    EXPECT_EQ(spController->GetNext(), nullptr);
}

TEST(NiObjectNETChains, RemoveUnlinksFromAnyPlaceAndReleases)
{
    NiRefPtr<TestNode> spNode = new TestNode;
    NiExtraData* pkA = new NiExtraData;
    NiExtraData* pkB = new NiExtraData;
    NiExtraData* pkC = new NiExtraData;
    for (NiExtraData* pkExtra : {pkA, pkB, pkC})
        spNode->AddExtraData(pkExtra);
    const int32_t iStart = NiObject::GetLiveObjectCount();
    spNode->RemoveExtraData(pkB); // middle
    EXPECT_EQ(Chain(spNode), (std::vector<NiExtraData*>{pkC, pkA}));
    spNode->RemoveExtraData(pkC); // head
    EXPECT_EQ(Chain(spNode), (std::vector<NiExtraData*>{pkA}));
    NiRefPtr<NiExtraData> spStranger = new NiExtraData;
    spNode->RemoveExtraData(spStranger);
    spNode->RemoveExtraData(pkA); // the only one
    EXPECT_EQ(spNode->GetExtraData(), nullptr);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart - 3 + 1);
}

TEST(NiObjectNETClone, CloneNamesFollowTheCloneNameMode)
{
    CloneNaming kRestore;
    struct Case
    {
        int32_t iMode;
        char cSuffix;
        const char* pcSource;
        const char* pcExpected;
    };
    const Case akCases[] = {
        {NiObject::CLONE_NAME_NONE, '$', "ship", nullptr},
        {NiObject::CLONE_NAME_COPY, '$', "ship", "ship"},
        {NiObject::CLONE_NAME_SUFFIX, '$', "ship", "ship$"},
        {NiObject::CLONE_NAME_SUFFIX, '#', "ship", "ship#"},
        {NiObject::CLONE_NAME_COPY, '$', nullptr, nullptr},
        {NiObject::CLONE_NAME_SUFFIX, '$', nullptr, nullptr},
    };
    for (const Case& kCase : akCases)
    {
        NiObject::SetCloneNameMode(kCase.iMode);
        NiObject::SetCloneSuffix(kCase.cSuffix);
        NiRefPtr<TestNode> spSource = new TestNode(kCase.pcSource);
        NiRefPtr<NiObject> spClone = spSource->Clone();
        const char* pcName = static_cast<TestNode*>(spClone.Get())->GetName();
        if (kCase.pcExpected)
            EXPECT_STREQ(pcName, kCase.pcExpected) << kCase.iMode;
        else
            EXPECT_EQ(pcName, nullptr) << kCase.iMode;
    }
}

TEST(NiObjectNETClone, CloneCopiesTheChainsAndLeavesTheSourceUnmarked)
{
    NiRefPtr<TestNode> spRoot = new TestNode("root");
    NiRefPtr<TestNode> spChild = new TestNode("child");
    spRoot->AttachChild(spChild);
    NiRefPtr<NiExtraData> spA = MakeExtra("a");
    NiRefPtr<NiExtraData> spB = MakeExtra("b");
    spRoot->AddExtraData(spA);
    spRoot->AddExtraData(spB);
    NiRefPtr<TestController> spController = new TestController;
    spController->SetTarget(spChild);

    const int32_t iStart = NiObject::GetLiveObjectCount();
    NiRefPtr<TestNode> spClone = static_cast<TestNode*>(spRoot->Clone());
    // The source's chain is B, A again, with no marker left behind.
    EXPECT_EQ(Chain(spRoot), (std::vector<NiExtraData*>{spB, spA}));
    EXPECT_EQ(spChild->GetExtraData(), nullptr);
    // The clone holds clones of A and B, in that order.
    const std::vector<NiExtraData*> kCloned = Chain(spClone);
    ASSERT_EQ(kCloned.size(), 2u);
    EXPECT_EQ(kCloned[0]->GetValue()[0], 'a');
    EXPECT_EQ(kCloned[1]->GetValue()[0], 'b');
    EXPECT_NE(kCloned[0], spA.Get());
    // The child's controller was cloned onto the child's clone, aimed at it.
    TestNode* pkChildClone = spClone->GetChildAt(0);
    ASSERT_NE(pkChildClone->GetControllers(), nullptr);
    EXPECT_NE(pkChildClone->GetControllers(), spController.Get());
    EXPECT_EQ(pkChildClone->GetControllers()->GetTarget(), pkChildClone);
    EXPECT_EQ(spController->GetTarget(), spChild.Get());
    // root, child, two extra data, one controller.
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart + 5);
}

TEST(NiObjectNETEquivalence, NamesAndChainOrderCount)
{
    auto Make = [](const char* pcName, const char* pcFirst, const char* pcSecond)
    {
        NiRefPtr<TestNode> spNode = new TestNode(pcName);
        spNode->AddExtraData(MakeExtra(pcSecond));
        spNode->AddExtraData(MakeExtra(pcFirst));
        return spNode;
    };
    NiRefPtr<TestNode> spOne = Make("n", "x", "y");
    EXPECT_TRUE(spOne->IsEquivalent(Make("n", "x", "y")));
    EXPECT_FALSE(spOne->IsEquivalent(Make("n", "y", "x")));
    EXPECT_FALSE(spOne->IsEquivalent(Make("m", "x", "y")));
    NiRefPtr<TestNode> spUnnamed = new TestNode;
    EXPECT_FALSE(spUnnamed->IsEquivalent(NiRefPtr<TestNode>(new TestNode(""))));
    EXPECT_TRUE(spUnnamed->IsEquivalent(NiRefPtr<TestNode>(new TestNode)));
}

TEST(NiObjectNETFieldStrings, NameThenEveryChainMember)
{
    NiRefPtr<TestNode> spNode = new TestNode("ship");
    spNode->AddExtraData(MakeExtra("xyz"));
    NiFieldStringList kList;
    spNode->AddFieldStrings(kList);
    ASSERT_EQ(kList.size(), 7u);
    EXPECT_EQ(kList[0], "--- NiObject ---");
    EXPECT_EQ(kList[3], "--- NiObjectNET ---");
    EXPECT_EQ(kList[4], "m_pName = ship");
    EXPECT_EQ(kList[5], "--- NiExtraData ---");
    EXPECT_EQ(kList[6], "m_uiSize = 3");
}

TEST(NiExtraDataRecord, OnlyTheExactClassStreamsItsBytes)
{
    NiRefPtr<NiExtraData> spPlain = MakeExtra("abc");
    NiRefPtr<TestExtraData> spDerived = new TestExtraData;
    spDerived->SetSizeOnly(3);

    NiRefPtr<NiObject> spPlainCopy = RoundTrip(spPlain);
    EXPECT_TRUE(spPlainCopy->IsEquivalent(spPlain));
    EXPECT_EQ(std::memcmp(static_cast<NiExtraData*>(spPlainCopy.Get())->GetValue(), "abc", 3), 0);

    NiRefPtr<NiObject> spDerivedCopy = RoundTrip(spDerived);
    EXPECT_EQ(static_cast<NiExtraData*>(spDerivedCopy.Get())->GetSize(), 3u);
    EXPECT_EQ(static_cast<NiExtraData*>(spDerivedCopy.Get())->GetValue(), nullptr);

    // The two records differ by the three bytes plus the longer class name.
    NiStream kPlain;
    kPlain.AddTopObject(spPlain);
    NiStream kDerived;
    kDerived.AddTopObject(spDerived);
    std::vector<char> kPlainBytes;
    std::vector<char> kDerivedBytes;
    ASSERT_TRUE(kPlain.SaveBuffer(kPlainBytes));
    ASSERT_TRUE(kDerived.SaveBuffer(kDerivedBytes));
    EXPECT_EQ(kPlainBytes.size() - std::strlen("NiExtraData") + std::strlen("TestExtraData"),
              kDerivedBytes.size() + 3);
}

TEST(NiExtraDataClone, CloneCopiesBytesAndTheRestOfTheChain)
{
    NiRefPtr<NiExtraData> spFirst = MakeExtra("12");
    spFirst->SetNext(MakeExtra("3"));
    NiRefPtr<NiObject> spClone = spFirst->Clone();
    EXPECT_TRUE(spClone->IsEquivalent(spFirst));
    EXPECT_NE(static_cast<NiExtraData*>(spClone.Get())->GetNext(), spFirst->GetNext());
}
