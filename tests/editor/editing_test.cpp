#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvid {
namespace {

using testing::TEditorFixture;
using Lines = std::vector<std::string>;
using Options = void (*)(TTextEditorOptions&);

void Defaults(TTextEditorOptions&) {}

struct TKeyCase {
    const char* what;
    std::string text;
    TTextPosition caret;
    std::function<void(TTextEditor&)> keys;
    Lines lines;
    TTextPosition caretAfter;
    Options options = Defaults;
    bool overwrite = false;
};

// Runs each case, checks text and caret, then that one undo gives the original text back.
void RunKeyCases(const std::vector<TKeyCase>& cases) {
    for (const TKeyCase& c : cases) {
        TEditorFixture f(c.text);
        f.Set(c.options);
        f.Editor.SetOverwrite(c.overwrite);
        f.Editor.MoveCaret(c.caret.Line, c.caret.Column);
        c.keys(f.Editor);
        EXPECT_EQ(f.Lines(), c.lines) << c.what;
        EXPECT_EQ(f.Caret(), c.caretAfter) << c.what;
        f.Editor.Undo();
        EXPECT_EQ(f.File.Text(), c.text) << c.what << " (undone)";
    }
}

void Type(TTextEditor& editor, std::string_view text) {
    for (const char c : text)
        editor.KeyPress(c);
}

TEST(Typing, InsertModeKeys) {
    RunKeyCases({
        {"a letter", "abc", {0, 1}, [](auto& e) { e.KeyPress('x'); }, {"axbc"}, {0, 2}},
        {"beyond the end pads", "ab", {0, 4}, [](auto& e) { e.KeyPress('x'); }, {"ab  x"}, {0, 5}},
        {"a trailing space moves only the caret",
         "abc",
         {0, 3},
         [](auto& e) { e.KeyPress(' '); },
         {"abc"},
         {0, 4}},
        {"Latin-1 letters type",
         "ab",
         {0, 2},
         [](auto& e) { e.KeyPress('\xe9'); },
         {"ab\xe9"},
         {0, 3}},
        {"control characters do nothing",
         "ab",
         {0, 1},
         [](auto& e) { e.KeyPress('\x01'); },
         {"ab"},
         {0, 1}},
        {"backspace",
         "abc",
         {0, 2},
         [](auto& e) { e.KeyDown(TEditorKey::Backspace); },
         {"ac"},
         {0, 1}},
        {"backspace at a line start joins",
         "ab\ncd",
         {1, 0},
         [](auto& e) { e.KeyDown(TEditorKey::Backspace); },
         {"abcd"},
         {0, 2}},
        {"enter keeps the indentation",
         "    foo bar",
         {0, 8},
         [](auto& e) { e.KeyDown(TEditorKey::Enter); },
         {"    foo", "    bar"},
         {1, 4}},
        {"enter without auto indent",
         "    foo bar",
         {0, 8},
         [](auto& e) { e.KeyDown(TEditorKey::Enter); },
         {"    foo", "bar"},
         {1, 0},
         [](TTextEditorOptions& o) { o.AutoIndent = false; }},
        {"enter at a blank line end indents virtually",
         "  ab",
         {0, 4},
         [](auto& e) { e.KeyPress('\r'); },
         {"  ab", ""},
         {1, 2}},
        {"smart tab to the next word above",
         "hello   world\n",
         {1, 0},
         [](auto& e) { e.KeyDown(TEditorKey::Tab); },
         {"hello   world", ""},
         {1, 8}},
        {"smart tab to the next non-space above",
         "ab  cd\nx",
         {1, 2},
         [](auto& e) { e.KeyDown(TEditorKey::Tab); },
         {"ab  cd", "x"},
         {1, 4}},
        {"smart tab inside text pads it",
         "ab  cd\nxyz",
         {1, 0},
         [](auto& e) { e.KeyPress('\t'); },
         {"ab  cd", "    xyz"},
         {1, 4}},
        {"fixed tab",
         "hello   world\nx",
         {1, 0},
         [](auto& e) { e.KeyDown(TEditorKey::Tab); },
         {"hello   world", "   x"},
         {1, 3},
         [](TTextEditorOptions& o) {
             o.SmartTabs = false;
             o.TabSize = 3;
         }},
        {"delete a character",
         "abc",
         {0, 1},
         [](auto& e) { e.KeyDown(TEditorKey::Delete); },
         {"ac"},
         {0, 1}},
        {"delete at the end joins",
         "ab\ncd",
         {0, 2},
         [](auto& e) { e.KeyDown(TEditorKey::Delete); },
         {"abcd"},
         {0, 2}},
        {"delete past the end joins at the caret column",
         "abcd\nxy",
         {0, 10},
         [](auto& e) { e.KeyDown(TEditorKey::Delete); },
         {"abcd      xy"},
         {0, 10}},
    });
}

TEST(Typing, OverwriteModeKeys) {
    RunKeyCases({
        {"a letter replaces",
         "abc",
         {0, 1},
         [](auto& e) { e.KeyPress('x'); },
         {"axc"},
         {0, 2},
         Defaults,
         true},
        {"at the end it appends",
         "ab",
         {0, 2},
         [](auto& e) { e.KeyPress('x'); },
         {"abx"},
         {0, 3},
         Defaults,
         true},
        {"backspace blanks the character",
         "abc",
         {0, 2},
         [](auto& e) { e.KeyDown(TEditorKey::Backspace); },
         {"a c"},
         {0, 1},
         Defaults,
         true},
        {"typed text replaces as much",
         "abcdef",
         {0, 1},
         [](auto& e) { e.TypeText("XYZ"); },
         {"aXYZef"},
         {0, 4},
         Defaults,
         true},
    });
    TEditorFixture f("  ab\ncd");
    f.Editor.SetOverwrite(true);
    f.Editor.MoveCaret(0, 3);
    f.Editor.KeyDown(TEditorKey::Enter);
    EXPECT_EQ(f.Lines(), (Lines{"  ab", "cd"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 2}));
    EXPECT_EQ(f.Undo().Count(), 0);
}

TEST(Typing, ASpaceAtTheLineEndIsStoredWithTheNextLetter) {
    TEditorFixture f("abc");
    f.Editor.MoveCaret(0, 3);
    Type(f.Editor, " ");
    EXPECT_EQ(f.Lines(), (Lines{"abc"}));
    Type(f.Editor, "d");
    EXPECT_EQ(f.Lines(), (Lines{"abc d"}));
}

TEST(Typing, BackspaceInTheVirtualSpaceOnlyMovesTheCaret) {
    for (const bool overwrite : {false, true}) {
        TEditorFixture f("ab");
        f.Editor.SetOverwrite(overwrite);
        f.Editor.MoveCaret(0, 5);
        f.Editor.KeyDown(TEditorKey::Backspace);
        EXPECT_EQ(f.Caret(), (TTextPosition{0, 4}));
        EXPECT_EQ(f.Undo().Count(), 0);
        EXPECT_FALSE(f.File.Modified);
    }
}

TEST(Typing, BackspaceAtTheDocumentStartDoesNothing) {
    TEditorFixture f("ab\ncd");
    f.Editor.KeyDown(TEditorKey::Backspace);
    EXPECT_EQ(f.Lines(), (Lines{"ab", "cd"}));
    EXPECT_EQ(f.Undo().Count(), 0);
    EXPECT_FALSE(f.File.Modified);
}

TEST(Typing, EnterIsUndoneInOneStep) {
    TEditorFixture f("    foo bar");
    f.Editor.MoveCaret(0, 8);
    f.Editor.KeyDown(TEditorKey::Enter);
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"    foo bar"}));
}

