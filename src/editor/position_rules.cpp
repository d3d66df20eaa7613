#include "editor/position_rules.h"

#include <algorithm>

namespace corvid {

namespace {

TTextPosition AfterSplit(TTextPosition place, int line, int column, bool moves) {
    if (place.Line == line && moves)
        return {line + 1, place.Column - column};
    if (place.Line > line)
        return {place.Line + 1, place.Column};
    return place;
}

TTextPosition AfterInsert(TTextPosition place, int line, int count, bool moves) {
    if (place.Line == line && moves)
        return {line, place.Column + count};
    return place;
}

// The joins at column 0 of every line from LowerLine - 1 up to UpperLine + 1: the middle lines
// collapse onto the start of the line after UpperLine and the last line takes their place.
TTextPosition AfterMiddleLinesJoined(TTextPosition place, const TDeletedRange& range) {
    const int removed = range.LowerLine - range.UpperLine - 1;
    if (removed <= 0 || place.Line <= range.UpperLine)
        return place;
    if (place.Line < range.LowerLine)
        return {range.UpperLine + 1, place.Column >= 0 ? 0 : place.Column};
    return {place.Line - removed, place.Column};
}

} // namespace

TTextPosition StartAfterLineSplit(TTextPosition place, int line, int column) {
    return AfterSplit(place, line, column, column <= place.Column);
}

TTextPosition EndAfterLineSplit(TTextPosition place, int line, int column) {
    return AfterSplit(place, line, column, column < place.Column);
}

TTextPosition AfterLinesJoined(TTextPosition place, int line, int column) {
    if (place.Line == line && column <= place.Column)
        return {line, column};
    if (place.Line == line + 1)
        return {line, place.Column + column};
    if (place.Line > line + 1)
        return {place.Line - 1, place.Column};
    return place;
}

TTextPosition StartAfterTextInserted(TTextPosition place, int line, int column, int count) {
    return AfterInsert(place, line, count, column <= place.Column);
}

TTextPosition EndAfterTextInserted(TTextPosition place, int line, int column, int count) {
    return AfterInsert(place, line, count, column < place.Column);
}

TTextPosition AfterTextDeleted(TTextPosition place, int line, int column, int count) {
    if (place.Line == line && place.Column >= column)
        return {line, std::max(place.Column - count, column)};
    return place;
}

TTextPosition AfterRangeDeleted(TTextPosition place, const TDeletedRange& range) {
    if (range.UpperLine == range.LowerLine) {
        const int width = range.LowerColumn - range.UpperColumn;
        return width < 1 ? place
                         : AfterTextDeleted(place, range.UpperLine, range.UpperColumn, width);
    }
    place = AfterMiddleLinesJoined(place, range);
    if (range.LowerColumn >= 1)
        place = AfterTextDeleted(place, range.UpperLine + 1, 0, range.LowerColumn);
    return AfterLinesJoined(place, range.UpperLine, range.UpperColumn);
}

} // namespace corvid
