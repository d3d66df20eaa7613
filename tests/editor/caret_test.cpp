#include "editor_fixture.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using testing::TEditorFixture;

std::string Numbered(int count) {
    std::string text;
    for (int line = 0; line < count; ++line)
        text += (line ? "\n" : "") + std::string("line ") + std::to_string(line);
    return text;
}

TEST(Caret, MovesAreClampedIntoTheDocument) {
    TEditorFixture f("ab\ncd");
    f.Editor.MoveCaret(9, -4);
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 0}));
    f.Editor.MoveCaret(-2, 7);
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 7}));
    EXPECT_EQ(f.View.Count("OnCaretMoved"), 2);
}

TEST(Caret, ShiftMovesSelectFromTheOldCaret) {
    TEditorFixture f("abcdef\nghijkl");
    f.Editor.MoveCaret(0, 2);
    f.Editor.KeyDown(TEditorKey::Right, {.Shift = true});
    f.Editor.KeyDown(TEditorKey::Right, {.Shift = true});
    f.Editor.KeyDown(TEditorKey::Down, {.Shift = true});
    EXPECT_EQ(f.Editor.Selection().Upper(), (TTextPosition{0, 2}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{1, 4}));
    EXPECT_EQ(f.Editor.SelectedText(), "cdef\r\nghij");
    // Back onto the anchor: no selection.
    f.Editor.MoveCaret(0, 2, {.Shift = true});
    EXPECT_FALSE(f.Editor.HasSelection());
}

TEST(Caret, PlainMovesKeepOrDropTheSelectionAsPersistentBlocksSays) {
    TEditorFixture f("abcdef");
    f.Select({0, 1}, {0, 3});
    f.Editor.KeyDown(TEditorKey::End);
    EXPECT_TRUE(f.Editor.HasSelection());
    f.Set([](TTextEditorOptions& o) { o.PersistentBlocks = false; });
    f.Editor.KeyDown(TEditorKey::Home);
    EXPECT_FALSE(f.Editor.HasSelection());
}

TEST(Caret, ShiftDoesNotSelectWithoutKeyboardSelectsText) {
    TEditorFixture f("abcdef");
    f.Set([](TTextEditorOptions& o) { o.KeyboardSelectsText = false; });
    f.Editor.KeyDown(TEditorKey::Right, {.Shift = true});
    EXPECT_FALSE(f.Editor.HasSelection());
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 1}));
}

TEST(Caret, NavigationKeys) {
    const struct {
        const char* what;
        TEditorKey key;
        TTextPosition from;
        TTextPosition to;
        bool scrollsPage;
    } cases[] = {
        {"home", TEditorKey::Home, {3, 4}, {3, 0}, false},
        {"end", TEditorKey::End, {3, 0}, {3, 6}, false},
        {"left stops at column 0", TEditorKey::Left, {3, 0}, {3, 0}, false},
        {"right goes past the end", TEditorKey::Right, {3, 6}, {3, 7}, false},
        {"up", TEditorKey::Up, {3, 9}, {2, 9}, false},
        {"down at the end stays", TEditorKey::Down, {99, 1}, {99, 1}, false},
        {"page down", TEditorKey::PageDown, {3, 2}, {23, 2}, false},
        {"page up stops at the top", TEditorKey::PageUp, {3, 2}, {0, 2}, false},
        {"home ignored when arrows scroll", TEditorKey::Home, {3, 4}, {3, 4}, true},
        {"left ignored when arrows scroll", TEditorKey::Left, {3, 4}, {3, 4}, true},
        {"up scrolls without moving", TEditorKey::Up, {3, 4}, {3, 4}, true},
    };
    for (const auto& c : cases) {
        TEditorFixture f(Numbered(100));
        f.Editor.MoveCaret(c.from.Line, c.from.Column);
        if (c.scrollsPage)
            f.Set([](TTextEditorOptions& o) { o.ArrowKeysScrollPage = true; });
        f.Editor.KeyDown(c.key);
        EXPECT_EQ(f.Caret(), c.to) << c.what;
    }
    TEditorFixture f(Numbered(100));
    f.Set([](TTextEditorOptions& o) { o.ArrowKeysScrollPage = true; });
    f.Editor.KeyDown(TEditorKey::Down);
    EXPECT_EQ(f.Editor.TopLine(), 1);
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 0}));
}

