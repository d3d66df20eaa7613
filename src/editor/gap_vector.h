#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace corvid {

// A sequence with a movable gap: inserting or erasing near the previous change costs only the
// distance between the two places, so typing Enter in a million-line document does not move a
// million lines each time. Slots inside the gap hold default-constructed values.
template <typename T>
class TGapVector {
public:
    size_t size() const { return Slots.size() - GapLength(); }
    bool empty() const { return size() == 0; }

    T& operator[](size_t index) { return Slots[SlotOf(index)]; }
    const T& operator[](size_t index) const { return Slots[SlotOf(index)]; }

    T& Insert(size_t index, T value) {
        MoveGapTo(index);
        if (GapStart == GapEnd)
            Grow(Slots.size() + 1);
        T& slot = Slots[GapStart];
        slot = std::move(value);
        ++GapStart;
        return slot;
    }

    T& PushBack(T value) { return Insert(size(), std::move(value)); }

    // Erases count values from index on; the gap takes their fresh.
    void Erase(size_t index, size_t count = 1) {
        MoveGapTo(index);
        for (size_t slot = GapEnd; slot < GapEnd + count; ++slot)
            Slots[slot] = T();
        GapEnd += count;
    }

    void Clear() {
        Slots.clear();
        GapStart = GapEnd = 0;
    }

    // Takes the values as its whole content, with no gap.
    void Assign(std::vector<T>&& values) {
        Slots = std::move(values);
        GapStart = GapEnd = Slots.size();
    }

    void Reserve(size_t capacity) {
        if (capacity > Slots.size())
            Grow(capacity);
    }

    // Gives back what the gap holds beyond `room` fresh, which stay for the next insertions.
    void ShrinkToFit(size_t room = 0) {
        MoveGapTo(size());
        if (GapLength() <= room)
            return;
        std::vector<T> fresh(GapStart + room);
        std::move(Slots.begin(), Slots.begin() + static_cast<ptrdiff_t>(GapStart), fresh.begin());
        Slots = std::move(fresh);
        GapEnd = Slots.size();
    }

private:
    std::vector<T> Slots;
    size_t GapStart = 0;
    size_t GapEnd = 0;

    size_t GapLength() const { return GapEnd - GapStart; }
    size_t SlotOf(size_t index) const { return index < GapStart ? index : index + GapLength(); }

    void MoveGapTo(size_t index) {
        if (GapStart == GapEnd) {
            // No gap: nothing moves (moving values onto themselves would empty them).
            GapStart = GapEnd = index;
        } else if (index < GapStart) {
            std::move_backward(Slots.begin() + static_cast<ptrdiff_t>(index),
                               Slots.begin() + static_cast<ptrdiff_t>(GapStart),
                               Slots.begin() + static_cast<ptrdiff_t>(GapEnd));
            GapEnd -= GapStart - index;
            GapStart = index;
        } else if (index > GapStart) {
            const size_t distance = index - GapStart;
            std::move(Slots.begin() + static_cast<ptrdiff_t>(GapEnd),
                      Slots.begin() + static_cast<ptrdiff_t>(GapEnd + distance),
                      Slots.begin() + static_cast<ptrdiff_t>(GapStart));
            GapStart = index;
            GapEnd += distance;
        }
    }

    void Grow(size_t minimum) {
        const size_t capacity = std::max({minimum, 2 * Slots.size(), size_t{16}});
        std::vector<T> fresh(capacity);
        const size_t tail = Slots.size() - GapEnd;
        std::move(Slots.begin(), Slots.begin() + static_cast<ptrdiff_t>(GapStart), fresh.begin());
        std::move(Slots.begin() + static_cast<ptrdiff_t>(GapEnd), Slots.end(),
                  fresh.end() - static_cast<ptrdiff_t>(tail));
        GapEnd = capacity - tail;
        Slots = std::move(fresh);
    }
};

} // namespace corvid
