#include "editor/editor_search.h"

#include "editor/text_editor_file.h"
#include "foundation/text_search.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace corvid {

namespace {

bool Has(unsigned options, unsigned option) {
    return (options & option) != 0;
}

unsigned SearchOptions(unsigned options, bool backwards) {
    bool wordStart = Has(options, foStartOfWord | foWholeWord);
    bool wordEnd = Has(options, foEndOfWord | foWholeWord);
    if (backwards)
        std::swap(wordStart, wordEnd);
    unsigned search = 0;
    if (Has(options, foCaseSensitive))
        search |= soCaseSensitive;
    if (wordStart)
        search |= soWordStart;
    if (wordEnd)
        search |= soWordEnd;
    if (Has(options, foWildcards))
        search |= soWildcards;
    return search;
}

// The pattern that finds, in reversed text, what the pattern finds in the text. A wildcard
// escape stays in front of the character it escapes, and the line anchors change ends.
std::string ReversedPattern(std::string_view pattern, bool wildcards) {
    if (!wildcards)
        return std::string(pattern.rbegin(), pattern.rend());
    std::vector<std::string_view> pieces;
    for (size_t index = 0; index < pattern.size(); ++index) {
        const size_t length = pattern[index] == '/' && index + 1 < pattern.size() ? 2 : 1;
        pieces.push_back(pattern.substr(index, length));
        index += length - 1;
    }
    std::string reversed;
    reversed.reserve(pattern.size());
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        if (*piece == "^")
            reversed += '$';
        else if (*piece == "$")
            reversed += '^';
        else
            reversed += *piece;
    }
    return reversed;
}

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

std::optional<TFindResult> FindForwards(const TTextEditorFile& file, std::string_view pattern,
                                        TTextPosition start, unsigned options,
                                        const TFindBounds* bounds) {
    int lastLine = file.LineCount() - 1;
    if (bounds) {
        start = std::max(start, bounds->Upper);
        lastLine = std::min(lastLine, bounds->Lower.Line);
    }
    const unsigned search = SearchOptions(options, false);
    for (int line = start.Line; line <= lastLine; ++line) {
        const std::string_view text = file.LineText(line);
        const int from = line == start.Line ? start.Column : 0;
        if (from > Length(text))
            continue;
        TSearchResult match{};
        const int found = SearchText(pattern, text, from + 1, search, &match);
        if (found < 1)
            continue;
        const TFindResult result{line, found - 1, match.MatchLength};
        if (bounds && line == bounds->Lower.Line &&
            result.Column + result.Length > bounds->Lower.Column)
            return std::nullopt;
        return result;
    }
    return std::nullopt;
}

std::optional<TFindResult> FindBackwards(const TTextEditorFile& file, std::string_view pattern,
                                         TTextPosition start, unsigned options,
                                         const TFindBounds* bounds) {
    int firstLine = 0;
    if (bounds) {
        start = std::min(start, bounds->Lower);
        firstLine = bounds->Upper.Line;
    }
    const unsigned search = SearchOptions(options, true);
    const std::string reversedPattern = ReversedPattern(pattern, Has(options, foWildcards));
    std::string reversed;
    for (int line = start.Line; line >= firstLine; --line) {
        const std::string_view text = file.LineText(line);
        const int limit = line == start.Line ? std::min(start.Column, Length(text)) : Length(text);
        // The whole line, reversed, searched from the start column on: a match ends before the
        // column, and the word boundaries see the characters that really surround it.
        reversed.assign(text.rbegin(), text.rend());
        TSearchResult match{};
        const int found =
            SearchText(reversedPattern, reversed, Length(text) - limit + 1, search, &match);
        if (found < 1)
            continue;
        const TFindResult result{line, Length(text) - (found - 1) - match.MatchLength,
                                 match.MatchLength};
        if (bounds && line == bounds->Upper.Line && result.Column < bounds->Upper.Column)
            return std::nullopt;
        return result;
    }
    return std::nullopt;
}

} // namespace

std::optional<TFindResult> FindInDocument(const TTextEditorFile& file, std::string_view pattern,
                                          int line, int column, unsigned options,
                                          const std::optional<TFindBounds>& selection) {
    if (pattern.empty() || line < 0 || line >= file.LineCount())
        return std::nullopt;
    if (Has(options, foSelectedText) && !selection)
        return std::nullopt;
    const TFindBounds* bounds = Has(options, foSelectedText) ? &*selection : nullptr;
    if (!Has(options, foBackwards))
        return FindForwards(file, pattern, {line, std::max(column, 0)}, options, bounds);
    TTextPosition start{line, column};
    if (column < 0)
        start = {line - 1, INT_MAX};
    if (start.Line < 0)
        return std::nullopt;
    return FindBackwards(file, pattern, start, options, bounds);
}

} // namespace corvid