TEST(Scrolling, UpAndDownKeepAMarginOfLines) {
    TEditorFixture f(Numbered(100));
    const int rows = f.Editor.VisibleRows();
    ASSERT_EQ(rows, 20);
    f.Editor.MoveCaret(rows - 6, 0);
    EXPECT_EQ(f.Editor.TopLine(), 0);
    f.Editor.KeyDown(TEditorKey::Down); // row 15 of 20: the margin of 5 is reached
    EXPECT_EQ(f.Editor.TopLine(), 1);
    f.Editor.MoveCaret(50, 0); // other moves keep no margin
    EXPECT_EQ(f.Editor.TopLine(), 31);
    // The margin holds at both edges: one line up from the bottom row scrolls down.
    f.Editor.KeyDown(TEditorKey::Up);
    EXPECT_EQ(f.Editor.TopLine(), 35);
    f.Editor.MoveCaret(97, 0);
    f.Editor.KeyDown(TEditorKey::Down); // near the end the margin shrinks
    EXPECT_EQ(f.Editor.TopLine(), 80);
    f.Set([](TTextEditorOptions& o) { o.ScrollThresholdEnabled = false; });
    f.Editor.MoveCaret(80, 0);
    f.Editor.KeyDown(TEditorKey::Up);
    EXPECT_EQ(f.Editor.TopLine(), 79);
}

TEST(Scrolling, HorizontallyToShowTheCaret) {
    TEditorFixture f("x");
    const int columns = f.Editor.VisibleColumns();
    f.Editor.MoveCaret(0, columns);
    EXPECT_EQ(f.Editor.LeftColumn(), 1);
    f.Editor.MoveCaret(0, 0);
    EXPECT_EQ(f.Editor.LeftColumn(), 0);
}

TEST(Scrolling, FastScrollRepaintsOnlyTheUncoveredRows) {
    TEditorFixture f(Numbered(100));
    // A window of 20 rows and part of a 21st: the part-row is painted again in full.
    f.Editor.SetTopLeft(1, 0);
    EXPECT_EQ(f.View.Calls, (std::vector<std::string>{"scroll 1", "lines 20-21", "bars",
                                                      "OnTopLeftMoved", "caret"}));
    f.Editor.SetClientSize(82 * 8 + ScrollBarThickness, 20 * 16);
    f.Editor.SetTopLeft(0, 0);
    f.View.Calls.clear();
    f.Editor.SetTopLeft(1, 0);
    EXPECT_EQ(f.View.Calls, (std::vector<std::string>{"scroll 1", "lines 20-20", "bars",
                                                      "OnTopLeftMoved", "caret"}));
    f.View.Calls.clear();
    f.Editor.SetTopLeft(0, 0);
    EXPECT_EQ(f.View.Count("lines 0-0"), 1);
    EXPECT_EQ(f.View.Count("scroll -1"), 1);
    f.View.Calls.clear();
    f.Editor.SetTopLeft(50, 0);
    EXPECT_EQ(f.View.Count("all"), 1);
    f.Set([](TTextEditorOptions& o) { o.FastScroll = false; });
    f.View.Calls.clear();
    f.Editor.SetTopLeft(51, 0);
    EXPECT_EQ(f.View.Count("all"), 1);
    EXPECT_EQ(f.View.Count("scroll 1"), 0);
}

TEST(Scrolling, GotoLineCenteredPutsTheLineMidWindow) {
    TEditorFixture f(Numbered(100));
    f.Editor.GotoLineCentered(50);
    EXPECT_EQ(f.Caret(), (TTextPosition{50, 0}));
    EXPECT_EQ(f.Editor.TopLine(), 40);
}

TEST(Mouse, ClickDragAndWheel) {
    TEditorFixture f(Numbered(100));
    // Column from (x + half a cell) / cell width + left column - margin.
    f.Editor.MouseDown(5 * 8 + 3, 2 * 16 + 5);
    EXPECT_EQ(f.Caret(), (TTextPosition{2, 3}));
    f.Editor.MouseMove(5 * 8 + 3, 2 * 16 + 9);
    EXPECT_FALSE(f.Editor.HasSelection());
    f.Editor.MouseMove(8 * 8, 4 * 16);
    EXPECT_EQ(f.Editor.Selection().Upper(), (TTextPosition{2, 3}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{4, 6}));
    EXPECT_EQ(f.Caret(), (TTextPosition{4, 6}));
    f.Editor.MouseUp();
    f.Editor.MouseMove(0, 0);
    EXPECT_EQ(f.Caret(), (TTextPosition{4, 6}));

    f.Editor.MouseDown(0, 0);
    EXPECT_FALSE(f.Editor.HasSelection());
    f.Editor.MouseUp();

    f.Editor.MouseWheel(-240);
    EXPECT_EQ(f.Editor.TopLine(), 2);
    f.Editor.MouseWheel(60);
    f.Editor.MouseWheel(60);
    EXPECT_EQ(f.Editor.TopLine(), 1);
}

