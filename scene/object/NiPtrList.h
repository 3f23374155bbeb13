#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>

// A singly linked list whose first node lives inside the owner, so a list of
// one item allocates nothing. Items are plain pointers to T (TITEM = T*), or
// counted references in NiRefPtrList. The inline node is empty only when the
// list is; the newest item is always first.
//
// Range-for visits the items from the first.
template <class T, class TITEM = T*> class NiPtrList
{
public:
    struct Node
    {
        TITEM m_item{};
        std::unique_ptr<Node> m_spNext;
    };

    class Iterator;

    NiPtrList() = default;
    ~NiPtrList() { RemoveAll(); }

    NiPtrList(const NiPtrList&) = delete;
    NiPtrList& operator=(const NiPtrList&) = delete;

    // Makes the item first; the former first item moves to a new second node.
    // A null item does nothing.
    void AddHead(TITEM item)
    {
        if (!item)
            return;
        if (m_kFirst.m_item)
        {
            auto spSecond = std::make_unique<Node>();
            spSecond->m_item = std::move(m_kFirst.m_item);
            spSecond->m_spNext = std::move(m_kFirst.m_spNext);
            m_kFirst.m_spNext = std::move(spSecond);
        }
        m_kFirst.m_item = std::move(item);
    }

    bool Contains(const T* pItem) const
    {
        for (const TITEM& item : *this)
        {
            if (item == pItem)
                return true;
        }
        return false;
    }

    // The number of nodes holding an item.
    uint32_t Count() const
    {
        uint32_t uiCount = 0;
        for ([[maybe_unused]] const TITEM& item : *this)
            ++uiCount;
        return uiCount;
    }

    bool IsEmpty() const { return !m_kFirst.m_item; }

    // Removes the first node holding the item. When that is the inline node, the
    // second node's item and link move into it. False when no node holds it.
    bool Remove(const T* pItem)
    {
        if (!pItem)
            return false;
        if (m_kFirst.m_item == pItem)
        {
            [[maybe_unused]] TITEM removed = std::exchange(m_kFirst.m_item, TITEM{});
            if (std::unique_ptr<Node> spSecond = std::move(m_kFirst.m_spNext))
            {
                m_kFirst.m_item = std::move(spSecond->m_item);
                m_kFirst.m_spNext = std::move(spSecond->m_spNext);
            }
            return true;
        }
        for (Node* pPrev = &m_kFirst; pPrev->m_spNext; pPrev = pPrev->m_spNext.get())
        {
            if (pPrev->m_spNext->m_item != pItem)
                continue;
            std::unique_ptr<Node> spNode = std::move(pPrev->m_spNext);
            pPrev->m_spNext = std::move(spNode->m_spNext);
            return true;
        }
        return false;
    }

    // Empties the list; the items are let go only after it is empty, so an
    // item's destructor that looks at the list finds it consistent.
    void RemoveAll()
    {
        [[maybe_unused]] TITEM first = std::exchange(m_kFirst.m_item, TITEM{});
        std::unique_ptr<Node> spNode = std::move(m_kFirst.m_spNext);
        while (spNode)
            spNode = std::move(spNode->m_spNext);
    }

    // The inline first node (its item is null in an empty list).
    const Node& GetHead() const { return m_kFirst; }

    Iterator begin() const { return Iterator(m_kFirst.m_item ? &m_kFirst : nullptr); }
    Iterator end() const { return Iterator(nullptr); }

    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TITEM;
        using difference_type = std::ptrdiff_t;
        using pointer = const TITEM*;
        using reference = const TITEM&;

        Iterator() = default;
        explicit Iterator(const Node* pNode) : m_pNode(pNode) {}

        const TITEM& operator*() const { return m_pNode->m_item; }
        const TITEM* operator->() const { return &m_pNode->m_item; }
        Iterator& operator++()
        {
            m_pNode = m_pNode->m_spNext.get();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator kBefore = *this;
            ++*this;
            return kBefore;
        }
        bool operator==(const Iterator& kOther) const { return m_pNode == kOther.m_pNode; }

    private:
        const Node* m_pNode = nullptr;
    };

private:
    Node m_kFirst;
};
