#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

// The text of one document line in 16 bytes. Right after a load a line only borrows its bytes
// from the document's load buffer, which the document keeps alive; the first change copies
// them into storage of its own. A million-line file therefore loads without a million
// allocations and costs little more memory than its size.
class TLineText {
public:
    TLineText() = default;
    explicit TLineText(std::string_view text) { Assign(text); }
    TLineText(const TLineText& other) { Assign(other.View()); }
    // Inline: lines move by the hundred thousand when a large document loads.
    TLineText(TLineText&& other) noexcept
        : Data(other.Data), Length(other.Length), Capacity(other.Capacity) {
        other.Data = "";
        other.Length = 0;
        other.Capacity = 0;
    }
    TLineText& operator=(const TLineText& other);
    TLineText& operator=(TLineText&& other) noexcept;
    // Inline, with nothing to do for borrowed text: a large document goes in one sweep.
    ~TLineText() {
        if (Capacity > 0)
            delete[] Owned();
    }

    // A line that views bytes owned by someone else, who keeps them alive and unchanged.
    static TLineText Borrowed(std::string_view bytes);

    std::string_view View() const { return {Data, Length}; }
    operator std::string_view() const { return View(); }
    std::string Str() const { return std::string(View()); }
    size_t Size() const { return Length; }
    bool Empty() const { return Length == 0; }
    char operator[](size_t index) const { return Data[index]; }

    void Assign(std::string_view text);
    void Insert(size_t position, std::string_view text);
    void Append(std::string_view text) { Insert(Length, text); }
    // Removes up to count characters from position; nothing beyond the end.
    void Erase(size_t position, size_t count);
    // Cuts to at most length characters.
    void Truncate(size_t length);
    // Pads with spaces up to length characters.
    void PadTo(size_t length);
    // Drops trailing spaces and control characters; returns how many went.
    size_t TrimTrailingBlanks();

private:
    const char* Data = "";
    uint32_t Length = 0;
    uint32_t Capacity = 0; // 0: the bytes are borrowed (or empty)

    char* Owned() { return const_cast<char*>(Data); }
    void Release() noexcept;
    // Makes the bytes our own with room for at least the given length.
    void Reserve(size_t length);
};

inline bool operator==(const TLineText& line, std::string_view text) {
    return line.View() == text;
}

} // namespace corvid
