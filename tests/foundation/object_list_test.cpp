#include "foundation/group_list.h"
#include "foundation/object_list.h"
#include "foundation/stacks.h"

#include <gtest/gtest.h>

#include <functional>
#include <pthread.h>
#include <random>
#include <string>
#include <vector>

namespace corvid {
namespace {

// An item that records its destruction in a shared log.
struct Tracked {
    Tracked(int key, std::vector<int>* destroyed) : Key(key), Destroyed(destroyed) {}
    ~Tracked() {
        if (Destroyed)
            Destroyed->push_back(Key);
    }
    int Key;
    std::string Name;
    std::vector<int>* Destroyed;
};

struct ObjectListTest : ::testing::Test {
    std::vector<int> destroyed;
    TObjectList<Tracked> list;

    Tracked* Make(int key) { return new Tracked(key, &destroyed); }
    void Fill(std::initializer_list<int> keys) {
        for (int key : keys)
            list.Add(Make(key));
    }
    std::vector<int> Keys() const {
        std::vector<int> keys;
        for (Tracked* item : list)
            keys.push_back(item->Key);
        return keys;
    }
};

std::string AssertionText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EAssertionFailed& failure) {
        return failure.what();
    }
    return "no assertion";
}

TEST_F(ObjectListTest, ContractViolationsNameClassMethodAndSourceLine) {
    Fill({1, 2});
    Tracked stranger(9, nullptr);
    const struct {
        const char* what;
        std::function<void()> action;
        std::string expected;
    } cases[] = {
        {"swap", [&] { list.Swap(0, 2); }, "TObjectList.Swap Items Out Of Bounds"},
        {"delete", [&] { list.Delete(-1); }, "TObjectList.Delete Item out of Bounds!"},
        {"remove", [&] { list.Remove(2); }, "TObjectList.Delete Item out of Bounds!"},
        {"delete object", [&] { list.DeleteObject(&stranger); },
         "TObjectList.DeleteObject Object Not In List"},
        {"remove object", [&] { list.RemoveObject(&stranger); },
         "TObjectList.RemoveObject Object Not In List"},
        {"insert", [&] { list.Insert(&stranger, -1); }, "TObjectList.Insert Item out of Bounds!"},
        {"set size", [&] { list.SetSize(-1); }, "TObjectList.SetSize Size<0 Error!"},
        {"expand", [&] { list.Expand(0); }, "TObjectList.Expand Num<=0 Error!"},
        {"shrink num", [&] { list.Shrink(0); }, "TObjectList.Shrink Num<=0 Error!"},
        {"shrink below zero", [&] { list.Shrink(list.Capacity() + 1); },
         "TObjectList.Shrink ListSize<0 Error!"},
    };
    for (const auto& c : cases) {
        const std::string text = AssertionText(c.action);
        EXPECT_EQ(text.rfind(c.expected + " (src/foundation/object_list.h, line ", 0), 0u)
            << c.what << ": " << text;
        EXPECT_EQ(text.back(), ')') << c.what;
    }
    EXPECT_EQ(Keys(), (std::vector<int>{1, 2}));
}

