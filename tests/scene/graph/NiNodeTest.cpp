#include "NifTestSupport.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPointLight.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/object/NiCloneExtraData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
NiRefPtr<NiNode> MakeNode(const char* pcName)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    spNode->SetName(pcName);
    return spNode;
}

bool HasCloneMarker(const NiObjectNET* pkObject)
{
    for (const NiExtraData* pkExtra = pkObject->GetExtraData(); pkExtra; pkExtra = pkExtra->GetNext())
    {
        if (pkExtra->GetClassRecord() == &NiCloneExtraData::ms_kClassRecord)
            return true;
    }
    return false;
}
} // namespace

TEST(NiNode, ChildSlotsFillFirstFreeOnlyWhenAsked)
{
    for (bool bFirstFree : {true, false})
    {
        NiRefPtr<NiNode> spNode = new NiNode;
        NiRefPtr<TestShape> spA = new TestShape;
        NiRefPtr<TestShape> spB = new TestShape;
        NiRefPtr<TestShape> spC = new TestShape;
        spNode->AddChild(spA);
        spNode->AddChild(spB);
        EXPECT_EQ(spNode->RemoveChildAt(0), spA);
        EXPECT_EQ(spA->GetParent(), nullptr);

        spNode->AddChild(spC, bFirstFree);
        EXPECT_EQ(spC->GetParent(), spNode);
        if (bFirstFree)
        {
            EXPECT_EQ(spNode->GetAt(0), spC);
            EXPECT_EQ(spNode->GetArrayCount(), 2u);
        }
        else
        {
            EXPECT_EQ(spNode->GetAt(2), spC);
            EXPECT_EQ(spNode->GetArrayCount(), 3u);
        }
    }
}

TEST(NiNode, RemovingWhatIsNotThereGivesNothing)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<TestShape> spStranger = new TestShape;
    spNode->AddChild(nullptr);
    EXPECT_EQ(spNode->GetArrayCount(), 0u);
    EXPECT_EQ(spNode->RemoveChild(spStranger), nullptr);
    EXPECT_EQ(spNode->RemoveChild(nullptr), nullptr);
    EXPECT_EQ(spNode->RemoveChildAt(3), nullptr);
    EXPECT_EQ(spNode->GetAt(3), nullptr);
}

TEST(NiNode, MovingAChildHeldOnlyByItsParentKeepsItAlive)
{
    NiRefPtr<NiNode> spFrom = MakeNode("from");
    NiRefPtr<NiNode> spTo = MakeNode("to");
    NiAVObject* pkChild = new TestShape;
    spFrom->AddChild(pkChild);
    ASSERT_EQ(pkChild->GetRefCount(), 1);

    spTo->AddChild(pkChild);
    EXPECT_EQ(pkChild->GetRefCount(), 1);
    EXPECT_EQ(pkChild->GetParent(), spTo);
    EXPECT_EQ(spFrom->GetChildCount(), 0u);
    EXPECT_EQ(spTo->GetAt(0), pkChild);

    // Adding a child of this node again moves it to the end.
    NiRefPtr<TestShape> spOther = new TestShape;
    spTo->AddChild(spOther);
    spTo->AddChild(pkChild);
    EXPECT_EQ(pkChild->GetRefCount(), 1);
    EXPECT_EQ(spTo->GetAt(0), nullptr);
    EXPECT_EQ(spTo->GetAt(2), pkChild);

    // SetChildAt moves the same way.
    spFrom->SetChildAt(4, pkChild);
    EXPECT_EQ(pkChild->GetRefCount(), 1);
    EXPECT_EQ(pkChild->GetParent(), spFrom);
    EXPECT_EQ(spFrom->GetAt(4), pkChild);
    EXPECT_EQ(spTo->GetChildCount(), 1u);
}

TEST(NiNode, RefusesToBecomeItsOwnAncestor)
{
    NiRefPtr<NiNode> spRoot = MakeNode("root");
    NiRefPtr<NiNode> spMiddle = MakeNode("middle");
    NiRefPtr<NiNode> spLeaf = MakeNode("leaf");
    spRoot->AddChild(spMiddle);
    spMiddle->AddChild(spLeaf);

    spLeaf->AddChild(spRoot);
    spLeaf->AddChild(spLeaf);
    EXPECT_EQ(spLeaf->SetChildAt(0, spMiddle), nullptr);
    EXPECT_EQ(spLeaf->GetArrayCount(), 0u);
    EXPECT_EQ(spRoot->GetParent(), nullptr);
    EXPECT_EQ(spMiddle->GetParent(), spRoot);
    spRoot->UpdateSubtree(0.0f);
}

