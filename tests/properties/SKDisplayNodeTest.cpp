// Display nodes: marked, hung under the scene root that shows them, hidden by culling, and never
// left pointing into a scene that is gone.
#include "properties/SKDisplayNode.h"
#include "properties/DisplayModelExtraData.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class MarkerSubclass : public DisplayModelExtraData
{
    NiDeclareRTTI;
};
} // namespace

NiImplementRTTI(MarkerSubclass, DisplayModelExtraData);

TEST(SKDisplayNodeTest, ShowingHangsOneMarkedNodeUnderTheSceneRootAndHidingCullsIt)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiRefPtr<NiNode> spModelNode = new NiNode;
    spRoot->AddChild(spModelNode);
    SKDisplayNode kDisplay;

    // Hidden before it was ever shown: nothing is made.
    EXPECT_EQ(kDisplay.Show(false, spRoot, spModelNode), nullptr);
    EXPECT_EQ(kDisplay.GetNode(), nullptr);

    NiNode* pkNode = kDisplay.Show(true, spRoot, spModelNode);
    ASSERT_NE(pkNode, nullptr);
    EXPECT_EQ(pkNode->GetParent(), spRoot);
    EXPECT_EQ(spRoot->GetAt(1), pkNode);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(pkNode));
    EXPECT_FALSE(DisplayModelExtraData::IsMarked(spModelNode));
    EXPECT_FALSE(pkNode->GetAppCulled());

    EXPECT_EQ(kDisplay.Show(false, spRoot, spModelNode), nullptr);
    EXPECT_TRUE(pkNode->GetAppCulled());
    EXPECT_EQ(pkNode->GetParent(), spRoot);

    // Shown on every redraw: the same node, and the root's children do not grow.
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(kDisplay.Show(true, spRoot, spModelNode), pkNode);
    EXPECT_FALSE(pkNode->GetAppCulled());
    EXPECT_EQ(spRoot->GetArrayCount(), 2u);

    // Without a scene to show in, nothing happens.
    EXPECT_EQ(kDisplay.Show(true, nullptr, spModelNode), nullptr);
    EXPECT_EQ(pkNode->GetParent(), spRoot);
}

TEST(SKDisplayNodeTest, TheNodeFollowsTheViewAndOutlivesAReleasedScene)
{
    auto spDisplay = std::make_unique<SKDisplayNode>();
    NiRefPtr<NiNode> spFirstRoot = new NiNode;
    NiNode* pkNode = spDisplay->Show(true, spFirstRoot, spFirstRoot);
    ASSERT_NE(pkNode, nullptr);

    // Shown in another document's view, it moves into that scene.
    NiRefPtr<NiNode> spSecondRoot = new NiNode;
    EXPECT_EQ(spDisplay->Show(true, spSecondRoot, spSecondRoot), pkNode);
    EXPECT_EQ(pkNode->GetParent(), spSecondRoot);
    EXPECT_EQ(spFirstRoot->GetChildCount(), 0u);

    // The document closes: its scene goes, the node stays the property's, without a parent.
    spSecondRoot = nullptr;
    EXPECT_EQ(spDisplay->GetNode(), pkNode);
    EXPECT_EQ(pkNode->GetParent(), nullptr);
    spDisplay->Show(false, nullptr, nullptr);
    EXPECT_EQ(spDisplay->Show(true, spFirstRoot, spFirstRoot), pkNode);
    EXPECT_EQ(pkNode->GetParent(), spFirstRoot);

    // The property goes: its node leaves the scene.
    spDisplay.reset();
    EXPECT_EQ(spFirstRoot->GetChildCount(), 0u);
}

TEST(SKDisplayNodeTest, OnlyTheMarkerClassItselfMarks)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    spNode->AddExtraData(new NiExtraData);
    EXPECT_FALSE(DisplayModelExtraData::IsMarked(spNode));
    spNode->AddExtraData(new MarkerSubclass);
    EXPECT_FALSE(DisplayModelExtraData::IsMarked(spNode));
    EXPECT_FALSE(DisplayModelExtraData::IsMarked(nullptr));

    // Further down the chain still counts.
    NiRefPtr<NiNode> spMarked = new NiNode;
    DisplayModelExtraData::Mark(spMarked);
    spMarked->AddExtraData(new NiExtraData);
    EXPECT_TRUE(DisplayModelExtraData::IsMarked(spMarked));

    // A clone carries a plain extra data in its place.
    NiRefPtr<NiNode> spClone = NiDynamicCast<NiNode>(spMarked->Clone());
    ASSERT_NE(spClone, nullptr);
    EXPECT_FALSE(DisplayModelExtraData::IsMarked(spClone));
}
