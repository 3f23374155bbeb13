#pragma once

#include "scene/object/NiRefPtr.h"

#include <cstdint>

#include <gtest/gtest.h>

// A small counted class for the container tests: a count that DecRef takes to
// 0 deletes the item, and a process-wide live count shows leaks and early
// deletes.
class CountedItem
{
public:
    explicit CountedItem(int32_t iTag = 0) : m_iTag(iTag) { ++ms_iLiveCount; }
    virtual ~CountedItem() { --ms_iLiveCount; }

    CountedItem(const CountedItem&) = delete;
    CountedItem& operator=(const CountedItem&) = delete;

    void IncRef() { ++m_iRefCount; }
    int32_t DecRef()
    {
        if (--m_iRefCount != 0)
            return m_iRefCount;
        delete this;
        return 0;
    }

    int32_t GetRefCount() const { return m_iRefCount; }
    int32_t GetTag() const { return m_iTag; }

    static inline int32_t ms_iLiveCount = 0;

    // Another item this one holds, for chains whose only path to an object
    // runs through the object being let go.
    NiRefPtr<CountedItem> m_spNext;

private:
    int32_t m_iRefCount = 0;
    int32_t m_iTag;
};

// A fixture that fails a test which leaves counted items alive or deletes
// more than it made.
class LeakCheckedTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ(CountedItem::ms_iLiveCount, m_iLiveAtStart) << "counted items leaked";
    }

    // Items made by this test that are still alive.
    int32_t Live() const { return CountedItem::ms_iLiveCount - m_iLiveAtStart; }

private:
    int32_t m_iLiveAtStart = CountedItem::ms_iLiveCount;
};
