// The general tree control under the scene tree: multi-selection, the walks over selected
// items, the moving drop handler and open images, on a real tree widget.
#include "EditorSessionFixture.h"

#include "editor/CDragTreeCtrl.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/TreeWidget.h"

#include <wx/frame.h>

namespace
{
class DragTreeTest : public EditorSessionFixture
{
protected:
    void SetUp() override
    {
        EditorSessionFixture::SetUp();
        Start();
        m_pkFrame = new wxFrame(nullptr, wxID_ANY, "Tree", wxDefaultPosition, wxSize(200, 300));
        m_kTree.SubclassWindow(new mfc::TreeWidget(m_pkFrame, 1001, wxPoint(0, 0), wxSize(200, 300)));
        m_pkFrame->Show();
        // A{ A1, A2 }, B, C, the first two images draggable, B a drop target.
        m_kTree.AddImages(IDB_TREE_FOLDERS, 4, 255);
        m_hA = m_kTree.InsertItem("A", 0, 0);
        m_hA1 = m_kTree.InsertItem("A1", 2, 2, m_hA);
        m_hA2 = m_kTree.InsertItem("A2", 2, 2, m_hA);
        m_hB = m_kTree.InsertItem("B", 0, 0);
        m_hC = m_kTree.InsertItem("C", 2, 2);
        m_kTree.Expand(m_hA, TVE_EXPAND);
    }
    void TearDown() override
    {
        m_kTree.DestroyWindow();
        m_pkFrame->Destroy();
        EditorSessionFixture::TearDown();
    }
    std::vector<std::string> Selected()
    {
        std::vector<std::string> kTexts;
        m_kTree.ForEachSelectedItem(
            [](CDragTreeCtrl* pkTree, HTREEITEM hItem, void* pvTexts)
            {
                static_cast<std::vector<std::string>*>(pvTexts)->push_back(pkTree->GetItemText(hItem).Str());
                return true;
            },
            nullptr, &kTexts);
        return kTexts;
    }

    wxFrame* m_pkFrame = nullptr;
    CDragTreeCtrl m_kTree;
    HTREEITEM m_hA = nullptr;
    HTREEITEM m_hA1 = nullptr;
    HTREEITEM m_hA2 = nullptr;
    HTREEITEM m_hB = nullptr;
    HTREEITEM m_hC = nullptr;
};

TEST_F(DragTreeTest, ARangeSelectsTheVisibleItemsBetweenAndTheWalkTakesChildrenFirst)
{
    m_kTree.SelectItem(m_hA);
    // Without multi-selection only the caret is selected.
    m_kTree.SetSelected(m_hB, true);
    EXPECT_EQ(Selected(), std::vector<std::string>{"A"});

    m_kTree.EnableMultiSelect(true);
    m_kTree.SelectRange(m_hA2, m_hC);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"A2", "A", "B", "C"}));
    m_kTree.SelectRange(m_hA1, m_hA2);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"A1", "A2", "A"}));
    m_kTree.ClearMultiSelection();
    EXPECT_EQ(Selected(), std::vector<std::string>{"A"});
}

TEST_F(DragTreeTest, TheMovingDropHandlerPutsDraggableItemsUnderTheTarget)
{
    m_kTree.EnableMultiSelect(true);
    m_kTree.SetDraggable(2);
    m_kTree.SelectItem(m_hB);
    m_kTree.SetSelected(m_hA2, true);
    m_kTree.SetSelected(m_hC, true);
    // B itself (the target, image 0) is not draggable and stays where it is.
    m_kTree.ForEachSelectedItem(&CDragTreeCtrl::MoveItemToTarget, nullptr, m_hB);
    std::vector<std::string> kUnderB;
    for (HTREEITEM hChild = m_kTree.GetChildItem(m_hB); hChild != nullptr;
         hChild = m_kTree.GetNextSiblingItem(hChild))
        kUnderB.push_back(m_kTree.GetItemText(hChild).Str());
    EXPECT_EQ(kUnderB, (std::vector<std::string>{"A2", "C"}));
    EXPECT_EQ(m_kTree.GetCount(), 5u);
    EXPECT_EQ(m_kTree.GetNextSiblingItem(m_hA1), nullptr);
}

TEST_F(DragTreeTest, AnItemWithAnOpenImageShowsItWhileExpanded)
{
    m_kTree.SetOpenImage(0);
    m_kTree.Expand(m_hA, TVE_COLLAPSE);
    m_kTree.SetItemImage(m_hA, 0, 0);
    m_kTree.Expand(m_hA, TVE_EXPAND);
    int iImage = -1;
    int iSelected = -1;
    m_kTree.GetItemImage(m_hA, iImage, iSelected);
    EXPECT_EQ(iImage, 1);
    m_kTree.Expand(m_hA, TVE_COLLAPSE);
    m_kTree.GetItemImage(m_hA, iImage, iSelected);
    EXPECT_EQ(iImage, 0);
    EXPECT_TRUE(m_kTree.HasOpenImage(0));
    EXPECT_FALSE(m_kTree.HasOpenImage(2));
}
} // namespace
