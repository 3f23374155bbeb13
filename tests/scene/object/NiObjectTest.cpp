#include "StreamTestObjects.h"

#include "scene/object/NiCloneExtraData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
void LoaderA(NiStream&, NiObject*& pkObject)
{
    pkObject = nullptr;
}

void LoaderB(NiStream&, NiObject*& pkObject)
{
    pkObject = nullptr;
}
} // namespace

TEST(NiObjectRegistry, SecondRegistrationOfAClassIsRefusedAndKeepsOneEntry)
{
    // The class registered itself during start-up already.
    ASSERT_EQ(NiObject::FindClassLoader("NiExtraData"), &NiExtraData::CreateFromStream);
    const uint32_t uiCount = NiObject::GetClassLoaderCount();
    EXPECT_FALSE(NiExtraData::RegisterClassLoader());
    EXPECT_FALSE(TestNode::RegisterClassLoader());
    EXPECT_EQ(NiObject::GetClassLoaderCount(), uiCount);
    EXPECT_EQ(NiObject::FindClassLoader("NoSuchClass"), nullptr);
    const std::vector<std::string> kNames = NiObject::GetClassLoaderNames();
    EXPECT_EQ(kNames.size(), uiCount);
    EXPECT_EQ(std::count(kNames.begin(), kNames.end(), "NiExtraData"), 1);
}

TEST(NiObjectRegistry, TwoClassesUnderOneNameLeaveTheLaterLoader)
{
    bool bFirst = false;
    bool bSecond = false;
    EXPECT_TRUE(NiObject::EnterClassLoader("SharedTestName", &LoaderA, bFirst));
    EXPECT_TRUE(NiObject::EnterClassLoader("SharedTestName", &LoaderB, bSecond));
    EXPECT_EQ(NiObject::FindClassLoader("SharedTestName"), &LoaderB);
    EXPECT_FALSE(NiObject::EnterClassLoader("SharedTestName", &LoaderA, bFirst));
    EXPECT_EQ(NiObject::FindClassLoader("SharedTestName"), &LoaderB);
}

TEST(NiObjectClass, IsOfClassWalksTheBaseRecords)
{
    NiRefPtr<TestNode> spNode = new TestNode;
    struct Case
    {
        const ClassRecord* pkRecord;
        bool bExpected;
    };
    const Case akCases[] = {
        {&TestNode::ms_kClassRecord, true},        {&NiObjectNET::ms_kClassRecord, true},
        {&NiObject::ms_kClassRecord, true},        {&NiExtraData::ms_kClassRecord, false},
        {&TestController::ms_kClassRecord, false},
    };
    for (const Case& kCase : akCases)
        EXPECT_EQ(spNode->IsOfClass(kCase.pkRecord), kCase.bExpected) << kCase.pkRecord->GetName();
    EXPECT_EQ(NiDynamicCast<NiExtraData>(spNode.Get()), nullptr);
    EXPECT_EQ(NiDynamicCast<NiObjectNET>(spNode.Get()), spNode.Get());
}

TEST(NiObjectClass, ObjectsOfDifferentClassesAreNeverEquivalent)
{
    NiRefPtr<NiExtraData> spPlain = new NiExtraData;
    NiRefPtr<TestExtraData> spDerived = new TestExtraData;
    EXPECT_FALSE(spPlain->IsEquivalent(spDerived));
    EXPECT_FALSE(spPlain->IsEquivalent(nullptr));
    EXPECT_TRUE(spPlain->IsEquivalent(NiRefPtr<NiExtraData>(new NiExtraData)));
}

TEST(NiObjectCount, ReferencesDestroyAtZeroAndTheLiveCountFollows)
{
    const int32_t iStart = NiObject::GetLiveObjectCount();
    NiObject* pkObject = new NiObject;
    EXPECT_EQ(pkObject->GetRefCount(), 0);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart + 1);
    pkObject->IncRef();
    pkObject->IncRef();
    EXPECT_EQ(pkObject->DecRef(), 1);
    EXPECT_EQ(pkObject->DecRef(), 0);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}

TEST(NiObjectFieldStrings, BareObjectGivesHeaderAddressAndCount)
{
    NiRefPtr<NiObject> spObject = new NiObject;
    NiFieldStringList kList;
    spObject->AddFieldStrings(kList);
    char acAddress[64];
    std::snprintf(acAddress, sizeof(acAddress), "this = %p", static_cast<void*>(spObject.Get()));
    EXPECT_EQ(kList, (NiFieldStringList{"--- NiObject ---", acAddress, "m_iRefCount = 1"}));
}

TEST(NiObjectFieldStrings, FormattersFollowTheirTypes)
{
    const std::pair<std::string, std::string> akCases[] = {
        {NiFieldStringHeader("NiNode"), "--- NiNode ---"},
        {NiFieldString("b", true), "b = true"},
        {NiFieldString("b", false), "b = false"},
        {NiFieldString("c", 'x'), "c = x"},
        {NiFieldString("u8", static_cast<unsigned char>(200)), "u8 = 200"},
        {NiFieldString("s", static_cast<short>(-5)), "s = -5"},
        {NiFieldString("us", static_cast<unsigned short>(65535)), "us = 65535"},
        {NiFieldString("i", -7), "i = -7"},
        {NiFieldString("ui", 4000000000u), "ui = 4000000000"},
        {NiFieldString("l", -8L), "l = -8"},
        {NiFieldString("ul", 9UL), "ul = 9"},
        {NiFieldString("f", 1.0f), "f = 1.000000e+00"},
        {NiFieldString("d", -0.5), "d = -5.000000e-01"},
        {NiFieldString("m_pName", "ship"), "m_pName = ship"},
        {NiFieldString("m_pName", static_cast<const char*>(nullptr)), "m_pName = NULL"},
    };
    for (const auto& [kActual, kExpected] : akCases)
        EXPECT_EQ(kActual, kExpected);
}

TEST(NiObjectClone, RootClonesToItselfAndAClassWithoutCloneToNull)
{
    NiRefPtr<NiObject> spObject = new NiObject;
    EXPECT_EQ(spObject->Clone(), spObject.Get());
    NiRefPtr<NiCloneExtraData> spMarker = new NiCloneExtraData(nullptr);
    EXPECT_EQ(spMarker->Clone(), nullptr);
}

TEST(NiObjectCopy, CopyThroughStreamMakesAnIndependentEquivalentTree)
{
    NiRefPtr<TestNode> spRoot = new TestNode("root");
    spRoot->AttachChild(new TestNode("a"));
    spRoot->AttachChild(new TestNode("b"));
    const int32_t iStart = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiObject> spCopy = spRoot->CopyThroughStream();
        ASSERT_NE(spCopy, nullptr);
        EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart + 3);
        EXPECT_NE(spCopy.Get(), spRoot.Get());
        EXPECT_TRUE(spCopy->IsEquivalent(spRoot));
        const TestNode* pkCopy = static_cast<const TestNode*>(spCopy.Get());
        EXPECT_NE(pkCopy->GetChildAt(0), spRoot->GetChildAt(0));
        EXPECT_EQ(spRoot->GetRefCount(), 1);
    }
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iStart);
}
