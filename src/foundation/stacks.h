#pragma once

#include "foundation/errors.h"
#include "foundation/object_list.h"

#include <cstdint>
#include <memory>

namespace corvid {

// A raw block of bytes whose size is set explicitly.
class TBuffer {
public:
    TBuffer() = default;
    TBuffer(const TBuffer&) = delete;
    TBuffer& operator=(const TBuffer&) = delete;
    virtual ~TBuffer() = default;

    // When true (the default) resizing keeps the old contents up to the smaller size;
    // when false the old block is dropped and a fresh one allocated.
    bool KeepContents = true;

    int Size() const { return BlockSize; }
    uint8_t* Data() { return Block.get(); }
    const uint8_t* Data() const { return Block.get(); }

    // A size of 0 or less frees the block.
    void SetBufferSize(int newSize);
    // Grows to newSize when the block is smaller; never shrinks.
    void EnsureSize(int newSize);

private:
    std::unique_ptr<uint8_t[]> Block;
    int BlockSize = 0;
};

// A byte stack on a fixed buffer: pushing beyond the buffer raises "Stack Overflow".
class TStack : public TBuffer {
public:
    int Top = 0; // offset of the first free byte

    virtual void Push(const void* source, int byteCount);
    virtual void Pop(void* destination, int byteCount);
    void Clear() { Top = 0; }
};

// A byte stack whose buffer grows to exactly the size a push needs.
class TDynamicStack : public TStack {
public:
    void Push(const void* source, int byteCount) override;
};

// A stack of objects that it does not own while they are stacked; objects still on the stack
// when it is destroyed are destroyed with it.
template <typename T>
class TObjectStack {
public:
    TObjectStack() { Items.OwnsObjects = false; }
    TObjectStack(const TObjectStack&) = delete;
    TObjectStack& operator=(const TObjectStack&) = delete;
    ~TObjectStack() { Items.OwnsObjects = true; }

    void Push(T* item) { Items.Add(item); }

    T* Pop() {
        if (Items.IsEmpty())
            throw Error("TObjectStack.Pop Stack Underflow");
        T* item = Items.Last();
        Items.Remove(Items.Count() - 1);
        return item;
    }

    T* Peek() const { return Items.IsEmpty() ? nullptr : Items.Last(); }
    int Count() const { return Items.Count(); }
    bool IsEmpty() const { return Items.IsEmpty(); }

private:
    TObjectList<T> Items;
};

} // namespace corvid
