#include "scene/object/NiGrowArray.h"

#include "tests/scene/object/CountedItem.h"

#include <cstdint>
#include <vector>

namespace
{

using NiCountedGrowArray = NiGrowArray<NiRefPtr<CountedItem>>;

// The slots below the used size, 0 for an empty one.
std::vector<uint32_t> Slots(const NiGrowArray<uint32_t>& kArray)
{
    return std::vector<uint32_t>(kArray.begin(), kArray.end());
}

TEST(NiGrowArrayTest, AFullArrayWithoutGrowByStoresNothingMore)
{
    NiGrowArray<uint32_t> kArray(4, 0);
    for (uint32_t i = 1; i <= 4; ++i)
        EXPECT_EQ(kArray.AddAtEnd(i), i - 1);
    EXPECT_EQ(kArray.AddAtEnd(5), 4u);
    EXPECT_EQ(kArray.GetSize(), 4u);
    EXPECT_EQ(kArray.GetAllocatedSize(), 4u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 4u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 2, 3, 4}));
}

TEST(NiGrowArrayTest, StoreBeyondTheUsedSizeLeavesTheGapEmpty)
{
    NiGrowArray<uint32_t> kArray(8, 1);
    kArray.Store(0, 10);
    kArray.Store(1, 11);
    EXPECT_EQ(kArray.Store(5, 15), 5u);
    EXPECT_EQ(kArray.GetSize(), 6u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{10, 11, 0, 0, 0, 15}));

    // An empty item still moves the used size.
    kArray.Store(6, 0);
    EXPECT_EQ(kArray.GetSize(), 7u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);

    // At or beyond the maximum size nothing is stored, and nothing grows.
    EXPECT_EQ(kArray.Store(8, 18), 8u);
    EXPECT_EQ(kArray.GetAllocatedSize(), 8u);
    EXPECT_EQ(kArray.GetSize(), 7u);
}

TEST(NiGrowArrayTest, StoreOverASlotCountsOnlyTheChangeOfFilling)
{
    struct Case
    {
        uint32_t uiBefore;
        uint32_t uiStored;
        uint32_t uiNonNullAfter;
    };
    // Slot 0 is always filled; slot 1 starts as uiBefore.
    const Case aCases[] = {{0, 0, 1}, {0, 7, 2}, {5, 0, 1}, {5, 7, 2}};
    for (const Case& kCase : aCases)
    {
        NiGrowArray<uint32_t> kArray(4, 1);
        kArray.Store(0, 1);
        kArray.Store(1, kCase.uiBefore);
        kArray.Store(1, kCase.uiStored);
        EXPECT_EQ(kArray.GetEffectiveSize(), kCase.uiNonNullAfter)
            << kCase.uiBefore << " -> " << kCase.uiStored;
        EXPECT_EQ(kArray.GetAt(1), kCase.uiStored);
        EXPECT_EQ(kArray.GetSize(), 2u);
    }
}

TEST(NiGrowArrayTest, StoreGrowingGrowsToIndexPlusGrowBy)
{
    NiGrowArray<uint32_t> kArray(1, 3);
    kArray.StoreGrowing(0, 1);
    EXPECT_EQ(kArray.GetAllocatedSize(), 1u);
    kArray.StoreGrowing(1, 2);
    EXPECT_EQ(kArray.GetAllocatedSize(), 4u);
    kArray.StoreGrowing(10, 3);
    EXPECT_EQ(kArray.GetAllocatedSize(), 13u);
    EXPECT_EQ(kArray.GetSize(), 11u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);
    EXPECT_EQ(kArray.GetAt(1), 2u);
    EXPECT_EQ(kArray.GetAt(10), 3u);

    // An index so large that the grown size would wrap stores nothing.
    kArray.StoreGrowing(UINT32_MAX - 1, 4);
    EXPECT_EQ(kArray.GetAllocatedSize(), 13u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);
}

