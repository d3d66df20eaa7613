#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace corvid {

// The text a terminal shows for the bytes it receives, one at a time. CR, LF and the pairs
// CR LF and LF CR each end one line, since programs end their lines in all these ways;
// backspace takes back the line's last character; tab moves to the next multiple of eight
// columns; the other control bytes (below $20 and $7F to $9F) show as <XX> in hexadecimal,
// so that a stray byte is seen; the rest shows as Latin-1. A line breaks after MaximumColumns
// characters and only the last MaximumLines lines are kept: a program that never stops sending
// cannot use up the memory.
class TerminalScreen {
public:
    static constexpr size_t MaximumLines = 2000;
    static constexpr size_t MaximumColumns = 1000;
    static constexpr size_t TabWidth = 8;

    void Feed(uint8_t byte);
    void Clear();

    // The lines, the last one being the line in progress (empty after a line end).
    const std::deque<std::string>& Lines() const { return Rows; }
    // The lines joined by "\n".
    std::string Text() const;

private:
    void EndLine();
    void Put(char character);
    void PutControl(uint8_t byte);

    std::deque<std::string> Rows{std::string()};
    uint8_t LastLineEnd = 0; // the CR or LF just received, which its partner must not repeat
};

} // namespace corvid
