#include "devices/terminal_screen.h"

namespace corvid {

namespace {

constexpr uint8_t Backspace = 0x08, Tab = 0x09, LineFeed = 0x0A, CarriageReturn = 0x0D;
constexpr uint8_t Delete = 0x7F, FirstPrintableHigh = 0xA0;

bool IsLineEnd(uint8_t byte) {
    return byte == LineFeed || byte == CarriageReturn;
}

bool IsShownAsCode(uint8_t byte) {
    return byte < 0x20 || (byte >= Delete && byte < FirstPrintableHigh);
}

} // namespace

void TerminalScreen::Feed(uint8_t byte) {
    if (IsLineEnd(byte)) {
        const bool secondOfPair = LastLineEnd != 0 && LastLineEnd != byte;
        LastLineEnd = secondOfPair ? 0 : byte;
        if (!secondOfPair)
            EndLine();
        return;
    }
    LastLineEnd = 0;
    if (byte == Backspace) {
        if (!Rows.back().empty())
            Rows.back().pop_back();
    } else if (byte == Tab) {
        do
            Put(' ');
        while (Rows.back().size() % TabWidth != 0);
    } else if (IsShownAsCode(byte)) {
        PutControl(byte);
    } else {
        Put(static_cast<char>(byte));
    }
}

void TerminalScreen::Clear() {
    Rows.assign(1, std::string());
    LastLineEnd = 0;
}

std::string TerminalScreen::Text() const {
    std::string text;
    for (const std::string& row : Rows) {
        if (&row != &Rows.front())
            text += '\n';
        text += row;
    }
    return text;
}

void TerminalScreen::EndLine() {
    Rows.emplace_back();
    if (Rows.size() > MaximumLines)
        Rows.pop_front();
}

void TerminalScreen::Put(char character) {
    if (Rows.back().size() >= MaximumColumns)
        EndLine();
    Rows.back() += character;
}

void TerminalScreen::PutControl(uint8_t byte) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    for (char character : {'<', Digits[byte >> 4], Digits[byte & 0x0F], '>'})
        Put(character);
}

} // namespace corvid