TEST(NiGrowArrayTest, RemoveAtTheLastUsedSlotShrinksTheUsedSizeByOne)
{
    NiGrowArray<uint32_t> kArray(4, 1);
    kArray.Store(0, 1);
    kArray.Store(2, 3);
    EXPECT_EQ(kArray.RemoveAt(2), 3u);
    EXPECT_EQ(kArray.GetSize(), 2u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 1u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 0}));

    // Removing an empty last slot still drops the used size.
    EXPECT_EQ(kArray.RemoveAt(1), 0u);
    EXPECT_EQ(kArray.GetSize(), 1u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 1u);

    EXPECT_EQ(kArray.RemoveAt(5), 0u);
    EXPECT_EQ(kArray.GetSize(), 1u);
}

TEST(NiGrowArrayTest, PutInFirstFreeFillsAGapOrAppends)
{
    NiGrowArray<uint32_t> kArray(3, 2);
    EXPECT_EQ(kArray.PutInFirstFree(0), 0u);
    EXPECT_EQ(kArray.GetSize(), 0u);

    EXPECT_EQ(kArray.PutInFirstFree(1), 1u);
    EXPECT_EQ(kArray.PutInFirstFree(2), 2u);
    EXPECT_EQ(kArray.PutInFirstFree(3), 3u);
    kArray.RemoveAt(1);
    EXPECT_EQ(kArray.PutInFirstFree(4), 3u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 4, 3}));

    // Full: the array grows by its step.
    EXPECT_EQ(kArray.PutInFirstFree(5), 4u);
    EXPECT_EQ(kArray.GetAllocatedSize(), 5u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 4, 3, 5}));
}

TEST(NiGrowArrayTest, SetMaxSizeKeepsTheSlotsThatStillFit)
{
    NiGrowArray<uint32_t> kArray(6, 1);
    for (uint32_t i = 0; i < 5; ++i)
        kArray.Store(i, i % 2 ? 0 : i + 1);
    kArray.SetMaxSize(10);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 0, 3, 0, 5}));
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);

    kArray.SetMaxSize(2);
    EXPECT_EQ(kArray.GetAllocatedSize(), 2u);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(kArray.GetEffectiveSize(), 1u);
    EXPECT_EQ(kArray.GetAt(4), 0u);

    // Growing again shows no stale items in the dropped slots.
    kArray.SetMaxSize(6);
    kArray.Store(4, 9);
    EXPECT_EQ(Slots(kArray), (std::vector<uint32_t>{1, 0, 0, 0, 9}));
}

using NiCountedGrowArrayTest = LeakCheckedTest;

TEST_F(NiCountedGrowArrayTest, PutRefInFirstFreeFillsTheEmptySlotBelowTheUsedSize)
{
    NiCountedGrowArray kArray(4, 1);
    for (int32_t i = 0; i < 3; ++i)
        kArray.AddAtEnd(new CountedItem(i));
    kArray.RemoveAt(1);
    EXPECT_EQ(Live(), 2);

    kArray.PutRefInFirstFree(new CountedItem(9));
    EXPECT_EQ(kArray.GetSize(), 3u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 3u);
    EXPECT_EQ(kArray.GetAt(1)->GetTag(), 9);

    kArray.PutRefInFirstFree(nullptr);
    EXPECT_EQ(kArray.GetSize(), 3u);
}

TEST_F(NiCountedGrowArrayTest, RemoveAtHandsTheReferenceToTheCaller)
{
    NiCountedGrowArray kArray(4, 1);
    kArray.Store(0, new CountedItem(0));
    kArray.Store(2, new CountedItem(2));
    {
        NiRefPtr<CountedItem> spRemoved = kArray.RemoveAt(2);
        ASSERT_EQ(Live(), 2);
        EXPECT_EQ(spRemoved->GetRefCount(), 1);
        // The slot before the last was empty: the used size drops by one only.
        EXPECT_EQ(kArray.GetSize(), 2u);
        EXPECT_EQ(kArray.GetEffectiveSize(), 1u);
    }
    EXPECT_EQ(Live(), 1);
}

