#include "editor_fixture.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using testing::TEditorFixture;
using testing::TRecordingView;

TEST(Geometry, RowsColumnsAndPlaces) {
    TEditorGeometry geometry;
    geometry.LineHeight = 16;
    geometry.CharWidth = 8;
    geometry.Width = 100 * 8 + 3;
    geometry.Height = 10 * 16 + 5;
    geometry.LeftColumnMargin = 2;
    EXPECT_EQ(geometry.VisibleRows(), 10);
    EXPECT_EQ(geometry.PaintRows(), 11);
    EXPECT_EQ(geometry.VisibleColumns(), 98);
    EXPECT_EQ(geometry.PaintColumns(), 99);
    geometry.VerticalBarShown = true;
    geometry.HorizontalBarShown = true;
    EXPECT_EQ(geometry.ClientWidth(), 100 * 8 + 3 - ScrollBarThickness);
    EXPECT_EQ(geometry.VisibleRows(), 9);
    EXPECT_EQ(geometry.RowY(7, 5), 32);
    EXPECT_EQ(geometry.ColumnX(3, 1), 32);
    EXPECT_EQ(geometry.PositionAt(2 * 8 + 3, 20, 5, 0), (TTextPosition{6, 0}));
    EXPECT_EQ(geometry.PositionAt(2 * 8 + 4, 20, 5, 0), (TTextPosition{6, 1}));
    geometry.Width = 2000 * 8;
    EXPECT_EQ(geometry.PaintColumns(), TColourRow::MaximumColumns);
}

TEST(ScrollBars, RangesThumbsAndVisibility) {
    TEditorFixture f("one");
    EXPECT_FALSE(f.Editor.ScrollBars().Vertical.Visible);
    EXPECT_FALSE(f.Editor.ScrollBars().Horizontal.Visible);
    f.Editor.SplitLine(0, 3);
    const TScrollBars bars = f.View.Bars;
    EXPECT_TRUE(bars.Vertical.Visible);
    EXPECT_EQ(bars.Vertical.Page, 20);
    EXPECT_EQ(bars.Vertical.Maximum, 2 + 20 - 1);
    EXPECT_EQ(bars.Vertical.Position, 0);
    EXPECT_FALSE(bars.Horizontal.Visible);
    EXPECT_EQ(bars.Horizontal.Page, 80);

    f.Editor.InsertText(std::string(100, 'x'), 1, 0);
    EXPECT_TRUE(f.View.Bars.Horizontal.Visible);
    EXPECT_EQ(f.View.Bars.Horizontal.Maximum, 100);
    EXPECT_TRUE(f.Editor.Geometry().HorizontalBarShown);
    f.Editor.HorizontalScrolled(30);
    EXPECT_EQ(f.Editor.LeftColumn(), 30);
    EXPECT_EQ(f.View.Bars.Horizontal.Maximum, 110);
    f.Editor.VerticalScrolled(1);
    EXPECT_EQ(f.Editor.TopLine(), 1);

    f.Set([](TTextEditorOptions& o) {
        o.AutoVScrollBar = false;
        o.AutoHScrollBar = false;
    });
    EXPECT_FALSE(f.View.Bars.Vertical.Visible);
    EXPECT_FALSE(f.View.Bars.Horizontal.Visible);
}

TEST(Repainting, UpdatesGatherRequestsUntilTheLastEnd) {
    TEditorFixture f("a\nb\nc\nd\ne");
    f.Editor.BeginUpdate();
    f.Editor.InsertText("x", 1, 0);
    f.Editor.InsertText("x", 2, 0);
    f.Editor.InsertText("x", 4, 0);
    EXPECT_EQ(f.View.Count("lines 1-2"), 0);
    f.Editor.EndUpdate();
    EXPECT_EQ(f.View.Count("lines 1-2"), 1);
    EXPECT_EQ(f.View.Count("lines 4-4"), 1);
    f.View.Calls.clear();
    f.Editor.BeginUpdate();
    f.Editor.InsertText("y", 0, 0);
    f.Editor.SplitLine(1, 0);
    f.Editor.EndUpdate();
    EXPECT_EQ(f.View.Count("lines 0-0"), 1);
    EXPECT_EQ(f.View.Count("from 1"), 1);
    f.View.Calls.clear();
    f.Editor.InvalidateLines(50, 60); // not in the window
    EXPECT_TRUE(f.View.Calls.empty());
}

TEST(Repainting, ALinkedEditorIsToldFirst) {
    TEditorFixture f("a\nb");
    TRecordingView secondView;
    TTextEditor second;
    second.SetView(&secondView);
    second.SetFile(&f.File);
    f.Editor.SetFile(&f.File);
    f.Editor.LinkedEditor = &second;
    secondView.Calls.clear();
    f.View.Calls.clear();
    f.Editor.InsertText("x", 1, 0);
    EXPECT_EQ(secondView.Count("lines 1-1"), 1);
    EXPECT_EQ(f.View.Count("lines 1-1"), 1);
    second.SetFile(nullptr);
}

