#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

// A doubly linked list whose nodes come from blocks of grow-by nodes and are
// recycled through a free-node list, so a list filled and emptied every frame
// touches the heap only while it grows. Blocks stay until the list is emptied
// with RemoveAll or destroyed.
//
// Items are usually plain pointers the list does not own; an NiRefPtr item is
// held while it is in the list.
//
// A position is a Node*; walk with m_pNext from GetHeadPos(), or range-for over
// the items from head to tail.
template <class T> class NiPooledList
{
public:
    struct Node
    {
        T m_item{};
        Node* m_pNext = nullptr;
        Node* m_pPrev = nullptr;
    };

    template <class TITEM, class TNODE> class BasicIterator;
    using Iterator = BasicIterator<T, Node>;
    using ConstIterator = BasicIterator<const T, const Node>;

    explicit NiPooledList(uint32_t uiGrowBy = 2) : m_uiGrowBy(uiGrowBy ? uiGrowBy : 1) {}

    ~NiPooledList() { RemoveAll(); }

    NiPooledList(const NiPooledList&) = delete;
    NiPooledList& operator=(const NiPooledList&) = delete;

    int32_t GetCount() const { return m_iCount; }
    bool IsEmpty() const { return m_iCount == 0; }
    Node* GetHeadPos() const { return m_pHead; }
    Node* GetTailPos() const { return m_pTail; }

    void AddTail(T item)
    {
        Node* pNode = AllocateNode();
        pNode->m_item = std::move(item);
        pNode->m_pPrev = m_pTail;
        (m_pTail ? m_pTail->m_pNext : m_pHead) = pNode;
        m_pTail = pNode;
        ++m_iCount;
    }

    void AddHead(T item)
    {
        Node* pNode = AllocateNode();
        pNode->m_item = std::move(item);
        pNode->m_pNext = m_pHead;
        (m_pHead ? m_pHead->m_pPrev : m_pTail) = pNode;
        m_pHead = pNode;
        ++m_iCount;
    }

    // Each Remove hands the item back and returns the node to the free list;
    // an empty list gives an empty item.
    T RemoveHead() { return m_pHead ? RemovePos(m_pHead) : T{}; }
    T RemoveTail() { return m_pTail ? RemovePos(m_pTail) : T{}; }

    // Unlinks a node of this list (first, last or in between).
    T RemovePos(Node* pNode)
    {
        (pNode->m_pPrev ? pNode->m_pPrev->m_pNext : m_pHead) = pNode->m_pNext;
        (pNode->m_pNext ? pNode->m_pNext->m_pPrev : m_pTail) = pNode->m_pPrev;
        T item = std::exchange(pNode->m_item, T{});
        pNode->m_pPrev = nullptr;
        pNode->m_pNext = m_pFreeNodes;
        m_pFreeNodes = pNode;
        --m_iCount;
        return item;
    }

    // Removes the first node holding the item; false when none does.
    bool Remove(const T& item)
    {
        Node* pNode = FindPos(item);
        if (!pNode)
            return false;
        RemovePos(pNode);
        return true;
    }

    // The first node from the head holding the item, or null.
    Node* FindPos(const T& item) const
    {
        for (Node* pNode = m_pHead; pNode; pNode = pNode->m_pNext)
        {
            if (pNode->m_item == item)
                return pNode;
        }
        return nullptr;
    }

    bool Contains(const T& item) const { return FindPos(item) != nullptr; }

    // Frees every block and zeroes the fields; the list is as new.
    void RemoveAll()
    {
        std::vector<std::unique_ptr<Node[]>> aspBlocks = std::move(m_aspBlocks);
        m_aspBlocks.clear();
        m_pHead = m_pTail = m_pFreeNodes = nullptr;
        m_iCount = 0;
    }

    Iterator begin() { return Iterator(m_pHead); }
    Iterator end() { return Iterator(nullptr); }
    ConstIterator begin() const { return ConstIterator(m_pHead); }
    ConstIterator end() const { return ConstIterator(nullptr); }

    template <class TITEM, class TNODE> class BasicIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<TITEM>;
        using difference_type = std::ptrdiff_t;
        using pointer = TITEM*;
        using reference = TITEM&;

        BasicIterator() = default;
        explicit BasicIterator(TNODE* pNode) : m_pNode(pNode) {}

        TITEM& operator*() const { return m_pNode->m_item; }
        TITEM* operator->() const { return &m_pNode->m_item; }
        BasicIterator& operator++()
        {
            m_pNode = m_pNode->m_pNext;
            return *this;
        }
        BasicIterator operator++(int)
        {
            BasicIterator kBefore = *this;
            m_pNode = m_pNode->m_pNext;
            return kBefore;
        }
        bool operator==(const BasicIterator& kOther) const { return m_pNode == kOther.m_pNode; }

    private:
        TNODE* m_pNode = nullptr;
    };

private:
    // Takes the first free node; with none, a new block of grow-by nodes,
    // chained in order, becomes the free list.
    Node* AllocateNode()
    {
        if (!m_pFreeNodes)
        {
            auto aNodes = std::make_unique<Node[]>(m_uiGrowBy);
            for (uint32_t i = 0; i + 1 < m_uiGrowBy; ++i)
                aNodes[i].m_pNext = &aNodes[i + 1];
            m_aspBlocks.push_back(std::move(aNodes));
            m_pFreeNodes = m_aspBlocks.back().get();
        }
        Node* pNode = m_pFreeNodes;
        m_pFreeNodes = pNode->m_pNext;
        pNode->m_pNext = nullptr;
        return pNode;
    }

    int32_t m_iCount = 0;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    Node* m_pFreeNodes = nullptr;
    std::vector<std::unique_ptr<Node[]>> m_aspBlocks;
    uint32_t m_uiGrowBy;
};