TEST(Typing, InsertKeyTogglesOverwriteOrUsesTheClipboard) {
    TEditorFixture f("abc");
    f.Editor.KeyDown(TEditorKey::Insert);
    EXPECT_TRUE(f.Editor.Overwrite());
    EXPECT_EQ(f.View.Count("OnOverwriteChanged"), 1);
    f.Editor.SetOverwrite(false);
    f.Select({0, 0}, {0, 2});
    f.Editor.KeyDown(TEditorKey::Insert, {.Ctrl = true});
    EXPECT_EQ(f.View.Clipboard, "ab");
    f.Editor.MoveCaret(0, 3);
    f.Editor.KeyDown(TEditorKey::Insert, {.Shift = true});
    EXPECT_EQ(f.Lines(), (Lines{"abcab"}));
    EXPECT_FALSE(f.Editor.Overwrite());

    f.Set([](TTextEditorOptions& o) { o.AutoCopyCutPaste = false; });
    f.Editor.KeyDown(TEditorKey::Insert, {.Ctrl = true});
    EXPECT_TRUE(f.Editor.Overwrite());
}

TEST(Typing, CtrlDeleteDeletesTheSelectionOnly) {
    TEditorFixture f("abcdef");
    f.Select({0, 1}, {0, 3});
    f.Editor.MoveCaret(0, 5);
    f.Editor.KeyDown(TEditorKey::Delete, {.Ctrl = true});
    EXPECT_EQ(f.Lines(), (Lines{"adef"}));
}

