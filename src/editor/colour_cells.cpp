#include "editor/colour_cells.h"

#include <algorithm>

namespace corvid {

void TColourRow::Reset(int leftColumn, int visibleColumns, TColourPair colours) {
    First = leftColumn;
    Count = std::clamp(visibleColumns, 0, MaximumColumns);
    const TColourCell cell{colours.Text, colours.Back, 0, 0};
    std::fill(Cells.begin(), Cells.begin() + Count, cell);
    Fill = colours.Back;
    FillPriority = 0;
}

template <typename Paint>
void TColourRow::ForVisible(int from, int to, Paint paint) {
    const int first = std::max(from, First);
    const int last = std::min(to, EndColumn() - 1);
    for (int column = first; column <= last; ++column)
        paint(Cells[static_cast<size_t>(column - First)]);
}

void TColourRow::ColorSpan(int from, int to, TColourPair colours, int priority) {
    ColorText(from, to, colours.Text, priority);
    ColorBack(from, to, colours.Back, priority);
}

void TColourRow::ColorText(int from, int to, TColor text, int priority) {
    ForVisible(from, to, [&](TColourCell& cell) {
        if (cell.TextPriority > priority)
            return;
        cell.Text = text;
        cell.TextPriority = priority;
    });
}

void TColourRow::ColorBack(int from, int to, TColor back, int priority) {
    ForVisible(from, to, [&](TColourCell& cell) {
        if (cell.BackPriority > priority)
            return;
        cell.Back = back;
        cell.BackPriority = priority;
    });
}

void TColourRow::FillEndOfLine(TColor back, int priority) {
    if (FillPriority > priority)
        return;
    Fill = back;
    FillPriority = priority;
}

} // namespace corvid
