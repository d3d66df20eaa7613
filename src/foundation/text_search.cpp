#include "foundation/text_search.h"

#include "foundation/case_fold.h"
#include "foundation/file_names.h"

#include <algorithm>
#include <cstring>

namespace corvid {
namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';

bool IsIdentifierChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Positions are 1-based throughout, as the callers see them.
class Searcher {
public:
    Searcher(std::string_view text, unsigned options, TSearchResult* result)
        : Text(text), Length(static_cast<int>(text.size())), Options(options), Result(result) {}

    int Search(std::string_view pattern, int start) const;

private:
    enum class Outcome { NotFound, Matched, StarReached };
    struct Attempt {
        Outcome Kind;
        int Start = 0;
        int End = 0;            // the text position after the match, or where `*` was met
        size_t PatternRest = 0; // the pattern index after that `*`
    };

    bool Has(unsigned option) const { return (Options & option) != 0; }
    char At(int position) const { return Text[static_cast<size_t>(position - 1)]; }
    char Fold(char c) const { return Has(soCaseSensitive) ? c : UpCase(c); }
    bool IdentifierAt(int position) const {
        return position >= 1 && position <= Length && IsIdentifierChar(At(position));
    }
    bool WordBoundsPass(int start, int end) const {
        return !(Has(soWordStart) && IdentifierAt(start - 1)) &&
               !(Has(soWordEnd) && IdentifierAt(end));
    }
    int FirstLineBreakFrom(int start) const;
    int StopAtLineBreak(int position) const;
    int SearchLiteral(std::string_view pattern, int start) const;
    int FindLiteralFrom(std::string_view folded, int from, int last) const;
    int SearchWildcards(std::string_view pattern, int start) const;
    Attempt SearchSegment(std::string_view segment, int start) const;
    Attempt MatchAt(std::string_view segment, int start) const;
    void SetMatchLength(int length) const {
        if (Result)
            Result->MatchLength = length;
    }

    std::string_view Text;
    int Length;
    unsigned Options;
    TSearchResult* Result;
};

int Searcher::Search(std::string_view pattern, int start) const {
    if (pattern.empty()) {
        SetMatchLength(0);
        return start;
    }
    return Has(soWildcards) ? SearchWildcards(pattern, start) : SearchLiteral(pattern, start);
}

// The first carriage return at or after `start`, or Length + 1 when the search may run to the
// end of the text.
int Searcher::FirstLineBreakFrom(int start) const {
    if (!Has(soSingleLine) || start > Length)
        return Length + 1;
    const void* found = std::memchr(Text.data() + start - 1, CarriageReturn,
                                    static_cast<size_t>(Length - start + 1));
    return found ? static_cast<int>(static_cast<const char*>(found) - Text.data()) + 1 : Length + 1;
}

int Searcher::StopAtLineBreak(int position) const {
    if (position <= Length && Result)
        Result->NextLineStart =
            position + (position < Length && At(position + 1) == LineFeed ? 2 : 1);
    return -1;
}

// Without wildcards a match is the pattern's characters in a row, so candidates come from a
// plain substring search; a match may start before the line break and run across it.
int Searcher::SearchLiteral(std::string_view pattern, int start) const {
    const int lineBreak = FirstLineBreakFrom(start);
    const int patternLength = static_cast<int>(pattern.size());
    const int last = std::min(lineBreak - 1, Length - patternLength + 1);
    const std::string folded = Has(soCaseSensitive) ? std::string(pattern) : UpperCase(pattern);
    for (int from = start; from <= last;) {
        const int found = FindLiteralFrom(folded, from, last);
        if (found < 0)
            break;
        if (WordBoundsPass(found, found + patternLength)) {
            SetMatchLength(patternLength);
            return found;
        }
        from = found + 1;
    }
    return StopAtLineBreak(lineBreak);
}

// The first position in from..last where the folded pattern matches, or -1.
int Searcher::FindLiteralFrom(std::string_view folded, int from, int last) const {
    const size_t window = static_cast<size_t>(last) - 1 + folded.size();
    if (Has(soCaseSensitive)) {
        const size_t found = Text.substr(0, window).find(folded, static_cast<size_t>(from - 1));
        return found == std::string_view::npos ? -1 : static_cast<int>(found) + 1;
    }
    const char first = folded.front();
    const std::string_view rest = folded.substr(1);
    for (int position = from; position <= last; ++position) {
        if (UpCase(At(position)) != first)
            continue;
        bool same = true;
        for (size_t i = 0; same && i < rest.size(); ++i)
            same = UpCase(Text[static_cast<size_t>(position) + i]) == rest[i];
        if (same)
            return position;
    }
    return -1;
}

// A `*` hands the rest of the pattern to a search of its own from where the `*` stood, and that
// search decides the whole outcome: it never comes back to try other starts. So the segments
// between stars are searched one after another, the first segment's start being the match's
// start and the last segment's end its end. This runs in a loop rather than in nested calls,
// which a pattern of many stars would otherwise drive arbitrarily deep.
int Searcher::SearchWildcards(std::string_view pattern, int start) const {
    int matchStart = -1;
    for (;;) {
        const Attempt attempt = SearchSegment(pattern, start);
        if (attempt.Kind == Outcome::NotFound)
            return -1;
        if (matchStart < 0)
            matchStart = attempt.Start;
        pattern = attempt.Kind == Outcome::Matched ? std::string_view()
                                                   : pattern.substr(attempt.PatternRest);
        if (pattern.empty()) {
            SetMatchLength(attempt.End - matchStart);
            return matchStart;
        }
        start = attempt.End;
    }
}

Searcher::Attempt Searcher::SearchSegment(std::string_view segment, int start) const {
    // Most segments start with a plain character: positions without it are passed over quickly.
    const bool plainFirst =
        std::string_view("*^$?[/").find(segment.front()) == std::string_view::npos;
    const char first = Fold(segment.front());
    for (int position = start; position <= Length; ++position) {
        if (Has(soSingleLine) && At(position) == CarriageReturn) {
            StopAtLineBreak(position);
            return {Outcome::NotFound};
        }
        if (plainFirst && Fold(At(position)) != first)
            continue;
        const Attempt attempt = MatchAt(segment, position);
        if (attempt.Kind != Outcome::NotFound)
            return attempt;
    }
    return {Outcome::NotFound};
}

Searcher::Attempt Searcher::MatchAt(std::string_view segment, int start) const {
    size_t p = 0;
    int t = start;
    for (; p < segment.size() && t <= Length; ++p) {
        char wanted = segment[p];
        switch (wanted) {
        case '*':
            return {Outcome::StarReached, start, t, p + 1};
        case '^':
            if (t != 1)
                return {Outcome::NotFound};
            continue;
        case '$':
            if (At(t) != CarriageReturn)
                return {Outcome::NotFound};
            continue;
        case '?':
        case '[':
            ++t;
            continue;
        case '/':
            if (p + 1 < segment.size())
                wanted = segment[++p];
            break;
        default:
            break;
        }
        if (Fold(wanted) != Fold(At(t)))
            return {Outcome::NotFound};
        ++t;
    }
    // Past the end of the text only stars and end anchors can still be satisfied.
    while (t > Length && p < segment.size() && (segment[p] == '*' || segment[p] == '$'))
        ++p;
    if (p < segment.size() || !WordBoundsPass(start, t))
        return {Outcome::NotFound};
    return {Outcome::Matched, start, t};
}

} // namespace