TEST(NiNode, SetChildAtGrowsAndReturnsThePreviousChild)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<TestShape> spA = new TestShape;
    NiRefPtr<TestShape> spB = new TestShape;
    EXPECT_EQ(spNode->SetChildAt(5, spA), nullptr);
    EXPECT_EQ(spNode->GetArrayCount(), 6u);
    EXPECT_EQ(spNode->GetChildCount(), 1u);

    EXPECT_EQ(spNode->SetChildAt(5, spB), spA);
    EXPECT_EQ(spA->GetParent(), nullptr);
    EXPECT_EQ(spB->GetParent(), spNode);
    EXPECT_EQ(spNode->SetChildAt(5, nullptr), spB);
    EXPECT_EQ(spB->GetParent(), nullptr);
    EXPECT_EQ(spNode->GetChildCount(), 0u);
}

TEST(NiNode, EmptySlotsSurviveSaveAndLoad)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    spNode->SetChildAt(5, new TestShape(NiPoint3(1, 1, 1), 2.0f));

    const std::vector<char> kBuffer = NifTest::Save({spNode});
    NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip<NiNode>(spNode);
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetArrayCount(), 6u);
    EXPECT_EQ(spLoaded->GetChildCount(), 1u);
    ASSERT_NE(spLoaded->GetAt(5), nullptr);
    EXPECT_EQ(spLoaded->GetAt(5)->GetParent(), spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spNode));
}

TEST(NiNode, BoundsMergeVisualChildrenAndClimbToTheRoot)
{
    NiRefPtr<NiNode> spRoot = MakeNode("root");
    NiRefPtr<NiNode> spArm = MakeNode("arm");
    NiRefPtr<TestShape> spLeft = new TestShape(NiPoint3(-3, 0, 0), 1.0f);
    NiRefPtr<TestShape> spRight = new TestShape(NiPoint3(3, 0, 0), 1.0f);
    spRoot->AddChild(spArm);
    spArm->AddChild(spLeft);
    spArm->AddChild(spRight);
    spRoot->UpdateSubtree(0.0f);
    EXPECT_FLOAT_EQ(spRoot->GetWorldBound().m_fRadius, 4.0f);

    // Moving one leaf and updating only it carries the new bound up to the root.
    spRight->SetTranslate(NiPoint3(10, 0, 0));
    spRight->UpdateSubtree(0.0f);
    EXPECT_FLOAT_EQ(spArm->GetWorldBound().m_fRadius, 9.0f);
    EXPECT_FLOAT_EQ(spRoot->GetWorldBound().m_kCenter.x, 5.0f);
}

TEST(NiNode, NodeWithoutVisualChildrenIsNotVisualAndKeepsItsBound)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiRefPtr<NiNode> spEmpty = new NiNode;
    NiRefPtr<NiAmbientLight> spLight = new NiAmbientLight;
    spRoot->AddChild(spEmpty);
    spRoot->AddChild(spLight);
    EXPECT_TRUE(spRoot->IsVisual());

    NiBoundingSphere kBefore;
    kBefore.m_fRadius = 7.0f;
    spRoot->SetWorldBound(kBefore);
    spRoot->UpdateSubtree(0.0f);
    EXPECT_FALSE(spEmpty->IsVisual());
    EXPECT_FALSE(spRoot->IsVisual());
    EXPECT_FLOAT_EQ(spRoot->GetWorldBound().m_fRadius, 7.0f);

    spEmpty->AddChild(new TestShape);
    spRoot->UpdateSubtree(0.0f);
    EXPECT_TRUE(spRoot->IsVisual());
}

TEST(NiNode, FindObjectByNameSearchesDepthFirstInSlotOrder)
{
    NiRefPtr<NiNode> spRoot = MakeNode("root");
    NiRefPtr<NiNode> spFirst = MakeNode("first");
    NiRefPtr<TestShape> spDeep = new TestShape;
    spDeep->SetName("twin");
    NiRefPtr<TestShape> spShallow = new TestShape;
    spShallow->SetName("twin");
    spRoot->AddChild(spFirst);
    spRoot->AddChild(spShallow);
    spFirst->AddChild(spDeep);

    EXPECT_EQ(spRoot->FindObjectByName("root"), spRoot);
    EXPECT_EQ(spRoot->FindObjectByName("twin"), spDeep);
    EXPECT_EQ(spRoot->FindObjectByName("Twin"), nullptr);
    EXPECT_EQ(spRoot->FindObjectByName(nullptr), nullptr);
}