TEST(Mouse, AltDragSelectsABlockForThatSelectionAndShiftClickExtends) {
    TEditorFixture f("abcdef\nghijkl\nmnopqr");
    f.Editor.MouseDown(3 * 8, 0);
    f.Editor.MouseMove(5 * 8, 2 * 16, {.Alt = true});
    EXPECT_EQ(f.Editor.SelectionMode(), smBlock);
    EXPECT_EQ(f.Editor.SelectedText(), "bc\r\nhi\r\nno");
    f.Editor.MouseUp();
    f.Editor.MouseDown(2 * 8, 0);
    f.Editor.MouseUp();
    f.Editor.MouseDown(6 * 8, 1 * 16, {.Shift = true});
    EXPECT_EQ(f.Editor.SelectionMode(), smStream);
    EXPECT_EQ(f.Editor.SelectedText(), "abcdef\r\nghij");
}

TEST(Mouse, LockedCaretAndNoClearing) {
    TEditorFixture f("abcdef\nghijkl");
    f.Set([](TTextEditorOptions& o) {
        o.LockCaretPosition = true;
        o.MouseClickClearsSelection = false;
    });
    f.Select({0, 1}, {0, 3});
    f.Editor.MouseDown(5 * 8, 16);
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 0}));
    EXPECT_TRUE(f.Editor.HasSelection());
}

TEST(Caret, ShapeFollowsModeFocusAndHiding) {
    TEditorFixture f("abc");
    EXPECT_FALSE(f.Editor.Caret().Visible);
    f.Editor.SetFocused(true);
    f.Editor.MoveCaret(0, 2);
    TCaretShape caret = f.View.CaretShape;
    EXPECT_TRUE(caret.Visible);
    EXPECT_EQ(caret.X, (2 + 2) * 8);
    EXPECT_EQ(caret.Width, 2);
    EXPECT_EQ(caret.Height, 16);
    EXPECT_EQ(caret.Color, 0x00FFFFu);
    f.Editor.SetOverwrite(true);
    EXPECT_EQ(f.View.CaretShape.Width, 8);
    f.Editor.HideCaret();
    f.Editor.HideCaret();
    f.Editor.ShowCaret();
    EXPECT_FALSE(f.View.CaretShape.Visible);
    f.Editor.ShowCaret();
    EXPECT_TRUE(f.View.CaretShape.Visible);
}

TEST(Caret, MovingOffTheLineRepaintsBothCaretLines) {
    TEditorFixture f(Numbered(10));
    f.Editor.MoveCaret(3, 0);
    EXPECT_EQ(f.View.Count("lines 0-0"), 1);
    EXPECT_EQ(f.View.Count("lines 3-3"), 1);
    f.Set([](TTextEditorOptions& o) { o.ShowCaretLineFG = false; });
    f.View.Calls.clear();
    f.Editor.MoveCaret(5, 0);
    EXPECT_EQ(f.View.Count("lines 5-5"), 0);
}

TEST(Words, NavigationOnOneLine) {
    TEditorFixture f("foo bar_1  +baz");
    const struct {
        int column;
        int next;
        int previous;
    } cases[] = {
        {0, 4, 0},  {2, 4, 0},   {4, 12, 0},   {6, 12, 0},
        {9, 12, 4}, {12, 15, 4}, {15, 15, 12}, {20, 15, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.Editor.NextWordStart(0, c.column), c.next) << c.column;
        EXPECT_EQ(f.Editor.PreviousWordStart(0, c.column), c.previous) << c.column;
    }
    EXPECT_EQ(f.Editor.WordAt(0, 5), "bar_1");
    EXPECT_EQ(f.Editor.WordAt(0, 3), "foo");
    EXPECT_EQ(f.Editor.WordAt(0, 10), "");
    EXPECT_FALSE(f.Editor.WordBounds(0, 16).has_value());
    ASSERT_TRUE(f.Editor.WordBounds(0, 15).has_value());
    EXPECT_EQ(f.Editor.WordBounds(0, 15)->Start, 12);
}

TEST(Words, ComeFromTheLanguage) {
    TEditorFixture f("a.b c");
    TTextEditorMultiFileInfo language;
    language.WordCharacters.Add('.');
    f.File.Language = &language;
    EXPECT_EQ(f.Editor.WordAt(0, 1), "a.b");
    EXPECT_EQ(f.Editor.NextWordStart(0, 0), 4);
}

} // namespace
} // namespace corvid
