#include "foundation/stacks.h"

#include <algorithm>
#include <cstring>

namespace corvid {

void TBuffer::SetBufferSize(int newSize) {
    if (newSize <= 0) {
        Block.reset();
        BlockSize = 0;
        return;
    }
    auto fresh = std::make_unique<uint8_t[]>(static_cast<size_t>(newSize));
    if (KeepContents && Block)
        std::memcpy(fresh.get(), Block.get(), static_cast<size_t>(std::min(newSize, BlockSize)));
    Block = std::move(fresh);
    BlockSize = newSize;
}

void TBuffer::EnsureSize(int newSize) {
    if (newSize > BlockSize)
        SetBufferSize(newSize);
}

void TStack::Push(const void* source, int byteCount) {
    if (byteCount < 0 || byteCount > Size() - Top)
        throw Error("Stack Overflow");
    if (byteCount > 0)
        std::memcpy(Data() + Top, source, static_cast<size_t>(byteCount));
    Top += byteCount;
}

void TStack::Pop(void* destination, int byteCount) {
    if (byteCount < 0 || byteCount > Top)
        throw Error("Stack Underflow");
    Top -= byteCount;
    if (byteCount > 0)
        std::memcpy(destination, Data() + Top, static_cast<size_t>(byteCount));
}

void TDynamicStack::Push(const void* source, int byteCount) {
    if (byteCount > 0)
        EnsureSize(Top + byteCount);
    TStack::Push(source, byteCount);
}

} // namespace corvid
