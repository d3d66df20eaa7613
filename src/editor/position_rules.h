#pragma once

#include "editor/text_position.h"

namespace corvid {

// How a place in a document follows an edit. A mark's start point moves with text inserted
// exactly at it; a region's exclusive end point does not, so a region never grows by typing at
// its edges. Joins and deletions treat both alike. A place at (-1, -1) never moves.

TTextPosition StartAfterLineSplit(TTextPosition place, int line, int column);
TTextPosition EndAfterLineSplit(TTextPosition place, int line, int column);
TTextPosition AfterLinesJoined(TTextPosition place, int line, int column);
TTextPosition StartAfterTextInserted(TTextPosition place, int line, int column, int count);
TTextPosition EndAfterTextInserted(TTextPosition place, int line, int column, int count);
TTextPosition AfterTextDeleted(TTextPosition place, int line, int column, int count);

// A stream of text deleted in one step, from (UpperLine, UpperColumn) to the exclusive
// (LowerLine, LowerColumn).
struct TDeletedRange {
    int UpperLine;
    int UpperColumn;
    int LowerLine;
    int LowerColumn;
};

// Where the place ends up when the range goes as the editor deletes a stream selection: the
// middle lines by joins at column 0 from the bottom up, the start of the last line, then the
// join of the first line at its column.
TTextPosition AfterRangeDeleted(TTextPosition place, const TDeletedRange& range);

} // namespace corvid