TEST(Files, ShowingAFileTellsTheViewInOrder) {
    TEditorFixture f("a");
    TTextEditorFile other;
    other.LoadFromText("x\ny");
    f.Editor.SetFile(&other);
    const std::vector<std::string> events{"OnTopLeftMoved", "OnCaretMoved", "OnSelectionChanged",
                                          "OnModifiedChanged", "OnLineCountChanged"};
    std::vector<std::string> seen;
    for (const std::string& call : f.View.Calls)
        if (call.rfind("On", 0) == 0)
            seen.push_back(call);
    EXPECT_EQ(seen, events);
    EXPECT_EQ(f.View.Count("all"), 1);
    EXPECT_EQ(other.Editor, &f.Editor);
    EXPECT_EQ(f.File.Editor, nullptr);
}

TEST(Files, ADestroyedFileIsNoLongerShown) {
    TEditorFixture f("a");
    {
        TTextEditorFile temporary;
        temporary.LoadFromText("t");
        f.Editor.SetFile(&temporary);
    }
    EXPECT_EQ(f.Editor.File().LineText(0), "");
    f.Editor.InsertText("z", 0, 0);
    EXPECT_EQ(f.Editor.File().LineText(0), "z");
}

TEST(Files, LineListChangesReachTheEditor) {
    TEditorFixture f("");
    f.File.Lines.AddLine("first");
    EXPECT_EQ(f.View.Count("OnLineCountChanged"), 1);
    f.File.Lines.AddLine("second");
    EXPECT_EQ(f.View.Count("from 1"), 1);
    f.Editor.MoveCaret(1, 3);
    f.View.Calls.clear();
    f.File.Lines.Clear();
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 0}));
    EXPECT_EQ(f.View.Count("all"), 1);
    EXPECT_EQ(f.Editor.TopLine(), 0);
}

TEST(Files, TheEditorLendsItsLoadRules) {
    TEditorFixture f("");
    f.Set([](TTextEditorOptions& o) {
        o.TabSize = 4;
        o.RemoveTrailingBlanks = false;
    });
    f.File.LoadFromText("a\tb  ");
    EXPECT_EQ(f.File.LineText(0), "a    b  ");
}

TEST(Rows, RunsFillMarginAndMarks) {
    TEditorFixture f("abc def\nxyz\nlast");
    f.Set([](TTextEditorOptions& o) {
        o.ShowCaretLineFG = false;
        o.ShowModifiedLines = true;
        o.ShowCaretLine = true;
        o.VisibleEOF = true;
    });
    f.Select({0, 2}, {0, 5});
    TTextEditorRow row;
    f.Editor.PaintRow(0, row);
    ASSERT_EQ(row.Runs.size(), 3u);
    EXPECT_EQ(row.Runs[0].Characters, "ab");
    EXPECT_EQ(row.Runs[0].X, 16);
    EXPECT_EQ(row.Runs[1].Characters, "c d");
    EXPECT_EQ(row.Runs[1].Back, ButtonFaceColor);
    EXPECT_EQ(row.Runs[1].Text, NavyColor);
    EXPECT_EQ(row.Runs[2].Characters, "ef");
    EXPECT_EQ(row.FillX, (2 + 7) * 8);
    EXPECT_EQ(row.FillColor, NavyColor);
    EXPECT_EQ(row.MarginWidth, 16);
    EXPECT_EQ(row.MarginColor, NavyColor);
    EXPECT_TRUE(row.CaretLineFrame);
    EXPECT_FALSE(row.EndOfFileLine);

    f.Editor.InsertText("!", 1, 0);
    f.Editor.PaintRow(1, row);
    EXPECT_EQ(row.MarginColor, 0x00FFFFu);
    EXPECT_FALSE(row.CaretLineFrame);
    f.Editor.PaintRow(2, row);
    EXPECT_TRUE(row.EndOfFileLine);
    f.Editor.PaintRow(3, row);
    EXPECT_TRUE(row.PastEnd);
    EXPECT_TRUE(row.Runs.empty());
    EXPECT_EQ(row.FillColor, NavyColor);

    f.Editor.SetTopLeft(0, 5);
    f.Editor.PaintRow(0, row);
    ASSERT_EQ(row.Runs.size(), 1u);
    EXPECT_EQ(row.Runs[0].Column, 5);
    EXPECT_EQ(row.Runs[0].Characters, "ef");
    EXPECT_EQ(row.Runs[0].X, 16);
}

