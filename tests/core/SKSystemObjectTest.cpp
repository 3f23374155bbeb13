#include "core/SKSystemObject.h"
#include "tests/core/RecordingSystemObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using RecordingObject = RecordingSystemObject;

// The recording objects in list order (other tests' system objects may share the list).
std::vector<std::string> ListOrder()
{
    std::vector<std::string> names;
    for (SKSystemObject* object = SKSystemObject::GetFirst(); object; object = object->GetNext())
        if (auto* recording = dynamic_cast<RecordingObject*>(object))
            names.push_back(recording->GetName());
    return names;
}

// Walks the list backwards too, so that a broken previous link shows.
void ExpectConsistentLinks()
{
    std::vector<SKSystemObject*> forward;
    for (SKSystemObject* object = SKSystemObject::GetFirst(); object; object = object->GetNext())
        forward.push_back(object);
    std::vector<SKSystemObject*> backward;
    for (SKSystemObject* object = SKSystemObject::GetLast(); object; object = object->GetPrevious())
        backward.insert(backward.begin(), object);
    EXPECT_EQ(forward, backward);
}

class SKSystemObjectTest : public testing::Test
{
protected:
    void SetUp() override { RecordingObject::Log().clear(); }
};

TEST_F(SKSystemObjectTest, ListIsDescendingAndStableForEqualPriorities)
{
    RecordingObject a("a", 5);
    RecordingObject b("b", 9);
    RecordingObject c("c", 5);
    RecordingObject d("d", 9);
    RecordingObject top("top", 0xFFFFFFFFu); // compares unsigned: first
    RecordingObject zero("zero", 0);

    InitAllSystemObjects();
    EXPECT_EQ(RecordingObject::Log(),
              (std::vector<std::string>{"top.Init", "b.Init", "d.Init", "a.Init", "c.Init", "zero.Init"}));
    ExpectConsistentLinks();
}

TEST_F(SKSystemObjectTest, DestroyingObjectsRelinksNeighbours)
{
    bool bListWasEmpty = SKSystemObject::GetFirst() == nullptr;
    auto first = std::make_unique<RecordingObject>("first", 3);
    auto middle = std::make_unique<RecordingObject>("middle", 2);
    auto last = std::make_unique<RecordingObject>("last", 1);

    SKSystemObject* before = SKSystemObject::GetFirst() == first.get() ? nullptr : first->GetPrevious();
    middle.reset();
    EXPECT_EQ(ListOrder(), (std::vector<std::string>{"first", "last"}));
    EXPECT_EQ(first->GetNext(), last.get());
    EXPECT_EQ(last->GetPrevious(), first.get());
    ExpectConsistentLinks();
    first.reset();
    EXPECT_EQ(last->GetPrevious(), before);
    ExpectConsistentLinks();
    last.reset();
    EXPECT_EQ(ListOrder(), std::vector<std::string>{});
    ExpectConsistentLinks();
    if (bListWasEmpty)
    {
        EXPECT_EQ(SKSystemObject::GetFirst(), nullptr);
        EXPECT_EQ(SKSystemObject::GetLast(), nullptr);
    }
}

TEST_F(SKSystemObjectTest, WalkersRunEachPhaseOverTheWholeListInItsDirection)
{
    RecordingObject low("low", 1);
    RecordingObject high("high", 2);

    InitAllSystemObjects();
    PostInitAllSystemObjects();
    SKSystemObject::ForwardPhaseAll();
    ReleaseAllSystemObjects();
    ShutdownAllSystemObjects();
    SKSystemObject::ReversePhaseAll();
    SKSystemObject::ReversePhaseWithArgumentAll(7);
    SKSystemObject::WalkForward(&SKSystemObject::ReversePhaseWithArgument, 1);
    SKSystemObject::WalkBackward(&SKSystemObject::ReversePhaseWithArgument, 2);

    const std::vector<std::string> expected = {
        "high.Init",     "low.Init",        "high.PostInit",    "low.PostInit", "high.Forward",
        "low.Forward",   "low.PreShutdown", "high.PreShutdown", "low.Release",  "high.Release",
        "low.Shutdown",  "high.Shutdown",   "low.Reverse",      "high.Reverse", "low.Reverse7",
        "high.Reverse7", "high.Reverse1",   "low.Reverse1",     "low.Reverse2", "high.Reverse2",
    };
    EXPECT_EQ(RecordingObject::Log(), expected);
}

} // namespace
