#include "scene/object/NiRefPtr.h"

#include "tests/scene/object/CountedItem.h"

#include <utility>

namespace
{

class DerivedItem : public CountedItem
{
};

using NiRefPtrTest = LeakCheckedTest;

TEST_F(NiRefPtrTest, EachHolderCountsOnceAndTheLastOneDeletes)
{
    auto* pItem = new CountedItem;
    {
        NiRefPtr<CountedItem> spFirst = pItem;
        EXPECT_EQ(pItem->GetRefCount(), 1);
        {
            NiRefPtr<CountedItem> spCopy = spFirst;
            EXPECT_EQ(pItem->GetRefCount(), 2);
        }
        EXPECT_EQ(pItem->GetRefCount(), 1);
        EXPECT_EQ(Live(), 1);
    }
    EXPECT_EQ(Live(), 0);
}

TEST_F(NiRefPtrTest, MoveHandsTheReferenceOverWithoutCounting)
{
    NiRefPtr<CountedItem> spSource = new CountedItem;
    CountedItem* pItem = spSource;
    NiRefPtr<CountedItem> spTarget = std::move(spSource);
    EXPECT_EQ(spSource, nullptr);
    EXPECT_EQ(spTarget, pItem);
    EXPECT_EQ(pItem->GetRefCount(), 1);

    NiRefPtr<CountedItem> spOther = new CountedItem;
    spOther = std::move(spTarget);
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(spOther->GetRefCount(), 1);
}

TEST_F(NiRefPtrTest, AssigningTheHeldObjectChangesNothing)
{
    NiRefPtr<CountedItem> spItem = new CountedItem;
    CountedItem* pItem = spItem;
    spItem = pItem;
    spItem = spItem;
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(pItem->GetRefCount(), 1);
}

TEST_F(NiRefPtrTest, AssignmentReleasesTheOldObjectAndCountsTheNew)
{
    NiRefPtr<CountedItem> spItem = new CountedItem(1);
    NiRefPtr<CountedItem> spOther = new CountedItem(2);
    spItem = spOther;
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(spItem->GetTag(), 2);
    EXPECT_EQ(spOther->GetRefCount(), 2);
    spItem = nullptr;
    spOther.Release();
    EXPECT_EQ(Live(), 0);
}

// The new object is reachable only through the old one: it must gain its
// reference before the old one is deleted.
TEST_F(NiRefPtrTest, AssigningAnObjectOwnedOnlyByTheOldOneKeepsItAlive)
{
    NiRefPtr<CountedItem> spHead = new CountedItem(1);
    spHead->m_spNext = new CountedItem(2);
    spHead = spHead->m_spNext;
    ASSERT_EQ(Live(), 1);
    EXPECT_EQ(spHead->GetTag(), 2);
    EXPECT_EQ(spHead->GetRefCount(), 1);
}

TEST_F(NiRefPtrTest, ADerivedReferenceConvertsToABaseReference)
{
    NiRefPtr<DerivedItem> spDerived = new DerivedItem;
    NiRefPtr<CountedItem> spBase = spDerived;
    EXPECT_EQ(spBase, spDerived);
    EXPECT_EQ(spBase->GetRefCount(), 2);
}

} // namespace
