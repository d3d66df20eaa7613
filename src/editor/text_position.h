#pragma once

#include <compare>

namespace corvid {

// A place in a document: 0-based line and column; (-1, -1) is no place at all.
struct TTextPosition {
    int Line = -1;
    int Column = -1;

    bool IsNone() const { return Line < 0; }
    friend auto operator<=>(const TTextPosition&, const TTextPosition&) = default;
};

} // namespace corvid
