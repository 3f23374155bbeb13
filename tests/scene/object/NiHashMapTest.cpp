#include "scene/object/NiHashMap.h"
#include "scene/object/NiStringHashMap.h"

#include "tests/scene/object/CountedItem.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{

// Shows the bucket a key falls in.
template <class TMAP> class BucketProbe : public TMAP
{
public:
    using TMAP::KeyToHashIndex;
    using TMAP::TMAP;
};

std::vector<std::pair<uint32_t, int>> WalkOf(const NiHashMap<uint32_t, int>& kMap)
{
    std::vector<std::pair<uint32_t, int>> aEntries;
    for (const auto& kEntry : kMap)
        aEntries.emplace_back(kEntry.m_key, kEntry.m_val);
    return aEntries;
}

TEST(NiHashMapTest, IntegerKeysFallInKeyModuloBucketCount)
{
    struct Case
    {
        int64_t iKey;
        uint32_t uiBuckets;
        uint32_t uiBucket;
    };
    const Case aCases[] = {
        {0, 37, 0},         {36, 37, 36},    {37, 37, 0},         {38, 37, 1},
        {2038, 37, 3},      {4000, 37, 4},   {0xFFFFFFFF, 37, 6}, {0x80000000, 37, 22},
        {2038, 2039, 2038}, {2039, 2039, 0}, {4000, 2039, 1961},  {0xFFFFFFFF, 2039, 1383},
        {12345, 307, 65},   {12345, 47, 31},
    };
    for (const Case& kCase : aCases)
    {
        BucketProbe<NiHashMap<uint32_t, int>> kMap(kCase.uiBuckets);
        EXPECT_EQ(kMap.KeyToHashIndex(static_cast<uint32_t>(kCase.iKey)), kCase.uiBucket)
            << kCase.iKey << " in " << kCase.uiBuckets;
    }

    // A signed key is read as unsigned: -1 is 0xFFFFFFFF.
    BucketProbe<NiHashMap<int32_t, int>> kSigned(37);
    EXPECT_EQ(kSigned.KeyToHashIndex(-1), 6u);
    BucketProbe<NiHashMap<int32_t, int>> kSignedLarge(2039);
    EXPECT_EQ(kSignedLarge.KeyToHashIndex(-5), 1379u);
}

// h = h * 33 + c over signed bytes: a byte of 0x80 or above subtracts.
TEST(NiHashMapTest, StringKeysHashBySignedBytesTimes33)
{
    struct Case
    {
        const char* pcKey;
        uint32_t uiBuckets;
        uint32_t uiBucket;
    };
    const Case aCases[] = {
        {"", 37, 0},
        {"a", 37, 23},
        {"NiNode", 37, 29},
        {"NiTriShape", 37, 31},
        {"\xE9"
         "abc",
         37, 0},
        {"\x80", 37, 27},
        {"ab\xFF", 37, 12},
        {"NiNode", 2039, 1637},
        {"\x80", 2039, 1256},
        {"NiNode", 307, 266},
        {"\xE9"
         "abc",
         307, 23},
        {"SceneGraph File Format, Version 3.1", 37, 12},
    };
    for (const Case& kCase : aCases)
    {
        BucketProbe<NiStringHashMap<int>> kMap(kCase.uiBuckets);
        EXPECT_EQ(kMap.KeyToHashIndex(kCase.pcKey), kCase.uiBucket)
            << kCase.pcKey << " in " << kCase.uiBuckets;
    }
}

TEST(NiHashMapTest, SetAtOnAPresentKeyReplacesTheValueInTheSameEntry)
{
    NiHashMap<uint32_t, int> kMap(2039);
    kMap.SetAt(2040, 1);
    kMap.SetAt(2040, 2);
    EXPECT_EQ(kMap.GetCount(), 1u);
    int iValue = 0;
    ASSERT_TRUE(kMap.GetAt(2040, iValue));
    EXPECT_EQ(iValue, 2);
    EXPECT_FALSE(kMap.GetAt(1, iValue));
    EXPECT_EQ(kMap.Find(1), nullptr);
    ASSERT_NE(kMap.Find(2040), nullptr);
    *kMap.Find(2040) = 3;
    EXPECT_TRUE(kMap.GetAt(2040, iValue));
    EXPECT_EQ(iValue, 3);
}