TEST(NiNode, SameStructureComparesShapesOfSlots)
{
    auto kMake = [](bool bSecondFilled)
    {
        NiRefPtr<NiNode> spNode = new NiNode;
        spNode->AddChild(new NiNode);
        if (bSecondFilled)
            spNode->AddChild(new TestShape);
        else
            spNode->SetChildAt(1, nullptr);
        return spNode;
    };
    NiRefPtr<NiNode> spA = kMake(true);
    NiRefPtr<NiNode> spB = kMake(true);
    NiRefPtr<NiNode> spHole = kMake(false);
    EXPECT_TRUE(NiNode::SameStructure(spA, spB));
    EXPECT_FALSE(NiNode::SameStructure(spA, spHole));
    EXPECT_FALSE(NiNode::SameStructure(spA, spA->GetAt(1)));
    EXPECT_TRUE(NiNode::SameStructure(spA->GetAt(1), spB->GetAt(1)));
}

TEST(NiNode, BakeTransformMovesIntoTheNodeFrame)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<TestShape> spLeaf = new TestShape;
    spNode->AddChild(spLeaf);
    spNode->SetTranslate(NiPoint3(1, 0, 0));
    spNode->SetScale(2.0f);

    // Identity and zero stay identity and zero whatever the flag.
    for (bool bInParentFrame : {false, true})
    {
        spNode->BakeTransform(NiRotationMatrix::IDENTITY, NiPoint3::ZERO, bInParentFrame);
        EXPECT_EQ(spLeaf->GetBakedRotate(), NiRotationMatrix::IDENTITY);
        EXPECT_EQ(spLeaf->GetBakedTranslate(), NiPoint3::ZERO);
    }

    // In the parent's frame: T' = (1/s) L^T (R t + T - t) with L = I, t = (1,0,0), s = 2.
    spNode->BakeTransform(QuarterTurnZ(), NiPoint3(0, 0, 4), true);
    EXPECT_EQ(spLeaf->GetBakedRotate(), QuarterTurnZ());
    EXPECT_EQ(spLeaf->GetBakedTranslate(), NiPoint3(-0.5f, 0.5f, 2.0f));

    // A collapsed node has no frame to bake into.
    spNode->SetScale(0.0f);
    const uint32_t uiBakes = spLeaf->GetBakeCount();
    spNode->BakeTransform(QuarterTurnZ(), NiPoint3(0, 0, 4), true);
    EXPECT_EQ(spLeaf->GetBakeCount(), uiBakes);
}

TEST(NiNode, PropertyTablesAreSharedUntilANodeAddsAProperty)
{
    NiRefPtr<NiNode> spRoot = MakeNode("root");
    NiRefPtr<NiNode> spPlain = MakeNode("plain");
    NiRefPtr<NiNode> spTinted = MakeNode("tinted");
    NiRefPtr<TestShape> spA = new TestShape;
    NiRefPtr<TestShape> spB = new TestShape;
    NiRefPtr<TestShape> spC = new TestShape;
    spRoot->AddChild(spPlain);
    spRoot->AddChild(spTinted);
    spPlain->AddChild(spA);
    spPlain->AddChild(spB);
    spTinted->AddChild(spC);
    NiRefPtr<NiAlphaProperty> spEarlier = new NiAlphaProperty;
    NiRefPtr<NiAlphaProperty> spLater = new NiAlphaProperty;
    spTinted->PrependProperty(spLater);
    spTinted->PrependProperty(spEarlier);

    spRoot->RefreshPropertyStates();
    ASSERT_TRUE(spA->GetPropertyTable());
    EXPECT_EQ(spA->GetPropertyTable(), spB->GetPropertyTable());
    EXPECT_EQ(spA->GetPropertyTable()->GetProperty(NiProperty::ALPHA), NiAlphaProperty::GetDefault());
    EXPECT_NE(spC->GetPropertyTable(), spA->GetPropertyTable());
    EXPECT_EQ(spC->GetPropertyTable()->GetProperty(NiProperty::ALPHA), spLater);

    // Refreshing below a node computes what the ancestors put in force.
    NiRefPtr<TestShape> spD = new TestShape;
    spTinted->AddChild(spD);
    spD->RefreshPropertyStates();
    EXPECT_EQ(spD->GetPropertyTable()->GetProperty(NiProperty::ALPHA), spLater);
}