TEST_F(NiCountedGrowArrayTest, GetAtHandsOutANewReference)
{
    NiCountedGrowArray kArray(2, 1);
    kArray.AddAtEnd(new CountedItem);
    NiRefPtr<CountedItem> spItem = kArray.GetAt(0);
    EXPECT_EQ(spItem->GetRefCount(), 2);
    EXPECT_EQ(kArray.GetAt(1), nullptr);
    EXPECT_EQ(kArray.GetAt(7), nullptr);
}

TEST_F(NiCountedGrowArrayTest, ItemsTheArrayCannotTakeOrDropsAreReleased)
{
    NiCountedGrowArray kArray(2, 0);
    kArray.AddAtEnd(new CountedItem(0));
    kArray.AddAtEnd(new CountedItem(1));
    kArray.AddAtEnd(new CountedItem(2));
    kArray.Store(5, new CountedItem(5));
    EXPECT_EQ(Live(), 2);

    kArray.Store(0, new CountedItem(10));
    EXPECT_EQ(Live(), 2);
    kArray.Store(0, nullptr);
    EXPECT_EQ(Live(), 1);

    kArray.SetMaxSize(1);
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(kArray.GetSize(), 1u);
    EXPECT_EQ(kArray.GetEffectiveSize(), 0u);
}

TEST_F(NiCountedGrowArrayTest, DestroyingTheArrayReleasesEveryItem)
{
    auto* pShared = new CountedItem;
    NiRefPtr<CountedItem> spShared = pShared;
    {
        NiCountedGrowArray kArray(1, 1);
        for (int32_t i = 0; i < 5; ++i)
            kArray.AddAtEnd(new CountedItem(i));
        kArray.AddAtEnd(pShared);
        kArray.AddAtEnd(pShared);
        EXPECT_EQ(pShared->GetRefCount(), 3);
    }
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(pShared->GetRefCount(), 1);
}

// A long mixed run of every operation keeps the invariants: the used size within
// the maximum, the non-null count equal to the filled slots, and each item
// counted once per slot holding it.
TEST_F(NiCountedGrowArrayTest, MixedOperationsKeepTheInvariants)
{
    std::vector<NiRefPtr<CountedItem>> aspItems;
    for (int32_t i = 0; i < 6; ++i)
        aspItems.emplace_back(new CountedItem(i));

    NiCountedGrowArray kArray(2, 3);
    uint32_t uiState = 12345;
    auto Next = [&uiState](uint32_t uiRange)
    {
        uiState = uiState * 214013u + 2531011u;
        return ((uiState >> 16) & 0x7FFF) % uiRange;
    };
    for (int32_t iStep = 0; iStep < 2000; ++iStep)
    {
        const uint32_t uiIndex = Next(12);
        CountedItem* pItem = Next(5) == 0 ? nullptr : aspItems[Next(6)].Get();
        switch (Next(6))
        {
        case 0:
            kArray.Store(uiIndex, pItem);
            break;
        case 1:
            kArray.StoreGrowing(uiIndex, pItem);
            break;
        case 2:
            kArray.RemoveAt(uiIndex);
            break;
        case 3:
            kArray.PutRefInFirstFree(pItem);
            break;
        case 4:
            kArray.AddAtEnd(pItem);
            break;
        default:
            if (Next(4) == 0)
                kArray.SetMaxSize(Next(16));
            break;
        }

        ASSERT_LE(kArray.GetSize(), kArray.GetAllocatedSize());
        uint32_t uiFilled = 0;
        std::vector<int32_t> aiHeld(aspItems.size(), 0);
        for (const NiRefPtr<CountedItem>& spSlot : kArray)
        {
            if (!spSlot)
                continue;
            ++uiFilled;
            ++aiHeld[static_cast<size_t>(spSlot->GetTag())];
        }
        ASSERT_EQ(kArray.GetEffectiveSize(), uiFilled) << "step " << iStep;
        for (size_t i = 0; i < aspItems.size(); ++i)
            ASSERT_EQ(aspItems[i]->GetRefCount(), aiHeld[i] + 1) << "item " << i << ", step " << iStep;
    }
}

} // namespace
