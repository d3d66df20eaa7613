#pragma once

#include "editor/char_set.h"

#include <optional>
#include <string_view>

namespace corvid {

// Word navigation within one line; the word characters come from the language.

// Skips word characters, then other characters, from the column; at most the line length.
int NextWordStart(std::string_view text, int column, const TCharSet& wordCharacters);
// The start of the word before the one under the column (the line length when the column is
// past it): backwards over word characters, other characters, then word characters.
int PreviousWordStart(std::string_view text, int column, const TCharSet& wordCharacters);

struct TWordBounds {
    int Start;
    int End; // exclusive
};

// The run of word characters around the column (empty between two non-word characters);
// none when the column is past the line end.
std::optional<TWordBounds> WordBounds(std::string_view text, int column,
                                      const TCharSet& wordCharacters);

} // namespace corvid