// Keys 5, 42 and 79 share bucket 5 of 37; the latest is first in the chain.
TEST(NiHashMapTest, KeysOfOneBucketChainNewestFirstAndSurviveEachOthersRemoval)
{
    for (uint32_t uiRemoved : {5u, 42u, 79u})
    {
        NiHashMap<uint32_t, int> kMap;
        kMap.SetAt(5, 50);
        kMap.SetAt(42, 420);
        kMap.SetAt(79, 790);
        const std::vector<std::pair<uint32_t, int>> aExpected = {{79, 790}, {42, 420}, {5, 50}};
        EXPECT_EQ(WalkOf(kMap), aExpected);

        EXPECT_TRUE(kMap.RemoveAt(uiRemoved));
        EXPECT_FALSE(kMap.RemoveAt(uiRemoved));
        EXPECT_EQ(kMap.GetCount(), 2u);
        for (uint32_t uiKey : {5u, 42u, 79u})
            EXPECT_EQ(kMap.Contains(uiKey), uiKey != uiRemoved) << uiKey << " after removing " << uiRemoved;
    }
}

// The walk runs bucket 0 upward, each chain from its head, and meets every
// entry once.
TEST(NiHashMapTest, WalkVisitsEveryEntryInBucketOrder)
{
    NiHashMap<uint32_t, int> kMap;
    std::vector<std::pair<uint32_t, int>> aExpected;
    for (uint32_t uiKey = 0; uiKey < 200; uiKey += 3)
    {
        kMap.SetAt(uiKey, static_cast<int>(uiKey) * 10);
        aExpected.emplace_back(uiKey, static_cast<int>(uiKey) * 10);
    }
    // Bucket ascending; within a bucket the later insertion (larger key) first.
    std::stable_sort(aExpected.begin(), aExpected.end(),
                     [](const auto& kA, const auto& kB) {
                         return kA.first % 37 != kB.first % 37 ? kA.first % 37 < kB.first % 37
                                                               : kA.first > kB.first;
                     });
    EXPECT_EQ(WalkOf(kMap), aExpected);
    EXPECT_EQ(kMap.GetCount(), aExpected.size());

    kMap.RemoveAll();
    EXPECT_TRUE(kMap.IsEmpty());
    EXPECT_TRUE(WalkOf(kMap).empty());
    kMap.SetAt(7, 70);
    EXPECT_EQ(WalkOf(kMap), (std::vector<std::pair<uint32_t, int>>{{7, 70}}));
}

TEST(NiHashMapTest, AMapOfNoBucketsStillWorks)
{
    NiHashMap<uint32_t, int> kMap(0);
    kMap.SetAt(3, 30);
    kMap.SetAt(4, 40);
    EXPECT_EQ(kMap.GetHashSize(), 1u);
    EXPECT_TRUE(kMap.Contains(3));
    EXPECT_TRUE(kMap.Contains(4));
}

TEST(NiHashMapTest, PointerKeysAreFoundByIdentity)
{
    int aiObjects[3] = {};
    NiHashMap<const int*, int> kMap;
    for (int i = 0; i < 3; ++i)
        kMap.SetAt(&aiObjects[i], i);
    int iValue = -1;
    ASSERT_TRUE(kMap.GetAt(&aiObjects[1], iValue));
    EXPECT_EQ(iValue, 1);
}

TEST(NiStringHashMapTest, KeysAreCopiesComparedExactly)
{
    NiStringHashMap<int> kMap;
    std::string kKey = "NiNode";
    kMap.SetAt(kKey.c_str(), 1);
    const char* pcStored = kMap.begin()->m_key.c_str();
    EXPECT_NE(pcStored, kKey.c_str());
    kKey = "NiXXXX";

    int iValue = 0;
    EXPECT_TRUE(kMap.GetAt("NiNode", iValue));
    EXPECT_FALSE(kMap.GetAt("ninode", iValue));
    EXPECT_FALSE(kMap.GetAt("NiNod", iValue));
    EXPECT_FALSE(kMap.GetAt("NiXXXX", iValue));
}

