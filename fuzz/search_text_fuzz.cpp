// SearchText, ReplaceAllText and MatchesMaskList on hostile patterns and texts, each checked
// against its straightforward form. Input: byte 0 the options (low 5 bits), bytes 1-2 the start
// (signed 16 bits, little-endian), byte 3 the pattern length, then the pattern and the text.
#include "foundation/text_search.h"

#include "../tests/foundation/text_reference.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const unsigned options = data[0] & 31u;
    const int start = static_cast<int16_t>(data[1] | (data[2] << 8));
    const size_t patternLength = std::min<size_t>(data[3], size - 4);
    const std::string_view pattern(reinterpret_cast<const char*>(data + 4), patternLength);
    const std::string text(reinterpret_cast<const char*>(data + 4 + patternLength),
                           size - 4 - patternLength);

    TSearchResult actual{-7, -7};
    TSearchResult expected{-7, -7};
    const int found = SearchText(pattern, text, start, options, &actual);
    if (found != reference::RecursiveSearchText(pattern, text, start, options, &expected) ||
        actual.MatchLength != expected.MatchLength ||
        actual.NextLineStart != expected.NextLineStart)
        __builtin_trap();
    if (found > 0 && !pattern.empty() &&
        (found < start || found + actual.MatchLength - 1 > static_cast<int>(text.size())))
        __builtin_trap();

    const std::string_view replacement = pattern.substr(patternLength / 2);
    std::string replaced = text;
    std::string replacedInPlace = text;
    if (ReplaceAllText(replaced, pattern, replacement, options) !=
            reference::InPlaceReplaceAllText(replacedInPlace, pattern, replacement, options) ||
        replaced != replacedInPlace)
        __builtin_trap();

    const int matches = MatchesMaskList(text, pattern);
    if (matches != 1 && matches != -1)
        __builtin_trap();
    return 0;
}