TEST(Rows, AStreamSelectionFillsTheLineEndsButTheLast) {
    TEditorFixture f("ab\ncd\nef");
    f.Set([](TTextEditorOptions& o) { o.ShowCaretLineFG = false; });
    f.Select({0, 1}, {1, 1});
    TColourRow row;
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.EndOfLineFill(), ButtonFaceColor);
    f.Editor.ColorLine(1, row);
    EXPECT_EQ(row.EndOfLineFill(), NavyColor);
    EXPECT_EQ(row.Cell(0).Back, ButtonFaceColor);
    EXPECT_EQ(row.Cell(1).Back, NavyColor);
    f.Editor.SetSelectionMode(smBlock);
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(0).Back, NavyColor);
    EXPECT_EQ(row.Cell(1).Back, ButtonFaceColor);
    EXPECT_EQ(row.Cell(2).Back, NavyColor);
    EXPECT_EQ(row.EndOfLineFill(), NavyColor);
}

TEST(ParenthesisDiagram, BracketsOfTheCaretLine) {
    using Brackets = std::vector<TDiagramBracket>;
    auto brackets = TTextEditorParenthesisDiagramHelper::Brackets("f((a)(b))");
    ASSERT_EQ(brackets.size(), 3u);
    EXPECT_EQ(brackets[0].OpenColumn, 2);
    EXPECT_EQ(brackets[0].CloseColumn, 4);
    EXPECT_EQ(brackets[0].Count, 0);
    EXPECT_EQ(brackets[1].OpenColumn, 5);
    EXPECT_EQ(brackets[1].Count, 1);
    EXPECT_EQ(brackets[2].OpenColumn, 1);
    EXPECT_EQ(brackets[2].CloseColumn, 8);
    EXPECT_EQ(brackets[2].Count, 2);
    EXPECT_EQ(TTextEditorParenthesisDiagramHelper::Brackets("(a) (b) ) ("),
              Brackets({{0, 2, 0}, {4, 6, 0}}));

    TEditorFixture f("x\ny\nf((a)(b))\nz");
    auto* diagram = new TTextEditorParenthesisDiagramHelper(f.Editor);
    f.Editor.Helpers.Add(diagram);
    f.View.Calls.clear();
    f.Editor.MoveCaret(2, 0);
    // (4 * 2 + 16 + 4) div 16 + 1 rows around the line.
    EXPECT_EQ(diagram->Reach(), 2);
    EXPECT_EQ(f.View.Count("lines 0-3"), 1);
    TTextEditorRow row;
    f.Editor.PaintRow(2, row);
    ASSERT_EQ(row.Overlay.size(), 9u);
    const int y = 2 * 16;
    const TOverlaySegment first = row.Overlay[1]; // the level of the first bracket
    EXPECT_EQ(first.Y1, y);
    EXPECT_EQ(first.X1, (4 + 2) * 8 + 4);
    EXPECT_EQ(first.X2, (2 + 2) * 8 + 4);
    EXPECT_EQ(row.Overlay[4].Y1, y + 16 + 4 + 4);
    EXPECT_EQ(row.Overlay[7].Y1, y - 8);
    EXPECT_EQ(row.Overlay[0].Color, DiagramColor);
    f.Editor.PaintRow(1, row);
    EXPECT_TRUE(row.Overlay.empty());
    diagram->Enabled = false;
    f.Editor.PaintRow(2, row);
    EXPECT_TRUE(row.Overlay.empty());
}

TEST(HighlightWord, ShowsUntilTheCaretMovesOrTheTextChanges) {
    TEditorFixture f("abc def\nxyz");
    auto* word = new TTextEditorHighlightWordHelper(f.Editor);
    f.Editor.Helpers.Add(word);
    word->Line = 0;
    word->StartColumn = 4;
    word->EndColumn = 6;
    f.View.Calls.clear();
    word->Show();
    EXPECT_EQ(f.View.Count("lines 0-0"), 1);
    TColourRow row;
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(4).Back, BlackColor);
    EXPECT_EQ(row.Cell(3).Back, NavyColor);
    f.Editor.InsertText("q", 1, 0);
    EXPECT_FALSE(word->Active());
    word->Show();
    TTextEditorFile other;
    f.Editor.SetFile(&other);
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(4).Back, NavyColor);
    f.Editor.SetFile(&f.File);
}

TEST(Colours, DefaultColoursAreClassZeroOfTheEditorsLanguage) {
    TEditorFixture f("a");
    f.Editor.SetDefaultBackgroundColor(0x112233);
    f.Editor.SetDefaultForegroundColor(0x445566);
    EXPECT_EQ(f.Editor.OwnLanguage().Colors[ccNormal], (TColourPair{0x445566, 0x112233}));
    TTextEditorRow row;
    f.Editor.PaintRow(5, row);
    EXPECT_EQ(row.FillColor, 0x112233u);
}

} // namespace
} // namespace corvid
