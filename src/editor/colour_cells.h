#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvid {

// A colour in the stored Windows form 0x00BBGGRR; 0x80000000 | n is system colour n.
using TColor = uint32_t;

struct TColourPair {
    TColor Text;
    TColor Back;
    friend bool operator==(const TColourPair&, const TColourPair&) = default;
};

// The colours of one character cell. A contributor writes a colour only when the cell's
// priority for it is not above its own, and leaves its own priority behind: so the selection
// (100) wins over the highlighter (0), and a breakpoint line (200) over the selection.
struct TColourCell {
    TColor Text = 0;
    TColor Back = 0;
    int TextPriority = 0;
    int BackPriority = 0;
};

// The colours of one row as the contributors of a line leave them: a cell per visible column
// and the fill after the end of the text. Columns are document columns; whatever falls outside
// the visible columns is ignored, and no row is ever wider than MaximumColumns.
class TColourRow {
public:
    static constexpr int MaximumColumns = 501;

    // Every visible cell and the end-of-line fill take the colours, with priority 0.
    void Reset(int leftColumn, int visibleColumns, TColourPair colours);

    int LeftColumn() const { return First; }
    int VisibleColumns() const { return Count; }
    // One past the last visible document column.
    int EndColumn() const { return First + Count; }
    bool IsVisible(int column) const { return column >= First && column < EndColumn(); }
    // The cell of a visible document column.
    const TColourCell& Cell(int column) const { return Cells[static_cast<size_t>(column - First)]; }

    // Inclusive spans of document columns.
    void ColorSpan(int from, int to, TColourPair colours, int priority);
    void ColorText(int from, int to, TColor text, int priority);
    void ColorBack(int from, int to, TColor back, int priority);

    TColor EndOfLineFill() const { return Fill; }
    void FillEndOfLine(TColor back, int priority);

private:
    std::array<TColourCell, MaximumColumns> Cells{};
    int First = 0;
    int Count = 0;
    TColor Fill = 0;
    int FillPriority = 0;

    template <typename Paint>
    void ForVisible(int from, int to, Paint paint);
};

} // namespace corvid
