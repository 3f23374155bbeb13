#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// A chained hash map: a fixed number of buckets (37 unless the owner asks for
// another count), each a chain of entries with the most recently added first.
//
// TKEY is the key as callers pass it; TSTOREDKEY is what an entry keeps (the
// string map keeps its own copy of the text). Values are whatever TVAL is: a
// plain pointer the owner frees, a number, or an NiRefPtr, in which case the
// map holds one reference per entry and lets it go on replace, remove and
// destruction.
//
// Keys hash as the key modulo the bucket count, read as unsigned; string-like
// keys with h = h * 33 + c over their bytes taken as signed 8-bit values. An
// owner with another rule derives and overrides KeyToHashIndex.
//
// Walking the map (range-for) visits bucket 0 upward, each chain from its head:
// files written from a map depend on that order.
template <class TKEY, class TVAL, class TSTOREDKEY = TKEY> class NiHashMap
{
public:
    struct Entry
    {
        TSTOREDKEY m_key;
        TVAL m_val;
        std::unique_ptr<Entry> m_spNext;
    };

    class Iterator;

    explicit NiHashMap(uint32_t uiHashSize = 37)
        // A map of no buckets would divide by zero on the first key.
        : m_uiHashSize(uiHashSize ? uiHashSize : 1), m_aspBuckets(m_uiHashSize)
    {
    }

    NiHashMap(const NiHashMap&) = delete;
    NiHashMap& operator=(const NiHashMap&) = delete;

    virtual ~NiHashMap() { RemoveAll(); }

    // Inserts, or replaces the value (and the stored key) of an equal key.
    void SetAt(TKEY key, TVAL val)
    {
        std::unique_ptr<Entry>& spHead = m_aspBuckets[KeyToHashIndex(key)];
        if (Entry* pEntry = FindInChain(spHead.get(), key))
        {
            // The new key copy is made before the old one goes, so a key that
            // points into the entry's own copy stays readable; the old value is
            // released only after the new one is held.
            TSTOREDKEY kStoredKey(key);
            pEntry->m_key = std::move(kStoredKey);
            [[maybe_unused]] TVAL kOldVal = std::exchange(pEntry->m_val, std::move(val));
            return;
        }
        auto spEntry = std::make_unique<Entry>(Entry{TSTOREDKEY(key), std::move(val), std::move(spHead)});
        spHead = std::move(spEntry);
        ++m_uiCount;
    }

    bool GetAt(TKEY key, TVAL& val) const
    {
        const Entry* pEntry = FindInChain(m_aspBuckets[KeyToHashIndex(key)].get(), key);
        if (!pEntry)
            return false;
        val = pEntry->m_val;
        return true;
    }

    // The stored value of the key, or null; valid until the entry is removed.
    TVAL* Find(TKEY key) { return FindValue(key); }
    const TVAL* Find(TKEY key) const { return FindValue(key); }

    bool Contains(TKEY key) const { return FindValue(key) != nullptr; }

    // Unlinks the first entry with an equal key; false when none matches.
    bool RemoveAt(TKEY key)
    {
        for (std::unique_ptr<Entry>* pspLink = &m_aspBuckets[KeyToHashIndex(key)]; *pspLink;
             pspLink = &(*pspLink)->m_spNext)
        {
            if (!IsKeysEqual((*pspLink)->m_key, key))
                continue;
            Unlink(*pspLink);
            return true;
        }
        return false;
    }

    // Empties every chain from its front. An entry is unlinked and counted out
    // before its value is released, so a destructor that reaches back into the
    // map finds it consistent.
    void RemoveAll()
    {
        for (std::unique_ptr<Entry>& spHead : m_aspBuckets)
        {
            while (spHead)
                Unlink(spHead);
        }
    }

    uint32_t GetCount() const { return m_uiCount; }
    bool IsEmpty() const { return m_uiCount == 0; }
    uint32_t GetHashSize() const { return m_uiHashSize; }

    Iterator begin() const { return Iterator(this, 0, nullptr).SkipEmptyBuckets(); }
    Iterator end() const { return Iterator(this, m_uiHashSize, nullptr); }

    // Visits the entries in bucket order; the map must not change meanwhile.
    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = const Entry*;
        using reference = const Entry&;

        Iterator() = default;

        const Entry& operator*() const { return *m_pEntry; }
        const Entry* operator->() const { return m_pEntry; }

        Iterator& operator++()
        {
            m_pEntry = m_pEntry->m_spNext.get();
            if (!m_pEntry)
            {
                ++m_uiBucket;
                SkipEmptyBuckets();
            }
            return *this;
        }

        Iterator operator++(int)
        {
            Iterator kBefore = *this;
            ++*this;
            return kBefore;
        }

        bool operator==(const Iterator& kOther) const
        {
            return m_uiBucket == kOther.m_uiBucket && m_pEntry == kOther.m_pEntry;
        }

    private:
        friend class NiHashMap;

        Iterator(const NiHashMap* pMap, uint32_t uiBucket, const Entry* pEntry)
            : m_pMap(pMap), m_uiBucket(uiBucket), m_pEntry(pEntry)
        {
        }

        Iterator& SkipEmptyBuckets()
        {
            for (; m_uiBucket < m_pMap->m_uiHashSize; ++m_uiBucket)
            {
                m_pEntry = m_pMap->m_aspBuckets[m_uiBucket].get();
                if (m_pEntry)
                    return *this;
            }
            m_pEntry = nullptr;
            return *this;
        }

        const NiHashMap* m_pMap = nullptr;
        uint32_t m_uiBucket = 0;
        const Entry* m_pEntry = nullptr;
    };

