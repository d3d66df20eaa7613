#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvid {
namespace {

using testing::TEditorFixture;
using Lines = std::vector<std::string>;
using Records = std::vector<TTextEditorUndoRecord>;

constexpr auto InsertLine = TUndoRecordKind::InsertLine;
constexpr auto DeleteLine = TUndoRecordKind::DeleteLine;
constexpr auto InsertText = TUndoRecordKind::InsertText;
constexpr auto DeleteText = TUndoRecordKind::DeleteText;

// Every primitive: the text it leaves, the record it writes, and that undoing the record gives
// the text back.
TEST(Primitives, ChangeTheTextAndRecordTheirInverse) {
    const struct {
        const char* what;
        std::string text;
        std::function<void(TTextEditor&)> edit;
        Lines lines;
        Records records;
    } cases[] = {
        {"insert in the middle",
         "abcd",
         [](TTextEditor& e) { e.InsertText("XY", 0, 2); },
         {"abXYcd"},
         {{InsertText, 0, 2, "XY"}}},
        {"insert pads beyond the end",
         "ab",
         [](TTextEditor& e) { e.InsertText("x", 0, 5); },
         {"ab   x"},
         {{InsertText, 0, 5, "x"}}},
        {"a trailing space is recorded but not kept",
         "abc",
         [](TTextEditor& e) { e.InsertText(" ", 0, 3); },
         {"abc"},
         {{InsertText, 0, 3, " "}}},
        {"empty text does nothing",
         "ab",
         [](TTextEditor& e) { e.InsertText("", 0, 1); },
         {"ab"},
         {}},
        {"delete records the removed characters",
         "abcdef",
         [](TTextEditor& e) { e.DeleteText(0, 1, 3); },
         {"aef"},
         {{DeleteText, 0, 1, "bcd"}}},
        {"delete beyond the end takes what is there",
         "abc",
         [](TTextEditor& e) { e.DeleteText(0, 2, 10); },
         {"ab"},
         {{DeleteText, 0, 2, "c"}}},
        {"delete leaving trailing blanks trims them",
         "ab cd",
         [](TTextEditor& e) { e.DeleteText(0, 3, 2); },
         {"ab"},
         {{DeleteText, 0, 3, "cd"}}},
        {"delete of no characters does nothing",
         "abc",
         [](TTextEditor& e) { e.DeleteText(0, 1, 0); },
         {"abc"},
         {}},
        {"split",
         "abcd",
         [](TTextEditor& e) { e.SplitLine(0, 1); },
         {"a", "bcd"},
         {{InsertLine, 0, 1, ""}}},
        {"split trims the first line only",
         "ab  cd",
         [](TTextEditor& e) { e.SplitLine(0, 4); },
         {"ab", "cd"},
         {{InsertLine, 0, 4, ""}}},
        {"split past the end gives an empty line",
         "ab",
         [](TTextEditor& e) { e.SplitLine(0, 9); },
         {"ab", ""},
         {{InsertLine, 0, 9, ""}}},
        {"join",
         "abc\ndef",
         [](TTextEditor& e) { e.JoinLines(0, 1); },
         {"adef"},
         {{DeleteLine, 0, 1, "bc"}}},
        {"join past the end pads",
         "ab\ncd",
         [](TTextEditor& e) { e.JoinLines(0, 4); },
         {"ab  cd"},
         {{DeleteLine, 0, 4, ""}}},
        {"join on the last line cuts as a deletion",
         "ab\ncdef",
         [](TTextEditor& e) { e.JoinLines(1, 1); },
         {"ab", "c"},
         {{DeleteText, 1, 1, "def"}}},
        {"join at the end of the last line does nothing",
         "ab",
         [](TTextEditor& e) { e.JoinLines(0, 2); },
         {"ab"},
         {}},
    };
    for (const auto& c : cases) {
        TEditorFixture f(c.text);
        c.edit(f.Editor);
        EXPECT_EQ(f.Lines(), c.lines) << c.what;
        EXPECT_EQ(f.Records(), c.records) << c.what;
        f.Editor.Undo();
        TTextEditorFile original;
        original.LoadFromText(c.text);
        EXPECT_EQ(f.Lines(), testing::LinesOf(original)) << c.what << " (undone)";
    }
}

TEST(Primitives, PlacesOutsideTheDocumentAreNoOps) {
    const std::function<void(TTextEditor&)> edits[] = {
        [](TTextEditor& e) { e.InsertText("x", -1, 0); },
        [](TTextEditor& e) { e.InsertText("x", 0, -1); },
        [](TTextEditor& e) { e.InsertText("x", 2, 0); },
        [](TTextEditor& e) { e.DeleteText(0, -1, 2); },
        [](TTextEditor& e) { e.DeleteText(-5, 0, 2); },
        [](TTextEditor& e) { e.SplitLine(0, -1); },
        [](TTextEditor& e) { e.SplitLine(7, 0); },
        [](TTextEditor& e) { e.JoinLines(-1, 0); },
        [](TTextEditor& e) { e.JoinLines(0, -3); },
        [](TTextEditor& e) { e.InsertText("x", 0, (1 << 20) + 1); },
    };
    for (const auto& edit : edits) {
        TEditorFixture f("ab\ncd");
        edit(f.Editor);
        EXPECT_EQ(f.Lines(), (Lines{"ab", "cd"}));
        EXPECT_EQ(f.Undo().Count(), 0);
        EXPECT_FALSE(f.File.Modified);
    }
}

TEST(Primitives, TheCaretAndTopLineStayInTheDocumentWhenLinesGo) {
    TEditorFixture f("a\nb\nc");
    f.Editor.MoveCaret(2, 1);
    f.Editor.SetTopLeft(2, 0);
    f.Editor.JoinLines(1, 0);
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 1}));
    EXPECT_EQ(f.Editor.TopLine(), 1);
}

TEST(Primitives, KeepTrailingBlanksWhenTheRuleIsOff) {
    TEditorFixture f("abc");
    f.Set([](TTextEditorOptions& o) { o.RemoveTrailingBlanks = false; });
    f.Editor.InsertText("  ", 0, 3);
    f.Editor.SplitLine(0, 1);
    EXPECT_EQ(f.Lines(), (Lines{"a", "bc  "}));
}

TEST(Primitives, MarkLinesModifiedAndTellTheView) {
    TEditorFixture f("ab\ncd\nef");
    f.Editor.InsertText("x", 1, 0);
    EXPECT_TRUE(f.File.Lines.Get(1).Has(lfModified));
    EXPECT_FALSE(f.File.Lines.Get(0).Has(lfModified));
    EXPECT_TRUE(f.File.Modified);
    EXPECT_EQ(f.View.Count("OnModifiedChanged"), 1);
    EXPECT_EQ(f.View.Count("OnChanged"), 1);
    EXPECT_EQ(f.View.Count("lines 1-1"), 1);

    f.View.Calls.clear();
    f.Editor.SplitLine(0, 1);
    EXPECT_TRUE(f.File.Lines.Get(0).Has(lfModified));
    EXPECT_TRUE(f.File.Lines.Get(1).Has(lfModified));
    EXPECT_EQ(f.View.Count("from 0"), 1);
    EXPECT_EQ(f.View.Count("OnLineCountChanged"), 1);
    EXPECT_EQ(f.View.Count("OnModifiedChanged"), 0); // already modified
}

} // namespace
} // namespace corvid
