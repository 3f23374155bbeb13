// The scene tree and the property list of an open model, on real windows: the tree's fill,
// filters and images, selection both ways, and the list following the tree's node.
#include "EditorSessionFixture.h"
#include "tests/editor/ControlDriver.h"

#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "editor/resources/Resource.h"
#include "properties/DisplayModelExtraData.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiExtraData.h"

namespace
{
NiNode* Node(const char* pcName, NiNode* pkParent)
{
    auto* pkNode = new NiNode;
    if (pcName != nullptr)
        pkNode->SetName(pcName);
    if (pkParent != nullptr)
        pkParent->AddChild(pkNode);
    return pkNode;
}

// Root{ unnamed{ A }, display-marked D{ E }, P at the origin{ Q }, geometry G, Extra with a
// plain extra datum }.
NiRefPtr<NiNode> MakeFixture()
{
    NiRefPtr<NiNode> spRoot = Node("Root", nullptr);
    Node("A", Node(nullptr, spRoot));
    NiNode* pkDisplay = Node("D", spRoot);
    DisplayModelExtraData::Mark(pkDisplay);
    Node("E", pkDisplay);
    Node("Q", Node("P", spRoot));
    auto* pkShape = new NiTriShape;
    pkShape->SetName("G");
    spRoot->AddChild(pkShape);
    Node("Extra", spRoot)->AddExtraData(new NiExtraData);
    return spRoot;
}

class SceneTreeTest : public EditorSessionFixture
{
protected:
    void SetUp() override
    {
        EditorSessionFixture::SetUp();
        Start();
        m_pkDoc = Open(Model("SampleShip.nif"));
        ASSERT_NE(m_pkDoc, nullptr);
        m_pkTreeView = m_pkDoc->GetSceneGraphView();
        m_pkList = m_pkDoc->GetPropertyView();
        ASSERT_NE(m_pkTreeView, nullptr);
        ASSERT_NE(m_pkList, nullptr);
    }
    CSceneGraphTreeCtrl& Tree() { return m_pkTreeView->GetTree(); }
    HTREEITEM ItemOf(NiAVObject* pkObject) { return Tree().FindItem(pkObject); }
    NiAVObject* Child(const char* pcName) { return m_pkDoc->GetSceneRoot()->FindObjectByName(pcName); }
    std::vector<std::string> Properties() { return control::ListTexts(m_pkList, IDC_PROPERTY_LIST); }

