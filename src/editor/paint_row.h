#pragma once

#include "editor/colour_cells.h"

#include <string_view>
#include <vector>

namespace corvid {

enum class TPenStyle { Solid, Dotted };

// A glyph in the left margin, in pixels relative to the row's top-left corner.
enum class TGutterShape {
    FilledEllipse, // inside the rectangle (X1, Y1)-(X2, Y2)
    Cross,         // two lines: (X1, Y1)-(X2, Y2) and (X3, Y3)-(X4, Y4)
    RowFrame,      // an unfilled frame around the whole row
};

struct TGutterMark {
    TGutterShape Shape;
    TColor Color;
    TPenStyle Pen = TPenStyle::Solid;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

using TGutterMarks = std::vector<TGutterMark>;

// A line that a helper draws over the text, in client pixels; it may cross other rows, so the
// view draws the overlay after the rows.
struct TOverlaySegment {
    int X1, Y1, X2, Y2;
    TColor Color;
    TPenStyle Pen = TPenStyle::Solid;
};

using TOverlay = std::vector<TOverlaySegment>;

// Neighbouring characters with equal colours, drawn in one go from pixel X.
struct TTextRun {
    int Column;
    int X;
    std::string_view Characters; // valid until the document changes
    TColor Text;
    TColor Back;
};

// Everything a view paints for one visible row, in painting order: the text runs, the fill
// after the text, the margin, the caret-line frame, the end-of-file line, the margin glyphs
// and the helpers' overlay. X and Y are client pixels.
struct TTextEditorRow {
    int Line = 0;
    int Y = 0;
    int Height = 0;
    bool PastEnd = false; // no document line here: the row is filled with FillColor

    TColourRow Cells;
    std::vector<TTextRun> Runs;
    int FillX = 0; // from here to the right edge
    TColor FillColor = 0;

    int MarginWidth = 0; // 0: no margin
    TColor MarginColor = 0;

    bool CaretLineFrame = false;
    TColor CaretLineFrameColor = 0;
    TPenStyle CaretLineFramePen = TPenStyle::Dotted;

    bool EndOfFileLine = false; // along the bottom of the row
    TColor EndOfFileColor = 0;

    TGutterMarks Gutter;
    TOverlay Overlay;
};

} // namespace corvid
