#include "editor/bookmarks.h"

#include "editor/bookmark_list.h"
#include "editor/colour_cells.h"
#include "editor/language_info.h"
#include "editor/text_editor.h"

#include <algorithm>

namespace corvid {

void TTextEditorBookmark::StorePosition(int line, int column) {
    const int oldLine = LineValue;
    LineValue = line;
    ColumnValue = column;
    if (Owner && oldLine != line && !IsRegion())
        Owner->PointMoved(this, oldLine);
}

void TTextEditorBookmark::SetPosition(int line, int column) {
    StorePosition(line, column);
}

void TTextEditorBookmark::SetLine(int line) {
    SetPosition(line, ColumnValue);
}

void TTextEditorBookmark::SetColumn(int column) {
    SetPosition(LineValue, column);
}

namespace {

void MoveTo(TTextEditorBookmark& bookmark, TTextPosition place) {
    if (place != bookmark.Position())
        bookmark.SetPosition(place.Line, place.Column);
}

} // namespace

void TTextEditorBookmark::LineSplit(int line, int column) {
    MoveTo(*this, StartAfterLineSplit(Position(), line, column));
}

void TTextEditorBookmark::LinesJoined(int line, int column) {
    MoveTo(*this, AfterLinesJoined(Position(), line, column));
}

void TTextEditorBookmark::TextInserted(int line, int column, int count) {
    MoveTo(*this, StartAfterTextInserted(Position(), line, column, count));
}

void TTextEditorBookmark::TextDeleted(int line, int column, int count) {
    MoveTo(*this, AfterTextDeleted(Position(), line, column, count));
}

void TTextEditorBookmark::RangeDeleted(const TDeletedRange& range) {
    MoveTo(*this, AfterRangeDeleted(Position(), range));
}

void TTextEditorBookmark::ColorLine(int, const TTextEditor&, TColourRow&) const {}

void TTextEditorBookmark::PaintGutter(int, const TTextEditor&, TGutterMarks&) const {}

void TTextEditorRegionBookmark::StoreEndPosition(int line, int column) {
    EndLineValue = line;
    EndColumnValue = column;
}

void TTextEditorRegionBookmark::SetEndPosition(int line, int column) {
    StoreEndPosition(line, column);
}

void TTextEditorRegionBookmark::SetEndLine(int line) {
    SetEndPosition(line, EndColumnValue);
}

void TTextEditorRegionBookmark::SetEndColumn(int column) {
    SetEndPosition(EndLineValue, column);
}

bool TTextEditorRegionBookmark::StartIsUpper() const {
    return Position() <= EndPosition();
}

int TTextEditorRegionBookmark::UpperLine() const {
    return std::min(Line(), EndLineValue);
}

int TTextEditorRegionBookmark::LowerLine() const {
    return std::max(Line(), EndLineValue);
}

int TTextEditorRegionBookmark::UpperColumn() const {
    return StartIsUpper() ? Column() : EndColumnValue;
}

int TTextEditorRegionBookmark::LowerColumn() const {
    return StartIsUpper() ? EndColumnValue : Column();
}

template <typename StartRule, typename EndRule>
void TTextEditorRegionBookmark::MoveBoth(StartRule start, EndRule end) {
    const TTextPosition newStart = start(Position());
    const TTextPosition newEnd = end(EndPosition());
    if (newStart != Position())
        SetPosition(newStart.Line, newStart.Column);
    if (newEnd != EndPosition())
        SetEndPosition(newEnd.Line, newEnd.Column);
}

void TTextEditorRegionBookmark::LineSplit(int line, int column) {
    MoveBoth([&](TTextPosition p) { return StartAfterLineSplit(p, line, column); },
             [&](TTextPosition p) { return EndAfterLineSplit(p, line, column); });
}

void TTextEditorRegionBookmark::LinesJoined(int line, int column) {
    const auto rule = [&](TTextPosition p) { return AfterLinesJoined(p, line, column); };
    MoveBoth(rule, rule);
}

void TTextEditorRegionBookmark::TextInserted(int line, int column, int count) {
    MoveBoth([&](TTextPosition p) { return StartAfterTextInserted(p, line, column, count); },
             [&](TTextPosition p) { return EndAfterTextInserted(p, line, column, count); });
}

void TTextEditorRegionBookmark::TextDeleted(int line, int column, int count) {
    const auto rule = [&](TTextPosition p) { return AfterTextDeleted(p, line, column, count); };
    MoveBoth(rule, rule);
}

void TTextEditorRegionBookmark::RangeDeleted(const TDeletedRange& range) {
    const auto rule = [&](TTextPosition p) { return AfterRangeDeleted(p, range); };
    MoveBoth(rule, rule);
}

void TTextEditorRegionBookmark::ColorLine(int line, const TTextEditor& editor,
                                          TColourRow& row) const {
    if (UpperLine() < 0 || line < UpperLine() || line > LowerLine())
        return;
    const TColourPair colours = editor.ActiveLanguage().Colors[ccSelection];
    if (editor.SelectionMode() == smBlock) {
        const int left = std::min(Column(), EndColumnValue);
        const int right = std::max(std::max(Column(), EndColumnValue) - 1, left);
        row.ColorSpan(left, right, colours, SelectionPriority);
        return;
    }
    const int from = line == UpperLine() ? UpperColumn() : 0;
    if (line == LowerLine()) {
        row.ColorSpan(from, LowerColumn() - 1, colours, SelectionPriority);
        return;
    }
    const int length = static_cast<int>(editor.File().LineText(line).size());
    row.ColorSpan(from, length, colours, SelectionPriority);
    row.FillEndOfLine(colours.Back, SelectionPriority);
}

void TTextEditorSelectionBookmark::SetPosition(int line, int column) {
    TTextEditorRegionBookmark::SetPosition(line, column);
    CollapseWhenEmpty();
}

void TTextEditorSelectionBookmark::SetEndPosition(int line, int column) {
    TTextEditorRegionBookmark::SetEndPosition(line, column);
    CollapseWhenEmpty();
}

void TTextEditorSelectionBookmark::CollapseWhenEmpty() {
    const TTextPosition none;
    if (!AutoCollapse || Position() != EndPosition() || Position() == none)
        return;
    StorePosition(-1, -1);
    StoreEndPosition(-1, -1);
}

void THC11SymbolBookmark::Change(bool& flag, bool value) {
    if (flag == value)
        return;
    flag = value;
    if (Editor && Line() >= 0)
        Editor->InvalidateLines(Line(), Line());
}

void THC11SymbolBookmark::ColorLine(int line, const TTextEditor&, TColourRow& row) const {
    if (line != Line() || !BreakpointValue)
        return;
    const TColor back = UnplacedValue ? UnplacedBreakpointColor : BreakpointColor;
    row.ColorSpan(row.LeftColumn(), row.EndColumn() - 1, {BreakpointTextColor, back},
                  BreakpointPriority);
    row.FillEndOfLine(back, BreakpointPriority);
}

void THC11SymbolBookmark::PaintGutter(int line, const TTextEditor& editor,
                                      TGutterMarks& marks) const {
    if (line != Line())
        return;
    const TEditorGeometry& geometry = editor.Geometry();
    const int middle = geometry.LineHeight / 2;
    if (UnplacedValue) {
        TGutterMark cross{TGutterShape::Cross, UnplacedBreakpointColor};
        cross.X1 = 4, cross.Y1 = middle - 3, cross.X2 = 13, cross.Y2 = middle + 4;
        cross.X3 = 12, cross.Y3 = middle - 3, cross.X4 = 3, cross.Y4 = middle + 4;
        marks.push_back(cross);
    } else {
        TGutterMark mark{TGutterShape::FilledEllipse,
                         BreakpointValue ? BreakpointColor : SymbolMarkColor};
        mark.X1 = 5, mark.Y1 = middle - 3, mark.X2 = 10, mark.Y2 = middle + 2;
        marks.push_back(mark);
    }
    if (ExecutionPointValue) {
        TGutterMark frame{TGutterShape::RowFrame, WhiteColor, TPenStyle::Dotted};
        frame.X2 = geometry.ClientWidth() - 1;
        frame.Y2 = geometry.LineHeight - 1;
        marks.push_back(frame);
    }
}

} // namespace corvid
