#include "editor/editor_geometry.h"

#include "editor/colour_cells.h"

#include <algorithm>

namespace corvid {

namespace {

int FloorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

} // namespace

int TEditorGeometry::ClientWidth() const {
    return std::max(0, Width - (VerticalBarShown ? ScrollBarThickness : 0));
}

int TEditorGeometry::ClientHeight() const {
    return std::max(0, Height - (HorizontalBarShown ? ScrollBarThickness : 0));
}

int TEditorGeometry::VisibleRows() const {
    return LineHeight > 0 ? ClientHeight() / LineHeight : 0;
}

int TEditorGeometry::VisibleColumns() const {
    return CharWidth > 0 ? std::max(0, ClientWidth() / CharWidth - LeftColumnMargin) : 0;
}

int TEditorGeometry::PaintRows() const {
    return LineHeight > 0 ? (ClientHeight() + LineHeight - 1) / LineHeight : 0;
}

int TEditorGeometry::PaintColumns() const {
    if (CharWidth <= 0)
        return 0;
    const int partial = ClientWidth() % CharWidth != 0 ? 1 : 0;
    const int columns = ClientWidth() / CharWidth - LeftColumnMargin + partial;
    return std::clamp(columns, 0, TColourRow::MaximumColumns);
}

TTextPosition TEditorGeometry::PositionAt(int x, int y, int topLine, int leftColumn) const {
    if (LineHeight <= 0 || CharWidth <= 0)
        return {topLine, leftColumn};
    return {FloorDivide(y, LineHeight) + topLine,
            FloorDivide(x + CharWidth / 2, CharWidth) + leftColumn - LeftColumnMargin};
}

TScrollBars TEditorGeometry::ScrollBarsFor(const TScrollInput& input) const {
    TScrollBars bars;
    const int rows = VisibleRows();
    bars.Vertical.Maximum = input.LineCount + rows - 1;
    bars.Vertical.Page = rows;
    bars.Vertical.Position = input.TopLine;
    bars.Vertical.Visible = input.AutoVertical && bars.Vertical.Page < bars.Vertical.Maximum;

    const int columns = VisibleColumns();
    bars.Horizontal.Maximum = std::max(input.LongestVisibleLine, input.LeftColumn + columns);
    bars.Horizontal.Page = columns;
    bars.Horizontal.Position = input.LeftColumn;
    bars.Horizontal.Visible =
        input.AutoHorizontal && bars.Horizontal.Page < bars.Horizontal.Maximum;
    return bars;
}

TScrollBars TEditorGeometry::FitScrollBars(const TScrollInput& input) {
    TScrollBars bars = ScrollBarsFor(input);
    for (int round = 0; round < 3; ++round) {
        if (bars.Vertical.Visible == VerticalBarShown &&
            bars.Horizontal.Visible == HorizontalBarShown)
            break;
        VerticalBarShown = bars.Vertical.Visible;
        HorizontalBarShown = bars.Horizontal.Visible;
        bars = ScrollBarsFor(input);
    }
    return bars;
}

} // namespace corvid
