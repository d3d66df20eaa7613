#pragma once

#include <string>
#include <string_view>

namespace corvid {

// Option bits of SearchText and ReplaceAllText.
inline constexpr unsigned soCaseSensitive = 1; // without it ASCII letters compare upper-cased
inline constexpr unsigned soWordStart = 2;     // no identifier character may precede the match
inline constexpr unsigned soWordEnd = 4;       // no identifier character may follow the match
inline constexpr unsigned soSingleLine = 8;    // the search ends at the first carriage return
inline constexpr unsigned soWildcards = 16;    // the pattern uses the wildcard syntax below

struct TSearchResult {
    int NextLineStart; // set only when a single-line search stopped at a line break
    int MatchLength;   // set only when a match was found
};

// Returns the 1-based position of the first match at or after `start` (below 1 counts as 1), or
// -1. An empty pattern matches at once at `start` with length 0.
//
// Wildcards: `?` and `[` match any one character, `/` makes the next pattern character literal
// (a `/` that ends the pattern is itself literal), `^` matches no text and only at position 1,
// `$` matches no text and only past the last character or at a carriage return. `*` takes the
// shortest stretch after which the rest of the pattern is found; when the rest is not found at
// all the whole search fails, and a match completed by `*` ignores the word options.
int SearchText(std::string_view pattern, std::string_view text, int start, unsigned options,
               TSearchResult* result = nullptr);

// Replaces every match from position 1 on and returns the count. The search resumes after the
// inserted replacement, one character further after a match of length 0, so a replacement is
// never searched again and the loop always ends. An empty `find` replaces nothing.
int ReplaceAllText(std::string& text, std::string_view find, std::string_view replacement,
                   unsigned options);

// 1 when the file name matches one of the `;`-separated wildcard masks (case-insensitive),
// otherwise -1. Only the name after the last '/' is matched, so a dotted directory cannot end a
// `*` early. A name without extension is matched with a trailing `.`, so `*.` selects it.
int MatchesMaskList(std::string_view fileName, std::string_view maskList);

} // namespace corvid