TEST(Typing, OverwriteBlocksDeletesTheSelectionBeforeAKey) {
    TEditorFixture f("abcdef");
    f.Set([](TTextEditorOptions& o) {
        o.OverwriteBlocks = true;
        o.PersistentBlocks = false;
    });
    f.Editor.MoveCaret(0, 1);
    f.Editor.MoveCaret(0, 4, {.Shift = true});
    f.Editor.KeyPress('X');
    EXPECT_EQ(f.Lines(), (Lines{"aXef"}));
    EXPECT_FALSE(f.Editor.HasSelection());
}

TEST(Typing, AReadOnlyEditorIgnoresTypingDeleteAndPaste) {
    TEditorFixture f("abc");
    f.Set([](TTextEditorOptions& o) { o.Modifiable = false; });
    f.View.Clipboard = "zz";
    f.Editor.KeyPress('x');
    f.Editor.KeyDown(TEditorKey::Delete);
    f.Editor.KeyDown(TEditorKey::Enter);
    f.Editor.TypeText("y\r");
    f.Editor.Paste();
    EXPECT_EQ(f.Lines(), (Lines{"abc"}));
    f.Select({0, 0}, {0, 3});
    f.Editor.BlockIndent(); // block commands of the IDE still work
    EXPECT_EQ(f.Lines(), (Lines{" abc"}));
}

TEST(Typing, TypeTextActsOnControlCharactersAsKeysInOneStep) {
    TEditorFixture f("    x");
    f.Editor.MoveCaret(0, 5);
    f.Editor.TypeText("ab\r\ncd\tz\bq");
    // The tab goes to the end of the word above: one space.
    EXPECT_EQ(f.Lines(), (Lines{"    xab", "    cd q"}));
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"    x"}));
}

TEST(LineCommands, DuplicateDeleteAndDeleteToEnd) {
    RunKeyCases({
        {"duplicate",
         "ab\ncd",
         {0, 1},
         [](auto& e) { e.DuplicateLine(0); },
         {"ab", "ab", "cd"},
         {0, 1}},
        {"delete line",
         "ab\ncd\nef",
         {1, 1},
         [](auto& e) { e.DeleteLine(); },
         {"ab", "ef"},
         {1, 0}},
        {"delete the last line empties it",
         "ab\ncd",
         {1, 1},
         [](auto& e) { e.DeleteLine(); },
         {"ab", ""},
         {1, 0}},
        {"delete to end",
         "abcdef",
         {0, 2},
         [](auto& e) { e.DeleteToEndOfLine(0, 2); },
         {"ab"},
         {0, 2}},
        {"delete word and spaces",
         "foo bar",
         {0, 0},
         [](auto& e) { e.DeleteWord(); },
         {"bar"},
         {0, 0}},
        {"delete word from its middle",
         "foo_x1  +y",
         {0, 2},
         [](auto& e) { e.DeleteWord(); },
         {"fo+y"},
         {0, 2}},
        {"delete word on punctuation takes one",
         "a+-b",
         {0, 1},
         [](auto& e) { e.DeleteWord(); },
         {"a-b"},
         {0, 1}},
        {"delete word at the end joins without blanks",
         "ab\n   cd",
         {0, 2},
         [](auto& e) { e.DeleteWord(); },
         {"abcd"},
         {0, 2}},
    });
}

