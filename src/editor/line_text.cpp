#include "editor/line_text.h"

#include "foundation/errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace corvid {

namespace {

constexpr size_t MaximumLength = std::numeric_limits<uint32_t>::max() / 2;

} // namespace

TLineText& TLineText::operator=(const TLineText& other) {
    if (this != &other)
        Assign(other.View());
    return *this;
}

TLineText& TLineText::operator=(TLineText&& other) noexcept {
    if (this != &other) {
        Release();
        Data = other.Data;
        Length = other.Length;
        Capacity = other.Capacity;
        other.Data = "";
        other.Length = 0;
        other.Capacity = 0;
    }
    return *this;
}

TLineText TLineText::Borrowed(std::string_view bytes) {
    CORVID_ASSERT(bytes.size() <= MaximumLength, "TLineText.Borrowed Line Too Long");
    TLineText line;
    line.Data = bytes.data();
    line.Length = static_cast<uint32_t>(bytes.size());
    return line;
}

void TLineText::Release() noexcept {
    if (Capacity > 0)
        delete[] Owned();
    Data = "";
    Length = 0;
    Capacity = 0;
}

void TLineText::Reserve(size_t length) {
    if (Capacity > 0 && length <= Capacity)
        return;
    if (length > MaximumLength)
        throw std::bad_alloc();
    const size_t capacity = std::max<size_t>({length, 2 * static_cast<size_t>(Capacity), 16});
    char* block = new char[capacity];
    std::memcpy(block, Data, Length);
    if (Capacity > 0)
        delete[] Owned();
    Data = block;
    Capacity = static_cast<uint32_t>(capacity);
}

void TLineText::Assign(std::string_view text) {
    if (text.empty()) {
        Truncate(0);
        return;
    }
    if (Capacity == 0 || text.size() > Capacity) {
        Release();
        Reserve(text.size());
    }
    std::memmove(Owned(), text.data(), text.size());
    Length = static_cast<uint32_t>(text.size());
}

void TLineText::Insert(size_t position, std::string_view text) {
    if (text.empty())
        return;
    position = std::min<size_t>(position, Length);
    const std::string copy(text); // text may view these very bytes
    Reserve(Length + copy.size());
    char* bytes = Owned();
    std::memmove(bytes + position + copy.size(), bytes + position, Length - position);
    std::memcpy(bytes + position, copy.data(), copy.size());
    Length += static_cast<uint32_t>(copy.size());
}

void TLineText::Erase(size_t position, size_t count) {
    if (position >= Length || count == 0)
        return;
    count = std::min<size_t>(count, Length - position);
    if (position + count == Length) {
        Truncate(position);
        return;
    }
    Reserve(Length);
    char* bytes = Owned();
    std::memmove(bytes + position, bytes + position + count, Length - position - count);
    Length -= static_cast<uint32_t>(count);
}

void TLineText::Truncate(size_t length) {
    if (length >= Length)
        return;
    Length = static_cast<uint32_t>(length);
    if (Length == 0 && Capacity == 0)
        Data = "";
}

void TLineText::PadTo(size_t length) {
    if (length <= Length)
        return;
    Reserve(length);
    std::memset(Owned() + Length, ' ', length - Length);
    Length = static_cast<uint32_t>(length);
}

size_t TLineText::TrimTrailingBlanks() {
    size_t length = Length;
    while (length > 0 && static_cast<unsigned char>(Data[length - 1]) <= ' ')
        --length;
    const size_t removed = Length - length;
    Truncate(length);
    return removed;
}

} // namespace corvid
