#include "scene/object/NiPooledList.h"

#include "tests/scene/object/CountedItem.h"

#include <set>
#include <vector>

namespace
{

// The items head to tail, checking on the way that the back links mirror the
// forward ones and that the count agrees.
std::vector<int> Items(const NiPooledList<int>& kList)
{
    std::vector<int> aiItems;
    const NiPooledList<int>::Node* pPrev = nullptr;
    for (auto* pNode = kList.GetHeadPos(); pNode; pNode = pNode->m_pNext)
    {
        EXPECT_EQ(pNode->m_pPrev, pPrev);
        aiItems.push_back(pNode->m_item);
        pPrev = pNode;
    }
    EXPECT_EQ(kList.GetTailPos(), pPrev);
    EXPECT_EQ(kList.GetCount(), static_cast<int32_t>(aiItems.size()));
    return aiItems;
}

TEST(NiPooledListTest, AddsAtBothEndsAndRemovesFromTheHead)
{
    NiPooledList<int> kList(2);
    kList.AddTail(2);
    kList.AddTail(3);
    kList.AddHead(1);
    EXPECT_EQ(Items(kList), (std::vector<int>{1, 2, 3}));

    EXPECT_EQ(kList.RemoveHead(), 1);
    EXPECT_EQ(kList.RemoveTail(), 3);
    EXPECT_EQ(Items(kList), (std::vector<int>{2}));
    EXPECT_EQ(kList.RemoveHead(), 2);
    EXPECT_TRUE(kList.IsEmpty());
    EXPECT_EQ(kList.GetHeadPos(), nullptr);
    EXPECT_EQ(kList.GetTailPos(), nullptr);
    EXPECT_EQ(kList.RemoveHead(), 0);
}

TEST(NiPooledListTest, UnlinksAGivenNodeAnywhereInTheList)
{
    for (int iRemoved : {1, 3, 5})
    {
        NiPooledList<int> kList(2);
        for (int i = 1; i <= 5; ++i)
            kList.AddTail(i);
        EXPECT_EQ(kList.RemovePos(kList.FindPos(iRemoved)), iRemoved);
        std::vector<int> aiExpected;
        for (int i = 1; i <= 5; ++i)
        {
            if (i != iRemoved)
                aiExpected.push_back(i);
        }
        EXPECT_EQ(Items(kList), aiExpected) << "removed " << iRemoved;
    }
}

TEST(NiPooledListTest, RemoveTakesTheFirstNodeHoldingTheItem)
{
    NiPooledList<int> kList(4);
    for (int i : {7, 8, 7, 9})
        kList.AddTail(i);
    EXPECT_TRUE(kList.Contains(7));
    EXPECT_TRUE(kList.Remove(7));
    EXPECT_EQ(Items(kList), (std::vector<int>{8, 7, 9}));
    EXPECT_FALSE(kList.Remove(6));
    EXPECT_FALSE(kList.Contains(6));
    EXPECT_EQ(kList.FindPos(6), nullptr);
}

// Nodes freed by removal come back before any new block is taken.
TEST(NiPooledListTest, FreedNodesAreReusedBeforeANewBlock)
{
    NiPooledList<int> kList(3);
    std::set<const void*> kNodesOfFirstBlock;
    for (int i = 0; i < 3; ++i)
    {
        kList.AddTail(i);
        kNodesOfFirstBlock.insert(kList.GetTailPos());
    }
    for (int iRound = 0; iRound < 4; ++iRound)
    {
        while (!kList.IsEmpty())
            kList.RemoveHead();
        for (int i = 0; i < 3; ++i)
        {
            kList.AddHead(i);
            EXPECT_TRUE(kNodesOfFirstBlock.count(kList.GetHeadPos())) << "round " << iRound;
        }
    }
    // The last freed node is the next one taken.
    auto* pMiddle = kList.GetHeadPos()->m_pNext;
    kList.RemovePos(pMiddle);
    kList.AddTail(42);
    EXPECT_EQ(kList.GetTailPos(), pMiddle);
    EXPECT_EQ(Items(kList), (std::vector<int>{2, 0, 42}));
}

TEST(NiPooledListTest, RemoveAllLeavesAListAsNew)
{
    NiPooledList<int> kList(2);
    for (int i = 0; i < 5; ++i)
        kList.AddTail(i);
    kList.RemoveAll();
    EXPECT_TRUE(Items(kList).empty());
    kList.AddTail(1);
    kList.AddHead(0);
    EXPECT_EQ(Items(kList), (std::vector<int>{0, 1}));

    std::vector<int> aiWalked;
    for (int& iItem : kList)
        aiWalked.push_back(iItem);
    EXPECT_EQ(aiWalked, (std::vector<int>{0, 1}));
}

using NiCountedPooledListTest = LeakCheckedTest;

TEST_F(NiCountedPooledListTest, CountedItemsAreHeldWhileListed)
{
    NiRefPtr<CountedItem> spKept = new CountedItem(0);
    {
        NiPooledList<NiRefPtr<CountedItem>> kList(2);
        kList.AddTail(spKept);
        kList.AddTail(new CountedItem(1));
        kList.AddTail(new CountedItem(2));
        EXPECT_EQ(spKept->GetRefCount(), 2);
        EXPECT_EQ(kList.RemoveHead(), spKept);
        EXPECT_EQ(spKept->GetRefCount(), 1);
        EXPECT_EQ(Live(), 3);
        EXPECT_TRUE(kList.Remove(kList.GetHeadPos()->m_item));
        EXPECT_EQ(Live(), 2);
    }
    EXPECT_EQ(Live(), 1);
}

} // namespace