TEST(NiStringHashMapTest, ReplacingAKeyKeepsOneEntryWithAFreshKeyCopy)
{
    NiStringHashMap<int> kMap;
    kMap.SetAt("Options", 1);
    std::string kKey = "Options";
    kMap.SetAt(kKey, 2);
    EXPECT_EQ(kMap.GetCount(), 1u);
    EXPECT_NE(kMap.begin()->m_key.data(), kKey.data());
    int iValue = 0;
    ASSERT_TRUE(kMap.GetAt("Options", iValue));
    EXPECT_EQ(iValue, 2);

    // The caller may name the key with the entry's own text.
    kMap.SetAt(kMap.begin()->m_key, 3);
    ASSERT_TRUE(kMap.GetAt("Options", iValue));
    EXPECT_EQ(iValue, 3);
    EXPECT_EQ(kMap.begin()->m_key, "Options");
}

TEST(NiStringHashMapTest, KeysWithHighBytesAreFoundAndRemoved)
{
    NiStringHashMap<int> kMap;
    const char* apcKeys[] = {"\xE9"
                             "abc",
                             "caf\xE9", "\x80", "\xFF\xFE", "plain"};
    for (int i = 0; i < 5; ++i)
        kMap.SetAt(apcKeys[i], i);
    for (int i = 0; i < 5; ++i)
    {
        int iValue = -1;
        EXPECT_TRUE(kMap.GetAt(apcKeys[i], iValue));
        EXPECT_EQ(iValue, i);
    }
    EXPECT_TRUE(kMap.RemoveAt("caf\xE9"));
    EXPECT_FALSE(kMap.Contains("caf\xE9"));
    EXPECT_EQ(kMap.GetCount(), 4u);
}

using NiCountedHashMapTest = LeakCheckedTest;

TEST_F(NiCountedHashMapTest, EntriesHoldOneReferenceUntilReplacedRemovedOrDestroyed)
{
    auto* pFirst = new CountedItem(1);
    auto* pSecond = new CountedItem(2);
    NiRefPtr<CountedItem> spFirst = pFirst;
    {
        NiStringHashMap<NiRefPtr<CountedItem>> kMap;
        kMap.SetAt("a", pFirst);
        EXPECT_EQ(pFirst->GetRefCount(), 2);
        kMap.SetAt("b", pSecond);
        EXPECT_EQ(pSecond->GetRefCount(), 1);

        kMap.SetAt("a", pSecond);
        EXPECT_EQ(pFirst->GetRefCount(), 1);
        EXPECT_EQ(pSecond->GetRefCount(), 2);

        NiRefPtr<CountedItem> spFound;
        ASSERT_TRUE(kMap.GetAt("b", spFound));
        EXPECT_EQ(spFound, pSecond);
        EXPECT_EQ(pSecond->GetRefCount(), 3);
        spFound = nullptr;

        EXPECT_TRUE(kMap.RemoveAt("a"));
        EXPECT_EQ(pSecond->GetRefCount(), 1);

        kMap.SetAt("c", pFirst);
        EXPECT_EQ(pFirst->GetRefCount(), 2);
    }
    // Destroying the map released "b" (the last reference to the second item)
    // and "c".
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(pFirst->GetRefCount(), 1);
}

// Re-entering the object a map holds the only reference to must not free it.
TEST_F(NiCountedHashMapTest, ReenteringTheSoleHeldValueKeepsItAlive)
{
    NiStringHashMap<NiRefPtr<CountedItem>> kMap;
    auto* pImage = new CountedItem(7);
    kMap.SetAt("image.tga", pImage);
    kMap.SetAt("image.tga", pImage);
    ASSERT_EQ(Live(), 1);
    EXPECT_EQ(pImage->GetRefCount(), 1);
    kMap.RemoveAll();
    EXPECT_EQ(Live(), 0);
}

} // namespace