TEST(BlockCommands, IndentAndUndent) {
    const struct {
        const char* what;
        TTextEditorSelectionMode mode;
        TTextPosition from;
        TTextPosition to;
        bool indent;
        Lines lines;
    } cases[] = {
        {"stream indent leaves out a last line at column 0",
         smStream,
         {2, 3},
         {5, 0},
         true,
         {"l0", "l1", " l2", " l3", " l4", "l5"}},
        {"stream indent includes a last line touched",
         smStream,
         {1, 0},
         {2, 1},
         true,
         {"l0", " l1", " l2", "l3", "l4", "l5"}},
        {"block indent at the left column",
         smBlock,
         {1, 1},
         {3, 2},
         true,
         {"l0", "l 1", "l 2", "l 3", "l4", "l5"}},
        {"stream undent", smStream, {0, 0}, {6, 0}, false, {"l0", "l1", "l2", "l3", "l4", "l5"}},
    };
    for (const auto& c : cases) {
        TEditorFixture f("l0\nl1\nl2\nl3\nl4\nl5");
        f.Editor.SetSelectionMode(c.mode);
        f.Select(c.from, c.to);
        if (c.indent)
            f.Editor.BlockIndent();
        else
            f.Editor.BlockUndent();
        EXPECT_EQ(f.Lines(), c.lines) << c.what;
    }

    TEditorFixture f(" a\n  b\nc\n d");
    f.Select({0, 0}, {3, 0});
    f.Editor.BlockUndent();
    EXPECT_EQ(f.Lines(), (Lines{"a", " b", "c", " d"}));

    TEditorFixture block("ab cd\nab  cd\nabXcd\nab");
    block.Editor.SetSelectionMode(smBlock);
    block.Select({0, 3}, {3, 4});
    block.Editor.BlockUndent();
    EXPECT_EQ(block.Lines(), (Lines{"abcd", "ab cd", "abXcd", "ab"}));
    EXPECT_EQ(block.Editor.Selection().Position(), (TTextPosition{0, 2}));
}

TEST(BlockCommands, DeleteABlockSelection) {
    TEditorFixture f("abcdef\nghijkl\nmn\nopqrst");
    f.Editor.SetSelectionMode(smBlock);
    f.Select({0, 4}, {3, 1});
    f.Editor.MoveCaret(1, 5);
    f.Editor.DeleteSelection();
    EXPECT_EQ(f.Lines(), (Lines{"aef", "gkl", "m", "ost"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 2}));
    EXPECT_FALSE(f.Editor.HasSelection());
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"abcdef", "ghijkl", "mn", "opqrst"}));
}

TEST(BlockCommands, DeleteAStreamSelection) {
    const struct {
        const char* what;
        TTextPosition from;
        TTextPosition to;
        TTextPosition caret;
        Lines lines;
        TTextPosition caretAfter;
    } cases[] = {
        {"within a line", {0, 1}, {0, 4}, {0, 6}, {"aef", "ghijkl", "mnopqr", "stu"}, {0, 3}},
        {"two lines", {0, 2}, {1, 3}, {1, 3}, {"abjkl", "mnopqr", "stu"}, {0, 2}},
        {"several lines", {0, 4}, {2, 1}, {2, 1}, {"abcdnopqr", "stu"}, {0, 4}},
        {"caret below moves up", {0, 4}, {2, 1}, {3, 2}, {"abcdnopqr", "stu"}, {1, 2}},
        {"caret right on the last line",
         {1, 1},
         {2, 2},
         {2, 5},
         {"abcdef", "gopqr", "stu"},
         {1, 4}},
        {"from a short line's end",
         {2, 9},
         {3, 0},
         {0, 0},
         {"abcdef", "ghijkl", "mnopqr   stu"},
         {0, 0}},
    };
    for (const auto& c : cases) {
        TEditorFixture f("abcdef\nghijkl\nmnopqr\nstu");
        f.Select(c.from, c.to);
        f.Editor.MoveCaret(c.caret.Line, c.caret.Column);
        f.Editor.DeleteSelection();
        EXPECT_EQ(f.Lines(), c.lines) << c.what;
        EXPECT_EQ(f.Caret(), c.caretAfter) << c.what;
        EXPECT_FALSE(f.Editor.HasSelection()) << c.what;
        f.Editor.Undo();
        EXPECT_EQ(f.Lines(), (Lines{"abcdef", "ghijkl", "mnopqr", "stu"})) << c.what;
    }
}

