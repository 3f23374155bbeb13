#pragma once

#include "scene/object/NiPooledList.h"

#include <cstdint>

class SKModelPropertyInstance;

// A list of property instances in insertion order, with a cursor for scripts to walk it:
// SKBeginIteration, then SKGetNext until it gives null (or SKDoneIterating is true). The list does
// not own its instances. Appending leaves the cursor where it is; removing the instance under the
// cursor moves the cursor on.
class SKModelPropertyList
{
public:
    using Items = NiPooledList<SKModelPropertyInstance*>;

    SKModelPropertyList() = default;
    // Scripts that hold the list's pointer string can use it no more.
    virtual ~SKModelPropertyList();
    SKModelPropertyList(const SKModelPropertyList&) = delete;
    SKModelPropertyList& operator=(const SKModelPropertyList&) = delete;

    void SKBeginIteration() { m_pkCursor = m_kItems.GetHeadPos(); }
    SKModelPropertyInstance* SKGetNext();
    bool SKDoneIterating() const { return m_pkCursor == nullptr; }
    int32_t SKGetNumItems() const { return m_kItems.GetCount(); }
    // Deletes a list its caller owns (a query result, a script's own list).
    virtual void SKDestroy() { delete this; }

    void AddInstance(SKModelPropertyInstance* pkInstance) { m_kItems.AddTail(pkInstance); }
    // Unlinks the first occurrence; false when the instance is not in the list.
    bool RemoveInstance(SKModelPropertyInstance* pkInstance);
    const Items& GetItems() const { return m_kItems; }

protected:
    Items m_kItems{2};

private:
    Items::Node* m_pkCursor = nullptr;
};
