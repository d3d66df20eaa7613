#pragma once

// Straightforward forms of the text routines, written for clarity rather than speed, that the
// tests and the fuzz targets compare the real ones against.

#include "foundation/text_search.h"

#include <string>
#include <string_view>

namespace corvid::reference {

inline bool IsIdentifierChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline char Fold(char c, unsigned options) {
    return (options & soCaseSensitive) || c < 'a' || c > 'z' ? c : static_cast<char>(c - 32);
}

// The search as a recursion: every `*` starts a nested search for the rest of the pattern.
inline int RecursiveSearchText(std::string_view pattern, std::string_view text, int start,
                               unsigned options, TSearchResult* result) {
    if (start < 1)
        start = 1;
    if (pattern.empty()) {
        if (result)
            result->MatchLength = 0;
        return start;
    }
    const int patternLength = static_cast<int>(pattern.size());
    const int textLength = static_cast<int>(text.size());
    auto textAt = [&](int position) { return text[static_cast<size_t>(position - 1)]; };
    auto identifierAt = [&](int position) {
        return position >= 1 && position <= textLength && IsIdentifierChar(textAt(position));
    };
    const bool wildcards = (options & soWildcards) != 0;
    for (int s = start; s <= textLength; ++s) {
        if ((options & soSingleLine) && textAt(s) == '\r') {
            if (result)
                result->NextLineStart = s + (s < textLength && textAt(s + 1) == '\n' ? 2 : 1);
            return -1;
        }
        int p = 1;
        int t = s;
        bool failed = false;
        while (!failed && p <= patternLength && t <= textLength) {
            char wanted = pattern[static_cast<size_t>(p - 1)];
            if (wildcards && wanted == '*') {
                TSearchResult nested{result ? result->NextLineStart : 0, 0};
                const int found = RecursiveSearchText(pattern.substr(static_cast<size_t>(p)), text,
                                                      t, options, &nested);
                if (result)
                    result->NextLineStart = nested.NextLineStart;
                if (found < 0)
                    return -1;
                if (result)
                    result->MatchLength = found + nested.MatchLength - s;
                return s;
            }
            if (wildcards && (wanted == '^' || wanted == '$')) {
                failed = wanted == '^' ? t != 1 : textAt(t) != '\r';
                ++p;
                continue;
            }
            if (wildcards && (wanted == '?' || wanted == '[')) {
                ++p;
                ++t;
                continue;
            }
            if (wildcards && wanted == '/' && p < patternLength)
                wanted = pattern[static_cast<size_t>(p++)];
            failed = Fold(wanted, options) != Fold(textAt(t), options);
            ++p;
            ++t;
        }
        if (failed)
            continue;
        while (wildcards && t > textLength && p <= patternLength &&
               (pattern[static_cast<size_t>(p - 1)] == '*' ||
                pattern[static_cast<size_t>(p - 1)] == '$'))
            ++p;
        if (p <= patternLength)
            continue;
        if ((options & soWordStart) && identifierAt(s - 1))
            continue;
        if ((options & soWordEnd) && identifierAt(t))
            continue;
        if (result)
            result->MatchLength = t - s;
        return s;
    }
    return -1;
}

// Replacing in place: delete the match, insert the replacement, search on after it.
inline int InPlaceReplaceAllText(std::string& text, std::string_view find,
                                 std::string_view replacement, unsigned options) {
    if (find.empty())
        return 0;
    int count = 0;
    for (int from = 1;;) {
        TSearchResult match{};
        const int found = RecursiveSearchText(find, text, from, options, &match);
        if (found < 0)
            return count;
        text.replace(static_cast<size_t>(found - 1), static_cast<size_t>(match.MatchLength),
                     replacement);
        ++count;
        from = found + static_cast<int>(replacement.size()) + (match.MatchLength == 0 ? 1 : 0);
    }
}

// The extraction patterns that pick the n-th word (n from 1 to 256).
inline std::string GetParamSepPattern(int n, char separator) {
    return std::string("[rf[q]ffn") + separator + "msffc" + separator + "]l" +
           static_cast<char>(n - 1) + "rt[-]mecm";
}

inline std::string GetParamPattern(int n) {
    return std::string("[rf[q]ffn msffc ]l") + static_cast<char>(n - 1) + "rt[-]mecm";
}

inline constexpr char FileNameNoExtPattern[] = "msffc.rt[-]mecm";

} // namespace corvid::reference
