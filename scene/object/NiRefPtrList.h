#pragma once

#include "scene/object/NiPtrList.h"
#include "scene/object/NiRefPtr.h"

// The inline-first-node list of counted references: the list holds one
// reference per item, released when the item is removed or the list dies.
template <class T> class NiRefPtrList : public NiPtrList<T, NiRefPtr<T>>
{
public:
    using Node = typename NiPtrList<T, NiRefPtr<T>>::Node;

    // A new counted reference to the node's item.
    static NiRefPtr<T> GetItem(const Node& kNode) { return kNode.m_item; }
};