TEST(NiNode, EffectListsGatherEveryEffectAbove)
{
    NiRefPtr<NiNode> spRoot = MakeNode("root");
    NiRefPtr<NiNode> spLit = MakeNode("lit");
    NiRefPtr<TestShape> spOutside = new TestShape;
    NiRefPtr<TestShape> spInside = new TestShape;
    spRoot->AddChild(spOutside);
    spRoot->AddChild(spLit);
    spLit->AddChild(spInside);
    NiRefPtr<NiAmbientLight> spSky = new NiAmbientLight;
    NiRefPtr<NiPointLight> spLamp = new NiPointLight;
    spRoot->AttachEffect(spLamp);
    spLit->AttachEffect(spSky);

    spRoot->RefreshEffectStates();
    ASSERT_TRUE(spOutside->GetEffectLists());
    ASSERT_EQ(spOutside->GetEffectLists()->GetLights().size(), 1u);
    ASSERT_EQ(spInside->GetEffectLists()->GetLights().size(), 2u);
    // Ordered by index: the sky was made first.
    EXPECT_EQ(spInside->GetEffectLists()->GetLights()[0], spSky);
    EXPECT_EQ(spInside->GetEffectLists()->GetLights()[1], spLamp);

    spRoot->DetachEffect(spLamp);
    spInside->RefreshEffectStates();
    EXPECT_EQ(spInside->GetEffectLists()->GetLights().size(), 1u);
    spRoot->RefreshEffectStates();
    EXPECT_EQ(spOutside->GetEffectLists(), nullptr);
    EXPECT_EQ(NiEffectLists::GetShared(), nullptr);
}

TEST(NiNode, CloneLightsTheCloneWithClonedLightsAndSharesOutsideOnes)
{
    NiRefPtr<NiNode> spWorld = MakeNode("world");
    NiRefPtr<NiNode> spModel = MakeNode("model");
    NiRefPtr<NiNode> spPart = MakeNode("part");
    NiRefPtr<NiPointLight> spInner = new NiPointLight;
    NiRefPtr<NiAmbientLight> spOuter = new NiAmbientLight;
    spWorld->AddChild(spModel);
    spWorld->AddChild(spOuter);
    spModel->AddChild(spPart);
    spModel->AddChild(spInner);
    spPart->SetChildAt(2, new TestShape);
    spPart->AttachEffect(spOuter);
    spPart->AttachEffect(spInner);

    NiObject::SetCloneNameMode(NiObject::CLONE_NAME_COPY);
    NiRefPtr<NiNode> spClone = NiDynamicCast<NiNode>(spModel->Clone());
    NiObject::SetCloneNameMode(NiObject::CLONE_NAME_NONE);
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spModel));
    NiNode* pkPartClone = NiDynamicCast<NiNode>(spClone->GetAt(0));
    ASSERT_TRUE(pkPartClone);
    EXPECT_EQ(pkPartClone->GetArrayCount(), 3u);

    const NiAVObject* pkInnerClone = spClone->GetAt(1);
    ASSERT_TRUE(pkInnerClone);
    auto kEffect = pkPartClone->GetEffectList().begin();
    EXPECT_EQ(*kEffect, pkInnerClone);
    EXPECT_EQ(*++kEffect, spOuter);
    EXPECT_TRUE(spOuter->GetAffectedNodeList().Contains(pkPartClone));
    EXPECT_FALSE(spInner->GetAffectedNodeList().Contains(pkPartClone));

    for (const NiObjectNET* pkSource :
         std::initializer_list<const NiObjectNET*>{spModel, spPart, spInner, spOuter})
        EXPECT_FALSE(HasCloneMarker(pkSource));
}

TEST(NiNode, FieldStringsListEachEffect)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<NiAmbientLight> spA = new NiAmbientLight;
    NiRefPtr<NiPointLight> spB = new NiPointLight;
    spNode->AttachEffect(spA);
    spNode->AttachEffect(spB);
    NiFieldStringList kList;
    spNode->AddFieldStrings(kList);
    ASSERT_GE(kList.size(), 4u);
    EXPECT_EQ(kList[kList.size() - 4], "--- NiNode ---");
    EXPECT_EQ(kList[kList.size() - 3], "m_bVisual = true");
    EXPECT_EQ(kList[kList.size() - 2].rfind("effect[0] = ", 0), 0u);
    EXPECT_EQ(kList[kList.size() - 1].rfind("effect[1] = ", 0), 0u);
}

