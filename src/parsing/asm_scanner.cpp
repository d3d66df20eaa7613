#include "parsing/asm_scanner.h"

#include "parsing/asm_reserved_words.h"
#include "parsing/asm_tokens.h"
#include "parsing/parser.h"
#include "parsing/scanning.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvid {

namespace {

// The symbol characters, each at the position of its TAsmSymbolId.
constexpr std::string_view SymbolCharacters = ":,#*+-%^|&/><";
static_assert(SymbolCharacters[AsmSymbolStar] == '*' && SymbolCharacters[AsmSymbolLess] == '<');

// What a character can start, looked up once per token so that one switch picks the scan.
enum TCharClass : uint8_t {
    ccNone,      // starts no token: bad input, or skipped in compatibility mode
    ccBlank,     // ' ' and tab
    ccNameStart, // letters, '.' and '_'
    ccDigit,     // a decimal number, or a name character after the first
    ccPrefix,    // '$' and '@' start hexadecimal and octal numbers
    ccSymbol,    // the one-character operators and punctuation
    ccStar,      // a whole-line comment in the first column, else a symbol
    ccSlash,     // "//" and "/*" start comments, else a symbol
    ccSemicolon, // a comment to the end of the line
    ccQuote,     // a string
};

struct TCharTables {
    std::array<TCharClass, 256> Classes{};
    std::array<uint8_t, 256> SymbolIds{};
};

constexpr TCharTables CharTables = [] {
    TCharTables tables;
    for (size_t id = 0; id < SymbolCharacters.size(); ++id) {
        const auto c = static_cast<unsigned char>(SymbolCharacters[id]);
        tables.Classes[c] = ccSymbol;
        tables.SymbolIds[c] = static_cast<uint8_t>(id);
    }
    tables.Classes['*'] = ccStar;
    tables.Classes['/'] = ccSlash;
    tables.Classes[' '] = tables.Classes['\t'] = ccBlank;
    tables.Classes['$'] = tables.Classes['@'] = ccPrefix;
    tables.Classes[';'] = ccSemicolon;
    tables.Classes['\''] = ccQuote;
    for (int c = 0; c < 256; ++c) {
        if (c == '.' || c == '_' || IsAsciiLetter(c))
            tables.Classes[static_cast<size_t>(c)] = ccNameStart;
        else if (IsDigit(c))
            tables.Classes[static_cast<size_t>(c)] = ccDigit;
    }
    return tables;
}();

TCharClass ClassOf(char c) {
    return CharTables.Classes[static_cast<unsigned char>(c)];
}

bool IsNameChar(char c) {
    const TCharClass cls = ClassOf(c);
    return cls == ccNameStart || cls == ccDigit;
}

int SymbolId(char c) {
    return CharTables.SymbolIds[static_cast<unsigned char>(c)];
}

// A name read: its end, and its Id when it is a reserved word.
struct TName {
    const char* End;
    int ReservedId;
};

// The key of the reserved-word index is made as the characters are read.
TName ReadName(const char* start, const char* lineEnd) {
    uint64_t bytes = TAsmReservedWordIndex::AddByte(0, *start);
    const char* end = start + 1;
    for (; end < lineEnd && IsNameChar(*end); ++end)
        bytes = TAsmReservedWordIndex::AddByte(bytes, *end);
    const auto length = static_cast<size_t>(end - start);
    return {end, AsmReservedWords.FindKey(TAsmReservedWordIndex::KeyOf(bytes, length))};
}

// The end of the number that starts here; start itself when the characters are no number.
const char* NumberEnd(const char* start, const char* lineEnd) {
    const bool hexadecimal = *start == '$';
    const bool prefixed = hexadecimal || *start == '@';
    const char* end = start + 1;
    if (hexadecimal) {
        while (end < lineEnd && IsHexDigit(static_cast<unsigned char>(*end)))
            ++end;
    } else {
        while (end < lineEnd && IsDigit(static_cast<unsigned char>(*end)))
            ++end;
    }
    if (prefixed && end == start + 1)
        return start;
    // A number running into a letter or '_' is no number at all (hexadecimal letters have been
    // taken as digits already).
    if (end < lineEnd && (*end == '_' || IsAsciiLetter(static_cast<unsigned char>(*end))))
        return start;
    return end;
}

} // namespace