int SearchText(std::string_view pattern, std::string_view text, int start, unsigned options,
               TSearchResult* result) {
    return Searcher(text, options, result).Search(pattern, start < 1 ? 1 : start);
}

// Builds the result in a new string instead of deleting and inserting in place, which would
// move the whole tail once per replacement. The search only ever looks at the text from its
// start position on and at the one character before it (word start), and `^` only matches at
// position 1; so searching the untouched rest of the source, with the character before it
// patched to the last character written, gives exactly the in-place result.
int ReplaceAllText(std::string& text, std::string_view find, std::string_view replacement,
                   unsigned options) {
    if (find.empty())
        return 0;
    std::string source = std::move(text);
    text.clear();
    text.reserve(source.size());
    size_t consumed = 0;
    int count = 0;
    for (;;) {
        TSearchResult match{};
        size_t viewStart = consumed;
        int from = 1;
        if (!text.empty()) {
            viewStart = consumed - 1;
            source[viewStart] = text.back();
            from = 2;
        }
        const int found =
            SearchText(find, std::string_view(source).substr(viewStart), from, options, &match);
        if (found < 0)
            break;
        const size_t matchIndex = viewStart + static_cast<size_t>(found - 1);
        text.append(source, consumed, matchIndex - consumed);
        text.append(replacement);
        consumed = matchIndex + static_cast<size_t>(match.MatchLength);
        ++count;
        if (match.MatchLength == 0)
            text.push_back(source[consumed++]);
    }
    text.append(source, consumed);
    return count;
}

int MatchesMaskList(std::string_view fileName, std::string_view maskList) {
    std::string name = FileNameOnly(fileName);
    if (ExtensionOf(name).empty())
        name += '.';
    while (!maskList.empty()) {
        const size_t separator = maskList.find(';');
        const std::string_view mask = maskList.substr(0, separator);
        maskList = separator == std::string_view::npos ? std::string_view()
                                                       : maskList.substr(separator + 1);
        if (mask.empty())
            continue;
        TSearchResult match{};
        if (SearchText(mask, name, 1, soWildcards, &match) == 1 &&
            (static_cast<size_t>(match.MatchLength) == name.size() || mask.back() == '*'))
            return 1;
    }
    return -1;
}

} // namespace corvid