protected:
    virtual uint32_t KeyToHashIndex(TKEY key) const
    {
        if constexpr (std::is_enum_v<TKEY>)
            return static_cast<uint32_t>(
                static_cast<std::make_unsigned_t<std::underlying_type_t<TKEY>>>(key) % m_uiHashSize);
        else if constexpr (std::is_integral_v<TKEY>)
            return static_cast<uint32_t>(static_cast<std::make_unsigned_t<TKEY>>(key) % m_uiHashSize);
        else if constexpr (std::is_pointer_v<TKEY>)
            return static_cast<uint32_t>(reinterpret_cast<std::uintptr_t>(key) % m_uiHashSize);
        else
            return HashString(std::string_view(key)) % m_uiHashSize;
    }

    virtual bool IsKeysEqual(TKEY key1, TKEY key2) const { return key1 == key2; }

    // h = h * 33 + c from h = 0, each byte taken as a signed 8-bit value (so
    // bytes 0x80-0xFF subtract), in wrapping 32-bit arithmetic.
    static uint32_t HashString(std::string_view kText)
    {
        uint32_t uiHash = 0;
        for (char c : kText)
            uiHash = uiHash * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
        return uiHash;
    }

private:
    Entry* FindInChain(Entry* pEntry, TKEY key) const
    {
        for (; pEntry; pEntry = pEntry->m_spNext.get())
        {
            if (IsKeysEqual(pEntry->m_key, key))
                return pEntry;
        }
        return nullptr;
    }

    TVAL* FindValue(TKEY key) const
    {
        Entry* pEntry = FindInChain(m_aspBuckets[KeyToHashIndex(key)].get(), key);
        return pEntry ? &pEntry->m_val : nullptr;
    }

    // Takes the entry out of its chain and hands it back; it dies (releasing
    // what it holds) only once the map is consistent again.
    std::unique_ptr<Entry> Unlink(std::unique_ptr<Entry>& spLink)
    {
        std::unique_ptr<Entry> spEntry = std::move(spLink);
        spLink = std::move(spEntry->m_spNext);
        --m_uiCount;
        return spEntry;
    }

    uint32_t m_uiCount = 0;
    uint32_t m_uiHashSize;
    std::vector<std::unique_ptr<Entry>> m_aspBuckets;
};
