#pragma once

#include "foundation/case_fold.h"
#include "foundation/errors.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// An ordered list of objects that owns them by default, grows in explicit steps, tells
// listeners about additions and deletions, and sorts and binary-searches itself.
//
// Capacity is the logical slot count that the growth rules give (it grows by exactly Delta
// when a full list takes another item); the memory behind it grows geometrically, so appending
// stays linear whatever Delta is. Not thread-safe.
template <typename T>
class TObjectList {
public:
    using Event = std::function<void(TObjectList& list, T* item)>;
    // Negative, zero or positive as the first item sorts before, with or after the second.
    using CompareEvent = std::function<int(T* a, T* b)>;

    // Growth step for a full list; 0 or less makes the next insertion into a full list fail.
    int Delta = 1;
    // When true, Delete, Clear, Shrink and destruction destroy the objects they drop.
    bool OwnsObjects = true;
    Event OnAdd;    // after an item is stored
    Event OnDelete; // before an item is removed
    CompareEvent OnCompare;

    TObjectList() = default;
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    // Owned items are destroyed without OnDelete seeing them.
    virtual ~TObjectList() { DestroyOwned(0); }

    virtual const char* ClassName() const { return "TObjectList"; }

    int Count() const { return static_cast<int>(Slots.size()); }
    int Capacity() const { return SlotCapacity; }
    bool IsEmpty() const { return Slots.empty(); }
    T* operator[](int index) const { return Slots[static_cast<size_t>(index)]; }
    T* Last() const { return Slots.back(); }
    auto begin() const { return Slots.begin(); }
    auto end() const { return Slots.end(); }

    T* Add(T* item) { return Insert(item, Count()); }

    // An index beyond Count appends.
    T* Insert(T* item, int index) {
        CORVID_ASSERT(index >= 0, Contract(".Insert", " Item out of Bounds!"));
        if (Count() >= SlotCapacity)
            Expand(Delta);
        CORVID_ASSERT(Count() < SlotCapacity, Contract(".Add", " ListSize Error!"));
        index = std::min(index, Count());
        Slots.insert(Slots.begin() + index, item);
        if (OnAdd)
            OnAdd(*this, item);
        return item;
    }

    void Delete(int index) {
        CORVID_ASSERT(index >= 0 && index < Count(), Contract(".Delete", " Item out of Bounds!"));
        T* item = Slots[static_cast<size_t>(index)];
        if (OnDelete)
            OnDelete(*this, item);
        Slots.erase(Slots.begin() + index);
        if (OwnsObjects)
            delete item;
    }

    // As Delete, but the item stays alive whatever OwnsObjects says.
    void Remove(int index) {
        const bool owns = OwnsObjects;
        OwnsObjects = false;
        try {
            Delete(index);
        } catch (...) {
            OwnsObjects = owns;
            throw;
        }
        OwnsObjects = owns;
    }

    void DeleteObject(T* item) {
        const int index = IndexOf(item);
        CORVID_ASSERT(index >= 0, Contract(".DeleteObject", " Object Not In List"));
        Delete(index);
    }

    void RemoveObject(T* item) {
        const int index = IndexOf(item);
        CORVID_ASSERT(index >= 0, Contract(".RemoveObject", " Object Not In List"));
        Remove(index);
    }

    int IndexOf(const T* item) const {
        const auto found = std::find(Slots.begin(), Slots.end(), item);
        return found == Slots.end() ? -1 : static_cast<int>(found - Slots.begin());
    }

    // Deletes from the last item to the first, so OnDelete sees every item in that order.
    void Clear() {
        for (int index = Count() - 1; index >= 0; --index)
            Delete(index);
    }

    void Swap(int i, int j) {
        CORVID_ASSERT(i >= 0 && i < Count() && j >= 0 && j < Count(),
                      Contract(".Swap", " Items Out Of Bounds"));
        std::swap(Slots[static_cast<size_t>(i)], Slots[static_cast<size_t>(j)]);
    }

    // Quicksort with Hoare's partition and the first item as pivot. Not stable: the order of
    // equal items follows exactly from these partition steps, and callers rely on it.
    void Sort() {
        if (OnCompare)
            QuickSort(0, Count() - 1);
    }

