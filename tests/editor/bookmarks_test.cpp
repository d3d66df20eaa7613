#include "editor_fixture.h"

#include "editor/bookmark_list.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvid {
namespace {

using testing::TEditorFixture;

TEST(BookmarkMoves, StartAndEndPointsFollowTheirRules) {
    using Rule = std::function<TTextPosition(TTextPosition)>;
    const struct {
        const char* what;
        Rule rule;
        TTextPosition from;
        TTextPosition to;
    } cases[] = {
        {"split at the mark", [](auto p) { return StartAfterLineSplit(p, 3, 5); }, {3, 5}, {4, 0}},
        {"split right of the mark",
         [](auto p) { return StartAfterLineSplit(p, 3, 6); },
         {3, 5},
         {3, 5}},
        {"split above", [](auto p) { return StartAfterLineSplit(p, 1, 0); }, {3, 5}, {4, 5}},
        {"end stays at a split on it",
         [](auto p) { return EndAfterLineSplit(p, 3, 5); },
         {3, 5},
         {3, 5}},
        {"end moves at a split left of it",
         [](auto p) { return EndAfterLineSplit(p, 3, 4); },
         {3, 5},
         {4, 1}},
        {"join takes the next line along",
         [](auto p) { return AfterLinesJoined(p, 2, 4); },
         {3, 2},
         {2, 6}},
        {"join cuts the joined line",
         [](auto p) { return AfterLinesJoined(p, 2, 4); },
         {2, 9},
         {2, 4}},
        {"join moves later lines up",
         [](auto p) { return AfterLinesJoined(p, 2, 4); },
         {7, 1},
         {6, 1}},
        {"insertion at the start pushes it",
         [](auto p) { return StartAfterTextInserted(p, 0, 2, 1); },
         {0, 2},
         {0, 3}},
        {"insertion at the end leaves it",
         [](auto p) { return EndAfterTextInserted(p, 0, 5, 1); },
         {0, 5},
         {0, 5}},
        {"insertion before the end pushes it",
         [](auto p) { return EndAfterTextInserted(p, 0, 4, 3); },
         {0, 5},
         {0, 8}},
        {"deletion over it stops at the column",
         [](auto p) { return AfterTextDeleted(p, 0, 2, 10); },
         {0, 5},
         {0, 2}},
        {"deletion before it", [](auto p) { return AfterTextDeleted(p, 0, 1, 2); }, {0, 5}, {0, 3}},
        {"no place never moves",
         [](auto p) { return AfterLinesJoined(p, 0, 0); },
         {-1, -1},
         {-1, -1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rule(c.from), c.to) << c.what;
}

TEST(BookmarkMoves, ARangeDeletionEqualsThePerLineEdits) {
    const TDeletedRange range{2, 3, 5, 4};
    const struct {
        TTextPosition from;
        TTextPosition to;
    } cases[] = {
        {{1, 9}, {1, 9}}, {{2, 2}, {2, 2}}, {{2, 7}, {2, 3}}, {{3, 1}, {2, 3}},
        {{4, 8}, {2, 3}}, {{5, 2}, {2, 3}}, {{5, 9}, {2, 8}}, {{6, 1}, {3, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfterRangeDeleted(c.from, range), c.to) << c.from.Line << "," << c.from.Column;
}

TEST(Selection, TypingAtItsEdgesNeverGrowsIt) {
    TEditorFixture f("abcdefgh");
    f.Select({0, 2}, {0, 5});
    f.Editor.InsertText("x", 0, 5);
    EXPECT_EQ(f.Editor.Selection().Upper(), (TTextPosition{0, 2}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{0, 5}));
    f.Editor.InsertText("y", 0, 2);
    EXPECT_EQ(f.Editor.Selection().Upper(), (TTextPosition{0, 3}));
    EXPECT_EQ(f.Editor.Selection().Lower(), (TTextPosition{0, 6}));
}

TEST(Selection, DeletingTheSelectedTextLeavesAZeroWidthSelection) {
    TEditorFixture f("abcdefgh");
    f.Select({0, 2}, {0, 5});
    f.Editor.DeleteText(0, 2, 3);
    EXPECT_EQ(f.Editor.Selection().Position(), (TTextPosition{0, 2}));
    EXPECT_EQ(f.Editor.Selection().EndPosition(), (TTextPosition{0, 2}));
    f.File.SelectionAnchor = {0, 2};
    f.Editor.ExtendSelection(0, 2);
    EXPECT_EQ(f.Editor.Selection().Position(), (TTextPosition{-1, -1}));
}

TEST(Selection, ExtendingOntoTheAnchorEmptiesIt) {
    TEditorFixture f("abc\ndef");
    f.Select({0, 1}, {1, 2});
    EXPECT_TRUE(f.Editor.HasSelection());
    f.Editor.ExtendSelection(0, 1);
    EXPECT_FALSE(f.Editor.HasSelection());
    EXPECT_EQ(f.Editor.Selection().EndPosition(), (TTextPosition{-1, -1}));
}

TEST(Selection, UpwardsAndDownwardsGiveTheSameRange) {
    const std::string text = "first\nsecond\nthird";
    for (const auto mode : {smStream, smBlock}) {
        TEditorFixture down(text);
        TEditorFixture up(text);
        down.Editor.SetSelectionMode(mode);
        up.Editor.SetSelectionMode(mode);
        down.Select({0, 4}, {2, 2});
        up.Select({2, 2}, {0, 4});
        EXPECT_EQ(up.Editor.Selection().Line(), 2);
        EXPECT_EQ(up.Editor.Selection().Upper(), down.Editor.Selection().Upper());
        EXPECT_EQ(up.Editor.Selection().Lower(), down.Editor.Selection().Lower());
        EXPECT_EQ(up.Editor.SelectedText(), down.Editor.SelectedText());
    }
}

TEST(Selection, SelectedTextInBothModes) {
    const struct {
        TTextEditorSelectionMode mode;
        TTextPosition from;
        TTextPosition to;
        std::string text;
    } cases[] = {
        {smStream, {0, 1}, {0, 3}, "bc"},
        {smStream, {0, 3}, {2, 2}, "d\r\nefgh\r\nij"},
        {smStream, {1, 2}, {2, 0}, "gh\r\n"},
        {smBlock, {0, 1}, {2, 3}, "bc\r\nfg\r\njk"},
        {smBlock, {2, 3}, {0, 1}, "bc\r\nfg\r\njk"},
        {smBlock, {0, 2}, {1, 2}, "c\r\ng"},
        {smBlock, {0, 3}, {2, 9}, "d\r\nh\r\nl"},
    };
    for (const auto& c : cases) {
        TEditorFixture f("abcd\nefgh\nijkl");
        f.Editor.SetSelectionMode(c.mode);
        f.Select(c.from, c.to);
        EXPECT_EQ(f.Editor.SelectedText(), c.text) << c.from.Line << "," << c.from.Column;
    }
}

TEST(Selection, EndsOutsideTheDocumentAreMovedIntoIt) {
    TEditorFixture f("abc\ndef");
    f.Select({8, 4}, {-3, -2});
    EXPECT_EQ(f.Editor.Selection().Position(), (TTextPosition{1, 4}));
    EXPECT_EQ(f.Editor.Selection().EndPosition(), (TTextPosition{0, 0}));
    EXPECT_EQ(f.Editor.SelectedText(), "abc\r\ndef");
}

TEST(Selection, AltStartsABlockForOneSelection) {
    TEditorFixture f("abcd\nefgh");
    f.Editor.StartSelection(0, 1, {.Alt = true});
    EXPECT_EQ(f.Editor.SelectionMode(), smBlock);
    f.Editor.StartSelection(0, 1);
    EXPECT_EQ(f.Editor.SelectionMode(), smStream);
    f.Editor.SetSelectionMode(smBlock);
    f.Editor.StartSelection(0, 1);
    EXPECT_EQ(f.Editor.SelectionMode(), smBlock);
}

TEST(Selection, CopyingPutsLineFeedsOnTheClipboardAndAppendingAddsToIt) {
    TEditorFixture f("abc\ndef");
    f.Select({0, 1}, {1, 2});
    f.Editor.CopyToClipboard();
    EXPECT_EQ(f.View.Clipboard, "bc\nde");
    f.Editor.AppendToClipboard();
    EXPECT_EQ(f.View.Clipboard, "bc\ndebc\nde");
    f.Editor.ClearSelection();
    f.Editor.CopyToClipboard();
    EXPECT_EQ(f.View.Clipboard, "bc\ndebc\nde");
}

TEST(BookmarkList, FindsTheMarksOfALineInListOrder) {
    TEditorFixture f("a\nb\nc\nd");
    auto* second = new TBookmark(2, 0);
    auto* first = new TBookmark(1, 0);
    auto* third = new TBookmark(2, 1);
    f.File.Bookmarks.Add(second);
    f.File.Bookmarks.Add(first);
    f.File.Bookmarks.Add(third);
    std::vector<TTextEditorBookmark*> found;
    f.File.Bookmarks.BookmarksOnLine(2, found);
    const std::vector<TTextEditorBookmark*> expected{&f.Editor.Selection(), second, third};
    EXPECT_EQ(found, expected);

    // The index follows moves, bulk edits and direct changes alike.
    f.Editor.SplitLine(0, 0);
    f.File.Bookmarks.BookmarksOnLine(3, found);
    EXPECT_EQ(found, expected);
    first->SetLine(3);
    f.File.Bookmarks.BookmarksOnLine(3, found);
    EXPECT_EQ(found,
              (std::vector<TTextEditorBookmark*>{&f.Editor.Selection(), second, first, third}));
    f.Editor.JoinLines(2, 1);
    f.File.Bookmarks.BookmarksOnLine(2, found);
    EXPECT_EQ(found,
              (std::vector<TTextEditorBookmark*>{&f.Editor.Selection(), second, first, third}));
}

TEST(BookmarkList, DeleteWhereRemovesInOnePassAndKeepsTheSelection) {
    TEditorFixture f("a\nb\nc");
    THC11SymbolBookmark* kept = nullptr;
    for (int line = 0; line < 3; ++line) {
        auto* mark = new THC11SymbolBookmark(&f.Editor, line, 0x100 + line);
        f.File.Bookmarks.Add(mark);
        f.File.Bookmarks.Add(new TMessageBookmark(line, 0));
        if (line == 1)
            kept = mark;
    }
    const int deleted = f.File.Bookmarks.DeleteWhere([&](TTextEditorBookmark* bookmark) {
        return dynamic_cast<THC11SymbolBookmark*>(bookmark) && bookmark != kept;
    });
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(f.File.Bookmarks.Count(), 5);
    EXPECT_EQ(f.File.Bookmarks[0], &f.Editor.Selection());
    std::vector<TTextEditorBookmark*> found;
    f.File.Bookmarks.BookmarksOnLine(1, found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[1], kept);
    EXPECT_EQ(f.File.Bookmarks.DeleteWhere([](TTextEditorBookmark*) { return true; }), 4);
    EXPECT_EQ(f.File.Bookmarks.Count(), 1);
}

TEST(BookmarkList, LoadingMovesMarksIntoTheNewDocument) {
    TEditorFixture f("a\nb\nc\nd");
    auto* mark = new TBookmark(3, 1);
    f.File.Bookmarks.Add(mark);
    f.Select({1, 0}, {2, 0});
    f.File.LoadFromText("only");
    EXPECT_EQ(mark->Position(), (TTextPosition{0, 1}));
    EXPECT_FALSE(f.Editor.HasSelection());
}

TEST(SymbolBookmark, FlagsRepaintTheLineOnlyWhenTheyChange) {
    TEditorFixture f("a\nb\nc");
    auto* mark = new THC11SymbolBookmark(&f.Editor, 1, 0xF800);
    f.File.Bookmarks.Add(mark);
    f.View.Calls.clear();
    mark->SetBreakpoint(true);
    mark->SetBreakpoint(true);
    mark->SetExecutionPoint(true);
    EXPECT_EQ(f.View.Count("lines 1-1"), 2);
}

TEST(SymbolBookmark, BreakpointLinesWinOverTheSelection) {
    TEditorFixture f("abcdef\nghi");
    f.Set([](TTextEditorOptions& o) { o.ShowCaretLineFG = false; });
    auto* mark = new THC11SymbolBookmark(&f.Editor, 0, 0xF800);
    f.File.Bookmarks.Add(mark);
    f.Select({0, 1}, {1, 1});
    TColourRow row;
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(2).Back, ButtonFaceColor);
    EXPECT_EQ(row.EndOfLineFill(), ButtonFaceColor);
    mark->SetBreakpoint(true);
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(0).Back, BreakpointColor);
    EXPECT_EQ(row.Cell(2).Back, BreakpointColor);
    EXPECT_EQ(row.Cell(2).Text, BreakpointTextColor);
    EXPECT_EQ(row.EndOfLineFill(), BreakpointColor);
    mark->SetUnplaced(true);
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(4).Back, UnplacedBreakpointColor);
}

TEST(SymbolBookmark, GutterMarksAreData) {
    TEditorFixture f("a\nb");
    auto* mark = new THC11SymbolBookmark(&f.Editor, 1, 0);
    f.File.Bookmarks.Add(mark);
    const int middle = 8;
    const struct {
        bool breakpoint, unplaced, execution;
        TGutterShape shape;
        TColor color;
        size_t count;
    } cases[] = {
        {false, false, false, TGutterShape::FilledEllipse, SymbolMarkColor, 1},
        {true, false, false, TGutterShape::FilledEllipse, BreakpointColor, 1},
        {true, true, false, TGutterShape::Cross, UnplacedBreakpointColor, 1},
        {false, false, true, TGutterShape::FilledEllipse, SymbolMarkColor, 2},
    };
    TTextEditorRow row;
    for (const auto& c : cases) {
        mark->SetBreakpoint(c.breakpoint);
        mark->SetUnplaced(c.unplaced);
        mark->SetExecutionPoint(c.execution);
        f.Editor.PaintRow(1, row);
        ASSERT_EQ(row.Gutter.size(), c.count);
        EXPECT_EQ(row.Gutter[0].Shape, c.shape);
        EXPECT_EQ(row.Gutter[0].Color, c.color);
        if (c.shape == TGutterShape::Cross) {
            EXPECT_EQ(row.Gutter[0].X1, 4);
            EXPECT_EQ(row.Gutter[0].Y1, middle - 3);
            EXPECT_EQ(row.Gutter[0].X2, 13);
            EXPECT_EQ(row.Gutter[0].Y4, middle + 4);
        } else {
            EXPECT_EQ(row.Gutter[0].X1, 5);
            EXPECT_EQ(row.Gutter[0].Y2, middle + 2);
        }
        if (c.execution) {
            EXPECT_EQ(row.Gutter[1].Shape, TGutterShape::RowFrame);
            EXPECT_EQ(row.Gutter[1].Pen, TPenStyle::Dotted);
        }
    }
    f.Editor.PaintRow(0, row);
    EXPECT_TRUE(row.Gutter.empty());
}

} // namespace
} // namespace corvid
