#include "scene/object/NiPtrList.h"
#include "scene/object/NiRefPtrList.h"

#include "tests/scene/object/CountedItem.h"

#include <vector>

namespace
{

std::vector<int*> Items(const NiPtrList<int>& kList)
{
    return std::vector<int*>(kList.begin(), kList.end());
}

TEST(NiPtrListTest, AddHeadPutsTheNewItemFirst)
{
    int aiItems[3] = {};
    NiPtrList<int> kList;
    EXPECT_TRUE(kList.IsEmpty());
    kList.AddHead(nullptr);
    EXPECT_EQ(kList.Count(), 0u);

    kList.AddHead(&aiItems[0]);
    EXPECT_EQ(kList.GetHead().m_spNext, nullptr);
    kList.AddHead(&aiItems[1]);
    kList.AddHead(&aiItems[2]);
    EXPECT_EQ(Items(kList), (std::vector<int*>{&aiItems[2], &aiItems[1], &aiItems[0]}));
    EXPECT_EQ(kList.Count(), 3u);
    EXPECT_TRUE(kList.Contains(&aiItems[0]));
}

TEST(NiPtrListTest, RemoveUnlinksTheFirstNodeHoldingTheItem)
{
    int aiItems[4] = {};
    for (int iRemoved = 0; iRemoved < 3; ++iRemoved)
    {
        NiPtrList<int> kList;
        for (int i = 2; i >= 0; --i)
            kList.AddHead(&aiItems[i]);
        EXPECT_TRUE(kList.Remove(&aiItems[iRemoved]));
        EXPECT_FALSE(kList.Contains(&aiItems[iRemoved]));
        EXPECT_EQ(kList.Count(), 2u);
        std::vector<int*> apExpected;
        for (int i = 0; i < 3; ++i)
        {
            if (i != iRemoved)
                apExpected.push_back(&aiItems[i]);
        }
        EXPECT_EQ(Items(kList), apExpected);
        EXPECT_FALSE(kList.Remove(&aiItems[3]));
        EXPECT_FALSE(kList.Remove(nullptr));
    }
}

using NiRefPtrListTest = LeakCheckedTest;

TEST_F(NiRefPtrListTest, RemovingTheFirstOfTwoLeavesTheOtherInTheInlineNode)
{
    NiRefPtrList<CountedItem> kList;
    auto* pA = new CountedItem(1);
    auto* pB = new CountedItem(2);
    kList.AddHead(pA);
    kList.AddHead(pB);
    EXPECT_EQ(kList.GetHead().m_item, pB);
    ASSERT_NE(kList.GetHead().m_spNext, nullptr);
    EXPECT_EQ(kList.GetHead().m_spNext->m_item, pA);

    EXPECT_TRUE(kList.Remove(pB));
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(kList.GetHead().m_item, pA);
    EXPECT_EQ(kList.GetHead().m_spNext, nullptr);
    EXPECT_EQ(pA->GetRefCount(), 1);

    EXPECT_TRUE(kList.Remove(pA));
    EXPECT_TRUE(kList.IsEmpty());
    EXPECT_EQ(Live(), 0);
}

TEST_F(NiRefPtrListTest, TheListHoldsOneReferencePerNode)
{
    NiRefPtr<CountedItem> spKept = new CountedItem(0);
    {
        NiRefPtrList<CountedItem> kList;
        kList.AddHead(spKept);
        for (int32_t i = 1; i <= 3; ++i)
            kList.AddHead(new CountedItem(i));
        EXPECT_EQ(spKept->GetRefCount(), 2);

        NiRefPtr<CountedItem> spFirst = NiRefPtrList<CountedItem>::GetItem(kList.GetHead());
        EXPECT_EQ(spFirst->GetTag(), 3);
        EXPECT_EQ(spFirst->GetRefCount(), 2);
        spFirst = nullptr;

        EXPECT_TRUE(kList.Remove(kList.GetHead().m_spNext->m_item));
        EXPECT_EQ(Live(), 3);
        EXPECT_EQ(kList.Count(), 3u);
    }
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(spKept->GetRefCount(), 1);
}

} // namespace