TEST(Paste, StreamModeSplitsAndSelectsThePastedText) {
    TEditorFixture f("xyz");
    f.View.Clipboard = "a\r\nb";
    f.Editor.MoveCaret(0, 2);
    f.Editor.Paste();
    EXPECT_EQ(f.Lines(), (Lines{"xya", "bz"}));
    EXPECT_EQ(f.Editor.Selection().Upper(), (TTextPosition{0, 2}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{1, 1}));
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 2}));
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"xyz"}));
}

TEST(Paste, EveryLineEndAndTabsAsTwoSpaces) {
    TEditorFixture f("");
    f.View.Clipboard = "a\tb\rc\n\rd\ne\r\n";
    f.Editor.Paste();
    EXPECT_EQ(f.Lines(), (Lines{"a  b", "c", "d", "e", ""}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{4, 0}));
}

TEST(Paste, BlockModeFillsSuccessiveLinesAtTheCaretColumn) {
    for (const auto& [text, lines, lower] :
         {std::tuple{std::string("xyz\nq"), Lines{"xyaz", "q b"}, TTextPosition{1, 3}},
          std::tuple{std::string("xyz"), Lines{"xyaz"}, TTextPosition{0, 3}}}) {
        TEditorFixture f(text);
        f.Editor.SetSelectionMode(smBlock);
        f.View.Clipboard = "a\nb";
        f.Editor.MoveCaret(0, 2);
        f.Editor.Paste();
        EXPECT_EQ(f.Lines(), lines);
        EXPECT_EQ(f.Editor.Selection().Lower(), lower);
    }
}

TEST(Paste, IntoRowsRepeatsTheClipboardLines) {
    TEditorFixture f("aa\nbb\ncc\ndd\nee");
    f.View.Clipboard = "1\n2";
    f.Select({0, 1}, {4, 1});
    f.Editor.PasteIntoRows();
    EXPECT_EQ(f.Lines(), (Lines{"a1a", "b2b", "c1c", "d2d", "e1e"}));
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"aa", "bb", "cc", "dd", "ee"}));
}

TEST(Replace, InsertsFirstSoMarksAroundTheOldTextStay) {
    TEditorFixture f("one two three");
    auto* before = new TBookmark(0, 4);
    auto* after = new TBookmark(0, 7);
    f.File.Bookmarks.Add(before);
    f.File.Bookmarks.Add(after);
    f.Editor.ReplaceText(0, 4, "seven", 3);
    EXPECT_EQ(f.Lines(), (Lines{"one seven three"}));
    EXPECT_EQ(before->Column(), 4);
    EXPECT_EQ(after->Column(), 9);
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"one two three"}));
}

TEST(Indentation, SmartTabWidthAndAutoIndentColumn) {
    TEditorFixture f("first   word\n    \n  x\n\n");
    EXPECT_EQ(f.Editor.SmartTabWidth(0, 0), 2);
    EXPECT_EQ(f.Editor.SmartTabWidth(1, 0), 8);
    EXPECT_EQ(f.Editor.SmartTabWidth(1, 2), 6);
    EXPECT_EQ(f.Editor.SmartTabWidth(1, 5), 3);
    EXPECT_EQ(f.Editor.SmartTabWidth(1, 9), 3);
    EXPECT_EQ(f.Editor.SmartTabWidth(4, 2), 1);
    EXPECT_EQ(f.Editor.SmartTabWidth(4, 30), 2);
    EXPECT_EQ(f.Editor.SmartTabWidth(9, 0), 2);
    EXPECT_EQ(f.Editor.AutoIndentColumn(0), 0);
    EXPECT_EQ(f.Editor.AutoIndentColumn(3), 2);
    EXPECT_EQ(f.Editor.AutoIndentColumn(4), 2);
    EXPECT_EQ(f.Editor.AutoIndentColumn(2), 0);
    EXPECT_EQ(f.Editor.AutoIndentColumn(7), 0);
}

} // namespace
} // namespace corvid