TEST(NiNode, DestroyingANodeReleasesChildrenAndDetachesEffects)
{
    NiRefPtr<TestShape> spChild = new TestShape;
    NiRefPtr<NiAmbientLight> spLight = new NiAmbientLight;
    {
        NiRefPtr<NiNode> spNode = new NiNode;
        spNode->AddChild(spChild);
        spNode->AttachEffect(spLight);
        EXPECT_EQ(spChild->GetRefCount(), 2);
    }
    EXPECT_EQ(spChild->GetRefCount(), 1);
    EXPECT_EQ(spChild->GetParent(), nullptr);
    EXPECT_TRUE(spLight->GetAffectedNodeList().IsEmpty());
}

namespace
{
// Where the first child id of the named node lies in a saved buffer (node without properties).
size_t FirstChildIDOffset(const std::vector<char>& kBuffer, const char* pcName)
{
    const std::string kBytes(kBuffer.begin(), kBuffer.end());
    return kBytes.find(pcName) + std::strlen(pcName) + 4 + 4 + 2 + 12 + 36 + 4 + 12 + 4 + 4 + 4;
}

uint32_t SavedIDAfter(const std::vector<char>& kBuffer, const char* pcClass)
{
    const std::string kBytes(kBuffer.begin(), kBuffer.end());
    uint32_t uiID = 0;
    std::memcpy(&uiID, kBytes.data() + kBytes.find(pcClass) + std::strlen(pcClass), 4);
    return uiID;
}
} // namespace

TEST(NiNode, AFileListingOneChildUnderTwoNodesLoadsItUnderOne)
{
    NiRefPtr<NiNode> spRoot = MakeNode("Root");
    NiRefPtr<NiNode> spFirst = MakeNode("First");
    NiRefPtr<NiNode> spSecond = MakeNode("Second");
    spRoot->AddChild(spFirst);
    spRoot->AddChild(spSecond);
    spFirst->AddChild(new TestShape);
    spSecond->SetChildAt(0, nullptr);

    std::vector<char> kBuffer = NifTest::Save({spRoot});
    const uint32_t uiShapeID = SavedIDAfter(kBuffer, "TestShape");
    std::memcpy(&kBuffer[FirstChildIDOffset(kBuffer, "Second")], &uiShapeID, 4);

    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBuffer);
    ASSERT_EQ(kTop.size(), 1u);
    NiNode* pkRoot = NiDynamicCast<NiNode>(kTop[0].Get());
    NiNode* pkFirst = NiDynamicCast<NiNode>(pkRoot->GetAt(0));
    NiNode* pkSecond = NiDynamicCast<NiNode>(pkRoot->GetAt(1));
    ASSERT_TRUE(pkFirst && pkSecond);
    // The nodes link in load order: the second takes the shape from the first.
    EXPECT_EQ(pkFirst->GetAt(0), nullptr);
    NiAVObject* pkShape = pkSecond->GetAt(0);
    ASSERT_TRUE(pkShape);
    EXPECT_EQ(pkShape->GetRefCount(), 1);
    EXPECT_EQ(pkShape->GetParent(), pkSecond);
    pkRoot->UpdateSubtree(0.0f);
}

TEST(NiNode, AFileMakingANodeItsOwnAncestorLoadsWithoutTheLoop)
{
    NiRefPtr<NiNode> spOuter = MakeNode("Outer");
    NiRefPtr<NiNode> spInner = MakeNode("Inner");
    spOuter->AddChild(spInner);
    spInner->SetChildAt(0, nullptr);

    std::vector<char> kBuffer = NifTest::Save({spOuter});
    const uint32_t uiOuterID = SavedIDAfter(kBuffer, "NiNode");
    std::memcpy(&kBuffer[FirstChildIDOffset(kBuffer, "Inner")], &uiOuterID, 4);

    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBuffer);
    ASSERT_EQ(kTop.size(), 1u);
    NiNode* pkOuter = NiDynamicCast<NiNode>(kTop[0].Get());
    ASSERT_TRUE(pkOuter);
    NiNode* pkInner = NiDynamicCast<NiNode>(pkOuter->GetAt(0));
    ASSERT_TRUE(pkInner);
    EXPECT_EQ(pkInner->GetAt(0), nullptr);
    EXPECT_EQ(pkOuter->GetParent(), nullptr);
    pkOuter->UpdateSubtree(0.0f);
}