TEST_F(ObjectListTest, InsertBeyondCountAppendsAndEventsSeeItems) {
    std::vector<int> added;
    list.OnAdd = [&](TObjectList<Tracked>& l, Tracked* item) {
        EXPECT_EQ(&l, &list);
        EXPECT_EQ(l.IndexOf(item) >= 0, true);
        added.push_back(item->Key);
    };
    Fill({1, 2});
    list.Insert(Make(3), 99);
    list.Insert(Make(0), 0);
    EXPECT_EQ(Keys(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(added, (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(ObjectListTest, GrowthFollowsDelta) {
    for (int i = 0; i < 5; ++i) {
        list.Add(Make(i));
        EXPECT_EQ(list.Capacity(), i + 1);
    }
    TObjectList<Tracked> big;
    big.Delta = 1000;
    big.Add(Make(1));
    EXPECT_EQ(big.Capacity(), 1000);

    TObjectList<Tracked> stuck;
    stuck.Delta = 0;
    EXPECT_NE(AssertionText([&] { stuck.Add(nullptr); }).find("TObjectList.Expand Num<=0 Error!"),
              std::string::npos);
    EXPECT_EQ(stuck.Count(), 0);
}

TEST_F(ObjectListTest, DeleteDestroysAfterOnDeleteRemoveKeepsAlive) {
    Fill({1, 2, 3, 4});
    std::vector<int> seen;
    list.OnDelete = [&](TObjectList<Tracked>&, Tracked* item) {
        EXPECT_TRUE(destroyed.empty() || destroyed.back() != item->Key);
        seen.push_back(item->Key);
    };
    Tracked* second = list[1];
    list.Remove(1);
    list.RemoveObject(list[0]);
    EXPECT_TRUE(destroyed.empty());
    EXPECT_TRUE(list.OwnsObjects);
    list.Delete(0);
    EXPECT_EQ(destroyed, (std::vector<int>{3}));
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 3}));
    delete second;
}

TEST_F(ObjectListTest, ClearDeletesFromLastToFirst) {
    Fill({1, 2, 3});
    std::vector<int> seen;
    list.OnDelete = [&](TObjectList<Tracked>&, Tracked* item) { seen.push_back(item->Key); };
    list.Clear();
    EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(destroyed, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ObjectListTest, DestructionDestroysOwnedItemsWithoutOnDelete) {
    std::vector<int> seen;
    {
        TObjectList<Tracked> owning;
        owning.OnDelete = [&](TObjectList<Tracked>&, Tracked* item) { seen.push_back(item->Key); };
        owning.Add(Make(1));
        owning.Add(Make(2));
    }
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(destroyed.size(), 2u);
}

TEST_F(ObjectListTest, ShrinkDestroysDroppedSlotsAndPackTrims) {
    list.Delta = 10;
    Fill({1, 2, 3, 4});
    EXPECT_EQ(list.Capacity(), 10);
    list.Pack();
    EXPECT_EQ(list.Capacity(), 4);
    list.Shrink(2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(destroyed, (std::vector<int>{3, 4}));
    list.SetSize(6);
    EXPECT_EQ(list.Capacity(), 6);
    EXPECT_EQ(Keys(), (std::vector<int>{1, 2}));
}

TEST_F(ObjectListTest, SortWithoutCompareKeepsOrder) {
    Fill({3, 1, 2});
    list.Sort();
    EXPECT_EQ(Keys(), (std::vector<int>{3, 1, 2}));
}

// The plain two-call recursion, as a reference for the order of equal items.
void ReferenceQuickSort(std::vector<std::pair<int, int>>& items, int lo, int hi) {
    if (hi <= lo)
        return;
    const int pivot = items[lo].first;
    int i = lo - 1;
    int j = hi + 1;
    int p;
    for (;;) {
        do
            --j;
        while (items[j].first > pivot);
        do
            ++i;
        while (items[i].first < pivot);
        if (j <= i) {
            p = j;
            break;
        }
        std::swap(items[i], items[j]);
    }
    ReferenceQuickSort(items, lo, p);
    ReferenceQuickSort(items, p + 1, hi);
}

TEST_F(ObjectListTest, SortOrdersEqualKeysExactlyAsPlainQuicksort) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        TObjectList<Tracked> items;
        std::vector<std::pair<int, int>> reference;
        const int count = static_cast<int>(random() % 200);
        for (int id = 0; id < count; ++id) {
            const int key = static_cast<int>(random() % 6);
            auto* item = new Tracked(key, nullptr);
            item->Name = std::to_string(id);
            items.Add(item);
            reference.emplace_back(key, id);
        }
        items.OnCompare = [](Tracked* a, Tracked* b) { return a->Key - b->Key; };
        items.Sort();
        ReferenceQuickSort(reference, 0, count - 1);
        for (int index = 0; index < count; ++index)
            ASSERT_EQ(items[index]->Name, std::to_string(reference[index].second)) << round;
    }
}

// Reverse-sorted input is the worst case of the first-item pivot: the plain recursion would nest
// once per two items. The sort runs on a thread with a small stack that such nesting overflows.
TEST_F(ObjectListTest, SortOfReversedListStaysShallow) {
    const int count = 6000;
    for (int i = count - 1; i >= 0; --i)
        list.Add(new Tracked(i, nullptr));
    list.OnCompare = [](Tracked* a, Tracked* b) { return a->Key < b->Key ? -1 : a->Key > b->Key; };
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_t thread;
    auto sort = [](void* target) -> void* {
        static_cast<TObjectList<Tracked>*>(target)->Sort();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, sort, &list), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(list[i]->Key, i);
}

TEST_F(ObjectListTest, FindByKey) {
    const auto keyOf = [](const Tracked* item) { return item->Key; };
    EXPECT_EQ(list.FindByKey(1, keyOf), nullptr);
    Fill({5});
    EXPECT_EQ(list.FindByKey(5, keyOf), list[0]);
    EXPECT_EQ(list.FindByKey(4, keyOf), nullptr);
    EXPECT_EQ(list.FindByKey(6, keyOf), nullptr);
    list.Clear();
    Fill({-2147483647 - 1, -3, 0, 7, 9, 2147483647});
    for (Tracked* item : list)
        EXPECT_EQ(list.FindByKey(item->Key, keyOf), item) << item->Key;
    EXPECT_EQ(list.FindByKey(8, keyOf), nullptr);
}

TEST_F(ObjectListTest, FindByNameFoldsToUpperCase) {
    // Upper-case folding puts '_' after the letters; a lower-case fold would put it before.
    for (const char* name : {"ALPHA", "Beta", "zeta", "Z_A"}) {
        auto* item = Make(0);
        item->Name = name;
        list.Add(item);
    }
    const auto nameOf = [](const Tracked* item) -> const std::string& { return item->Name; };
    EXPECT_EQ(list.FindByName("alpha", nameOf), list[0]);
    EXPECT_EQ(list.FindByName("BETA", nameOf), list[1]);
    EXPECT_EQ(list.FindByName("z_a", nameOf), list[3]);
    EXPECT_EQ(list.FindByName("gamma", nameOf), nullptr);
}

TEST(StackTest, PushAndPopCheckTheirBounds) {
    TStack stack;
    stack.SetBufferSize(4);
    const char bytes[] = "abcde";
    stack.Push(bytes, 3);
    try {
        stack.Push(bytes, 2);
        FAIL() << "overflow not raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Stack Overflow");
    }
    EXPECT_EQ(stack.Top, 3);
    char out[4] = {};
    try {
        stack.Pop(out, 4);
        FAIL() << "underflow not raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Stack Underflow");
    }
    EXPECT_EQ(stack.Top, 3);
    stack.Pop(out, 2);
    EXPECT_EQ(std::string(out, 2), "bc");
    EXPECT_EQ(stack.Top, 1);
}

