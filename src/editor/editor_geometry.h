#pragma once

#include "editor/text_editor_view.h"
#include "editor/text_position.h"

namespace corvid {

// Pixel arithmetic of an editor window: a fixed-pitch font, a left margin of whole character
// columns, and scroll bars along the right and bottom edges that take room from the client
// area while they are shown.
class TEditorGeometry {
public:
    int LineHeight = 16;
    int CharWidth = 8;
    // Of the whole control, scroll bars included; until a view says otherwise, room for 80
    // columns and 25 rows.
    int Width = 82 * 8;
    int Height = 25 * 16;
    int LeftColumnMargin = 2; // character columns
    bool VerticalBarShown = false;
    bool HorizontalBarShown = false;

    int ClientWidth() const;
    int ClientHeight() const;
    // Rows and columns that are wholly visible.
    int VisibleRows() const;
    int VisibleColumns() const;
    // The same with a partly visible row or column, as painting needs them; never more
    // columns than a colour row holds.
    int PaintRows() const;
    int PaintColumns() const;

    int MarginWidth() const { return LeftColumnMargin * CharWidth; }
    int RowY(int line, int topLine) const { return (line - topLine) * LineHeight; }
    int ColumnX(int column, int leftColumn) const {
        return (column - leftColumn + LeftColumnMargin) * CharWidth;
    }
    // The document place under a pixel, rounded to the nearest column boundary; not clamped.
    TTextPosition PositionAt(int x, int y, int topLine, int leftColumn) const;

    struct TScrollInput {
        int LineCount;
        int TopLine;
        int LeftColumn;
        int LongestVisibleLine;
        bool AutoVertical;
        bool AutoHorizontal;
    };
    // The bars for this state. Showing one bar can make the other necessary, so the shown
    // flags are settled here too.
    TScrollBars FitScrollBars(const TScrollInput& input);

private:
    TScrollBars ScrollBarsFor(const TScrollInput& input) const;
};

} // namespace corvid
