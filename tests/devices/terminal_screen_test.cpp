#include "devices/terminal_screen.h"

#include <gtest/gtest.h>

#include <string>

namespace corvid {
namespace {

std::string Shown(const std::string& received) {
    TerminalScreen screen;
    for (char byte : received)
        screen.Feed(static_cast<uint8_t>(byte));
    return screen.Text();
}

struct ScreenCase {
    std::string Received;
    std::string Shown;
};

TEST(TerminalScreen, ShowsReceivedBytesAsText) {
    const ScreenCase cases[] = {
        {"Hello", "Hello"},
        {"AB\r\nCD", "AB\nCD"},
        {"AB\n\rCD", "AB\nCD"},
        {"AB\rCD", "AB\nCD"},
        {"AB\nCD", "AB\nCD"},
        {"A\r\n\r\nB", "A\n\nB"},
        {"A\r\rB", "A\n\nB"},
        {"A\n\nB", "A\n\nB"},
        {"A\r\n\rB", "A\n\nB"},
        {"line\r\n", "line\n"},
        {"ABC\b\bX", "AX"},
        {"\b\bA", "A"},
        {"A\r\n\bB", "A\nB"},
        {"A\tB", "A       B"},
        {"12345678\tX", "12345678        X"},
        {std::string("A\0B", 3), "A<00>B"},
        {"\x01\x1B\x7F\x80\x9F", "<01><1B><7F><80><9F>"},
        {"\xA0\xE9\xFF", "\xA0\xE9\xFF"},
    };
    for (const ScreenCase& c : cases)
        EXPECT_EQ(c.Shown, Shown(c.Received))
            << "received: " << ::testing::PrintToString(c.Received);
}

TEST(TerminalScreen, BreaksALongLine) {
    const std::string received(TerminalScreen::MaximumColumns + 5, 'x');
    TerminalScreen screen;
    for (char byte : received)
        screen.Feed(static_cast<uint8_t>(byte));
    ASSERT_EQ(2u, screen.Lines().size());
    EXPECT_EQ(TerminalScreen::MaximumColumns, screen.Lines()[0].size());
    EXPECT_EQ("xxxxx", screen.Lines()[1]);
}

TEST(TerminalScreen, KeepsTheLastLinesOnly) {
    TerminalScreen screen;
    const size_t sent = TerminalScreen::MaximumLines + 10;
    for (size_t line = 0; line < sent; ++line) {
        for (char byte : std::to_string(line) + "\r\n")
            screen.Feed(static_cast<uint8_t>(byte));
    }
    ASSERT_EQ(TerminalScreen::MaximumLines, screen.Lines().size());
    EXPECT_EQ("11", screen.Lines().front());
    EXPECT_EQ(std::to_string(sent - 1), screen.Lines()[TerminalScreen::MaximumLines - 2]);
    EXPECT_EQ("", screen.Lines().back());
}

TEST(TerminalScreen, ClearForgetsTextAndAHalfLineEnd) {
    TerminalScreen screen;
    for (char byte : std::string("AB\r"))
        screen.Feed(static_cast<uint8_t>(byte));
    screen.Clear();
    screen.Feed('\n'); // not the partner of the CR before the clearing
    EXPECT_EQ("\n", screen.Text());
}

} // namespace
} // namespace corvid