    // Binary search over a list sorted by an integer key; keyOf(const T*) gives an item's key.
    template <typename KeyOf>
    T* FindByKey(int key, KeyOf keyOf) const {
        return BinarySearch([&](const T* item) {
            const int itemKey = keyOf(item);
            return key < itemKey ? -1 : (key > itemKey ? 1 : 0);
        });
    }

    // Binary search over a list sorted by name, ASCII case folded to upper case;
    // nameOf(const T*) gives an item's name.
    template <typename NameOf>
    T* FindByName(std::string_view name, NameOf nameOf) const {
        return BinarySearch([&](const T* item) { return CompareText(name, nameOf(item)); });
    }

    void SetSize(int newCapacity) {
        CORVID_ASSERT(newCapacity >= 0, Contract(".SetSize", " Size<0 Error!"));
        if (newCapacity > SlotCapacity)
            Expand(newCapacity - SlotCapacity);
        else if (newCapacity < SlotCapacity)
            Shrink(SlotCapacity - newCapacity);
    }

    void Expand(int num) {
        CORVID_ASSERT(num >= 1, Contract(".Expand", " Num<=0 Error!"));
        SlotCapacity += num;
        if (static_cast<size_t>(SlotCapacity) > Slots.capacity())
            Slots.reserve(std::max(static_cast<size_t>(SlotCapacity), Slots.capacity() * 2));
    }

    // Drops the last num slots, destroying owned items in them; OnDelete is not called.
    void Shrink(int num) {
        CORVID_ASSERT(num >= 1, Contract(".Shrink", " Num<=0 Error!"));
        const int newCapacity = SlotCapacity - num;
        CORVID_ASSERT(newCapacity >= 0, Contract(".Shrink", " ListSize<0 Error!"));
        DestroyOwned(newCapacity);
        SlotCapacity = newCapacity;
        if (Slots.size() > static_cast<size_t>(newCapacity))
            Slots.resize(static_cast<size_t>(newCapacity));
        if (Slots.capacity() > 2 * static_cast<size_t>(newCapacity) + 16)
            Slots.shrink_to_fit();
    }

    void Pack() { SetSize(Count()); }

protected:
    std::string Contract(const char* method, const char* condition) const {
        return std::string(ClassName()) + method + condition;
    }

private:
    std::vector<T*> Slots; // exactly Count entries
    int SlotCapacity = 0;

    void DestroyOwned(int fromIndex) {
        if (!OwnsObjects)
            return;
        for (size_t index = static_cast<size_t>(fromIndex); index < Slots.size(); ++index) {
            delete Slots[index];
            Slots[index] = nullptr;
        }
    }

    int Compare(T* a, T* b) const { return OnCompare(a, b); }

    int Partition(int lo, int hi) {
        T* pivot = Slots[static_cast<size_t>(lo)];
        int i = lo - 1;
        int j = hi + 1;
        for (;;) {
            do {
                --j;
            } while (Compare(Slots[static_cast<size_t>(j)], pivot) > 0);
            do {
                ++i;
            } while (Compare(Slots[static_cast<size_t>(i)], pivot) < 0);
            if (j <= i)
                return j;
            std::swap(Slots[static_cast<size_t>(i)], Slots[static_cast<size_t>(j)]);
        }
    }

    // Recurses into the smaller part and loops over the larger one, so the depth stays
    // logarithmic; the partitions, and with them the order of equal items, are those of the
    // plain two-call recursion.
    void QuickSort(int lo, int hi) {
        while (hi > lo) {
            const int p = Partition(lo, hi);
            if (p - lo < hi - p) {
                QuickSort(lo, p);
                lo = p + 1;
            } else {
                QuickSort(p + 1, hi);
                hi = p;
            }
        }
    }

    // compareWithItem(item) is negative, zero or positive as the searched key is smaller than,
    // equal to or greater than the item's key.
    template <typename CompareWithItem>
    T* BinarySearch(CompareWithItem compareWithItem) const {
        int lo = 0;
        int hi = Count();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            const int order = compareWithItem(Slots[static_cast<size_t>(mid)]);
            if (order > 0) {
                if (mid == lo)
                    return nullptr;
                lo = mid;
            } else if (order == 0) {
                return Slots[static_cast<size_t>(mid)];
            } else {
                hi = mid;
            }
        }
        return nullptr;
    }
};

} // namespace corvid