TAsmScanner::TAsmScanner(int lineCount, LineText lineText, bool compatibilityMode)
    : LineCount(lineCount), TextOfLine(std::move(lineText)), CompatibilityMode(compatibilityMode) {}

bool TAsmScanner::StartLine(int index) {
    LineIndex = index;
    if (index >= LineCount) {
        LineStart = LineEnd = Cursor = nullptr;
        return false;
    }
    const std::string_view text = TextOfLine(index);
    LineStart = Cursor = text.data();
    LineEnd = LineStart + text.size();
    return true;
}

bool TAsmScanner::SkipBlockComment() {
    int previous = 0; // the opening '*' cannot pair with a '/' right after it
    for (;;) {
        if (Cursor == LineEnd) {
            previous = EndOfLineChar;
            if (!StartLine(LineIndex + 1))
                return false;
            continue;
        }
        const int c = static_cast<unsigned char>(*Cursor++);
        if (previous == '*' && c == '/')
            return true;
        previous = c;
    }
}

void TAsmScanner::Restart() {
    Started = false;
    Finished = false;
}

void TAsmScanner::Scan(const TokenSink& addToken) {
    Restart();
    TAsmScannedToken token;
    while (Next(token))
        addToken(token);
}

size_t TAsmScanner::Next(std::span<TAsmScannedToken> tokens) {
    if (!Started) {
        Started = true;
        Finished = !StartLine(0);
    }
    // The position lives in locals while tokens are sought, so that it stays in registers.
    size_t filled = 0;
    const char* cursor = Cursor;
    const char* lineStart = LineStart;
    const char* lineEnd = LineEnd;
    const auto emit = [&](int id, int kind, const char* start, const char* end) {
        tokens[filled++] = TAsmScannedToken{id,
                                            kind,
                                            LineIndex + 1,
                                            static_cast<int>(start - lineStart) + 1,
                                            static_cast<int>(end - start),
                                            start};
    };
    const auto nextLine = [&] {
        Finished = !StartLine(LineIndex + 1);
        cursor = Cursor;
        lineStart = LineStart;
        lineEnd = LineEnd;
    };
    while (filled < tokens.size() && !Finished) {
        while (cursor < lineEnd && ClassOf(*cursor) == ccBlank)
            ++cursor;
        if (cursor == lineEnd) { // the line end is whitespace too
            nextLine();
            continue;
        }
        const char* start = cursor;
        switch (ClassOf(*start)) {
        case ccNameStart: {
            const TName name = ReadName(start, lineEnd);
            const int id = name.ReservedId;
            emit(id, id != 0 ? tkReserved : (start == lineStart ? tkLabel : tkIdentifier), start,
                 name.End);
            cursor = name.End;
            continue;
        }
        case ccDigit:
        case ccPrefix:
            cursor = NumberEnd(start, lineEnd);
            if (cursor == start)
                break; // not a number after all
            emit(0, tkNumber, start, cursor);
            continue;
        case ccStar:
            if (start == lineStart) {
                nextLine();
                continue;
            }
            emit(AsmSymbolStar, tkSymbol, start, ++cursor);
            continue;
        case ccSlash:
            if (start + 1 < lineEnd && start[1] == '/') {
                nextLine();
                continue;
            }
            if (start + 1 < lineEnd && start[1] == '*') {
                Cursor = start + 2;
                Finished = !SkipBlockComment();
                cursor = Cursor;
                lineStart = LineStart;
                lineEnd = LineEnd;
                continue;
            }
            emit(AsmSymbolSlash, tkSymbol, start, ++cursor);
            continue;
        case ccSymbol:
            emit(SymbolId(*start), tkSymbol, start, ++cursor);
            continue;
        case ccSemicolon:
            nextLine();
            continue;
        case ccQuote: {
            const auto* quote = static_cast<const char*>(
                std::memchr(start + 1, '\'', static_cast<size_t>(lineEnd - start - 1)));
            emit(0, tkString, start + 1, quote ? quote : lineEnd);
            cursor = quote ? quote + 1 : lineEnd;
            continue;
        }
        case ccBlank:
        case ccNone:
            break;
        }
        // No token starts here.
        cursor = start + 1;
        if (!CompatibilityMode) {
            Finished = true;
            emit(0, tkBadInput, start, cursor);
        }
    }
    Cursor = cursor;
    return filled;
}

} // namespace corvid