TEST(StackTest, DynamicStackGrowsToExactlyTheNeededSizeKeepingContents) {
    TDynamicStack stack;
    stack.Push("abc", 3);
    EXPECT_EQ(stack.Size(), 3);
    stack.Push("de", 2);
    EXPECT_EQ(stack.Size(), 5);
    char out[5];
    stack.Pop(out, 5);
    EXPECT_EQ(std::string(out, 5), "abcde");
}

TEST(StackTest, BufferResizeKeepsOrDropsContents) {
    TBuffer buffer;
    buffer.SetBufferSize(3);
    buffer.Data()[0] = 'x';
    buffer.SetBufferSize(8);
    EXPECT_EQ(buffer.Data()[0], 'x');
    buffer.EnsureSize(2);
    EXPECT_EQ(buffer.Size(), 8);
    buffer.SetBufferSize(0);
    EXPECT_EQ(buffer.Data(), nullptr);
}

TEST(ObjectStackTest, PopsLastWithoutDestroyingAndDestroysTheRest) {
    std::vector<int> destroyed;
    auto* kept = new Tracked(1, &destroyed);
    {
        TObjectStack<Tracked> stack;
        stack.Push(kept);
        stack.Push(new Tracked(2, &destroyed));
        stack.Push(new Tracked(3, &destroyed));
        Tracked* top = stack.Pop();
        EXPECT_EQ(top->Key, 3);
        EXPECT_TRUE(destroyed.empty());
        delete top;
        destroyed.clear();
    }
    EXPECT_EQ(destroyed.size(), 2u);
    TObjectStack<Tracked> empty;
    try {
        empty.Pop();
        FAIL() << "underflow not raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "TObjectStack.Pop Stack Underflow");
    }
}

TEST(GroupListTest, NextWalksSiblingsThenOwnersSiblings) {
    TGroupList root("Root", nullptr);
    auto* first = new TGroupList("first", &root);
    auto* second = new TGroupItem("second", &root, 2);
    root.Children.Add(first);
    root.Children.Add(second);
    auto* inner = new TGroupItem("inner", first, 1);
    first->Children.Add(inner);
    EXPECT_EQ(inner->Next(), second);
    EXPECT_EQ(first->Next(), second);
    EXPECT_EQ(second->Next(), nullptr);
    EXPECT_EQ(root.Next(), nullptr);
}

} // namespace
} // namespace corvid