    CPropertyDoc* m_pkDoc = nullptr;
    CSceneGraphView* m_pkTreeView = nullptr;
    CPropertyView* m_pkList = nullptr;
};

TEST_F(SceneTreeTest, TheTreeShowsTheModelWithItsImages)
{
    EXPECT_EQ(control::Outline(Tree()),
              (std::vector<std::string>{"SampleShip", "  Hull", "  Port Nacelle", "  Starboard Nacelle",
                                        "  Port Phaser", "  Starboard Phaser", "  Forward Torpedo",
                                        "  Shield Generator", "  Impulse Engine", "  Sensor Array"}));
    struct
    {
        const char* pcItem;
        int iImage;
        int iSelected;
    } const akCases[] = {{"SampleShip", 7, 7}, {"Hull", 5, 4}, {"Port Phaser", 8, 8}};
    for (const auto& kCase : akCases)
    {
        NiAVObject* pkObject =
            std::string(kCase.pcItem) == "SampleShip" ? m_pkDoc->GetSceneRoot() : Child(kCase.pcItem);
        int iImage = -1;
        int iSelected = -1;
        ASSERT_TRUE(Tree().GetItemImage(ItemOf(pkObject), iImage, iSelected)) << kCase.pcItem;
        EXPECT_EQ(iImage, kCase.iImage) << kCase.pcItem;
        EXPECT_EQ(iSelected, kCase.iSelected) << kCase.pcItem;
    }
    // The pictures came from the two bitmaps: 4 + 5 images.
    EXPECT_EQ(Tree().GetImageList(TVSIL_NORMAL)->GetImageCount(), 9);
}

TEST_F(SceneTreeTest, DisplayGeometryAndFilteredObjectsStayOutAndClearingAFilterRestoresTheTree)
{
    NiRefPtr<NiNode> spFixture = MakeFixture();
    Tree().SetScene(spFixture);
    const std::vector<std::string> kAll{"Root", "  noname", "    A", "  P", "    Q", "  G", "  Extra"};
    EXPECT_EQ(control::Outline(Tree()), kAll);

    struct
    {
        std::vector<UINT> kBoxes;
        std::vector<std::string> kOutline;
    } const akCases[] = {
        // A refused object's children move up to its nearest shown ancestor.
        {{IDC_FILTER_NAMEDOBJECTS}, {"Root", "  A", "  P", "    Q", "  G", "  Extra"}},
        {{IDC_FILTER_NODES}, {"Root", "  noname", "    A", "  P", "    Q", "  Extra"}},
        // Nodes at the origin without a turn and with children go; their children stay.
        {{IDC_FILTER_NODES, IDC_FILTER_PLACEDNODES}, {"A", "Q", "Extra"}},
    };
    for (const auto& kCase : akCases)
    {
        for (UINT nBox : kCase.kBoxes)
            control::Tick(m_pkTreeView, nBox, true);
        EXPECT_EQ(control::Outline(Tree()), kCase.kOutline);
        for (UINT nBox : kCase.kBoxes)
            control::Tick(m_pkTreeView, nBox, false);
        EXPECT_EQ(control::Outline(Tree()), kAll);
    }
}

TEST_F(SceneTreeTest, PlacedNodesAreLeavesMovedOrTurnedNodes)
{
    NiRefPtr<NiNode> spAtOrigin = Node("AtOrigin", nullptr);
    Node("Child", spAtOrigin);
    NiRefPtr<NiNode> spMoved = Node("Moved", nullptr);
    Node("Child", spMoved);
    spMoved->SetTranslate(NiPoint3(0.0f, 0.0f, 0.5f));
    NiRefPtr<NiNode> spTurned = Node("Turned", nullptr);
    Node("Child", spTurned);
    NiRotationMatrix kTurn;
    kTurn.MakeZRotation(0.5f);
    spTurned->SetRotate(kTurn);
    NiRefPtr<NiNode> spLeaf = Node("Leaf", nullptr);
    NiRefPtr<NiTriShape> spShape = new NiTriShape;
    EXPECT_FALSE(CSceneGraphTreeCtrl::IsPlacedNode(spAtOrigin));
    EXPECT_TRUE(CSceneGraphTreeCtrl::IsPlacedNode(spMoved));
    EXPECT_TRUE(CSceneGraphTreeCtrl::IsPlacedNode(spTurned));
    EXPECT_TRUE(CSceneGraphTreeCtrl::IsPlacedNode(spLeaf));
    EXPECT_FALSE(CSceneGraphTreeCtrl::IsPlacedNode(spShape));
    EXPECT_FALSE(CSceneGraphTreeCtrl::IsPlacedNode(nullptr));
    NiRefPtr<NiNode> spUnnamed = new NiNode;
    EXPECT_FALSE(CSceneGraphTreeCtrl::IsNamed(spUnnamed));
    EXPECT_FALSE(CSceneGraphTreeCtrl::IsNode(nullptr));
}

TEST_F(SceneTreeTest, SelectingAnItemSelectsItsNodeAndTheListShowsItsProperties)
{
    EXPECT_TRUE(Properties().empty());
    NiAVObject* pkPhaser = Child("Port Phaser");
    Tree().SelectItem(ItemOf(pkPhaser));
    EXPECT_EQ(m_pkDoc->GetSelectedNode(), pkPhaser);
    EXPECT_EQ(m_pkTreeView->GetSelectedTreeNode(), pkPhaser);
    EXPECT_EQ(Properties(), std::vector<std::string>{"Port Phaser"});
    EXPECT_EQ(m_pkList->GetSelectedInstance(), nullptr);

    // Only a list selection changes the buttons; a refill leaves them as they were.
    ASSERT_TRUE(control::SelectEntry(m_pkList, IDC_PROPERTY_LIST, "Port Phaser"));
    EXPECT_TRUE(control::IsEnabled(m_pkList, IDC_DELETE_PROPERTY));
    EXPECT_TRUE(control::IsEnabled(m_pkList, IDC_EDIT_PROPERTY));
    ASSERT_NE(m_pkList->GetSelectedInstance(), nullptr);
    EXPECT_EQ(m_pkList->GetSelectedTemplate(), m_pkList->GetSelectedInstance()->GetOriginalTemplate());
    // A change of the pick point carries no hint: the list stays.
    m_pkDoc->SetPickPoint(1.0f, 2.0f, 3.0f);
    EXPECT_NE(m_pkList->GetSelectedInstance(), nullptr);

    Tree().SelectItem(ItemOf(Child("Port Nacelle")));
    EXPECT_TRUE(Properties().empty());
    EXPECT_TRUE(control::IsEnabled(m_pkList, IDC_DELETE_PROPERTY));
    EXPECT_EQ(m_pkList->GetSelectedInstance(), nullptr);
}

TEST_F(SceneTreeTest, TheCaretFollowsTheDocumentAndLeavesForObjectsTheTreeDoesNotShow)
{
    NiAVObject* pkTorpedo = Child("Forward Torpedo");
    m_pkDoc->SetSelectedNode(pkTorpedo);
    EXPECT_EQ(Tree().GetSelectedItem(), ItemOf(pkTorpedo));
    EXPECT_EQ(Properties(), std::vector<std::string>{"Forward Torpedo"});

    control::Tick(m_pkTreeView, IDC_FILTER_NODES, true);
    m_pkDoc->SetSelectedNode(Child("Hull"));
    EXPECT_EQ(Tree().GetSelectedItem(), nullptr);
    EXPECT_EQ(m_pkTreeView->GetSelectedTreeNode(), nullptr);
    EXPECT_TRUE(Properties().empty());
}

TEST_F(SceneTreeTest, DeletingTheOnlyPropertyEmptiesTheListAndTheSet)
{
    NiAVObject* pkShield = Child("Shield Generator");
    Tree().SelectItem(ItemOf(pkShield));
    ASSERT_TRUE(control::SelectEntry(m_pkList, IDC_PROPERTY_LIST, "Shield Generator"));
    control::Click(m_pkList, IDC_DELETE_PROPERTY);
    EXPECT_TRUE(Properties().empty());
    EXPECT_EQ(m_pkDoc->GetPropertySet()->GetPropertyList("Shield Generator")->SKGetNumItems(), 0);
    EXPECT_EQ(m_pkList->GetSelectedInstance(), nullptr);
    // Nothing selected: Delete does nothing.
    control::Click(m_pkList, IDC_DELETE_PROPERTY);
    EXPECT_EQ(m_pkDoc->GetPropertySet()->GetPropertyList("Shield Generator")->SKGetNumItems(), 0);
}

TEST_F(SceneTreeTest, DeleteWithoutATreeNodeLeavesTheSetAlone)
{
    Tree().SelectItem(ItemOf(Child("Port Phaser")));
    ASSERT_TRUE(control::SelectEntry(m_pkList, IDC_PROPERTY_LIST, "Port Phaser"));
    // A filter refill leaves the list with an entry while the tree has no caret.
    control::Tick(m_pkTreeView, IDC_FILTER_NAMEDOBJECTS, true);
    ASSERT_EQ(m_pkTreeView->GetSelectedTreeNode(), nullptr);
    control::Click(m_pkList, IDC_DELETE_PROPERTY);
    EXPECT_EQ(m_pkDoc->GetPropertySet()->GetPropertyList("Port Phaser")->SKGetNumItems(), 1);
}
} // namespace
