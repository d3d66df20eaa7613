#include "parsing/asm_scanner.h"

#include "parsing/asm_tokens.h"
#include "parsing/scanning.h"

#include <array>
#include <cstdint>

namespace corvid {

namespace {

// Character classes of the bytes, looked up once per character.
enum : uint8_t { NameStart = 1, NameChar = 2 };

constexpr std::array<uint8_t, 256> CharacterClasses = [] {
    std::array<uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if (c == '.' || c == '_' || IsAsciiLetter(c))
            classes[static_cast<size_t>(c)] = NameStart | NameChar;
        else if (IsDigit(c))
            classes[static_cast<size_t>(c)] = NameChar;
    }
    return classes;
}();

bool IsNameStart(int c) { return (CharacterClasses[static_cast<size_t>(c)] & NameStart) != 0; }
bool IsNameChar(int c) { return (CharacterClasses[static_cast<size_t>(c)] & NameChar) != 0; }

// The symbol Id of a character, -1 for none.
int SymbolId(int c) {
    switch (c) {
    case ':':
        return AsmSymbolColon;
    case ',':
        return AsmSymbolComma;
    case '#':
        return AsmSymbolHash;
    case '*':
        return AsmSymbolStar;
    case '%':
        return AsmSymbolPercent;
    case '^':
        return AsmSymbolCaret;
    case '&':
        return AsmSymbolAmpersand;
    case '|':
        return AsmSymbolBar;
    case '/':
        return AsmSymbolSlash;
    case '>':
        return AsmSymbolGreater;
    case '<':
        return AsmSymbolLess;
    case '+':
        return AsmSymbolPlus;
    case '-':
        return AsmSymbolMinus;
    default:
        return -1;
    }
}

} // namespace

TAsmScanner::TAsmScanner(int lineCount, LineText lineText, bool compatibilityMode)
    : LineCount(lineCount), TextOfLine(std::move(lineText)), CompatibilityMode(compatibilityMode) {}

void TAsmScanner::StartLine(int index) {
    LineIndex = index;
    Column = 0;
    Text = index < LineCount ? TextOfLine(index) : std::string_view();
}

bool TAsmScanner::SkipBlockComment() {
    int previous = 0; // the opening '*' cannot pair with a '/' right after it
    for (;;) {
        if (Column >= Text.size()) {
            previous = EndOfLineChar;
            StartLine(LineIndex + 1);
            if (LineIndex >= LineCount)
                return false;
            continue;
        }
        const int c = static_cast<unsigned char>(Text[Column++]);
        if (previous == '*' && c == '/')
            return true;
        previous = c;
    }
}

size_t TAsmScanner::NameLength() const {
    size_t end = Column + 1;
    while (end < Text.size() && IsNameChar(static_cast<unsigned char>(Text[end])))
        ++end;
    return end - Column;
}

size_t TAsmScanner::NumberLength() const {
    const int first = static_cast<unsigned char>(Text[Column]);
    const bool hexadecimal = first == '$';
    const bool prefixed = hexadecimal || first == '@';
    size_t end = Column + 1;
    const auto isNumberDigit = [&](int c) { return hexadecimal ? IsHexDigit(c) : IsDigit(c); };
    while (end < Text.size() && isNumberDigit(static_cast<unsigned char>(Text[end])))
        ++end;
    if (prefixed && end == Column + 1)
        return 0;
    const int next = end < Text.size() ? static_cast<unsigned char>(Text[end]) : EndOfLineChar;
    const bool rejected =
        next == '_' || (IsAsciiLetter(next) && !(hexadecimal && IsHexLetter(next)));
    return rejected ? 0 : end - Column;
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

bool TAsmScanner::Next(TAsmScannedToken& token) {
    if (!Started) {
        StartLine(0);
        Started = true;
    }
    const auto emit = [&](int id, int kind, size_t column, size_t length) {
        token = TAsmScannedToken{id, kind, LineIndex + 1, static_cast<int>(column) + 1,
                                 static_cast<int>(length)};
        return true;
    };
    while (!Finished && LineIndex < LineCount) {
        const size_t size = Text.size();
        while (Column < size && (Text[Column] == ' ' || Text[Column] == '\t'))
            ++Column;
        if (Column >= size) { // the line end is whitespace too
            StartLine(LineIndex + 1);
            continue;
        }
        const int c = static_cast<unsigned char>(Text[Column]);
        if (c == ';' || (c == '*' && Column == 0)) {
            StartLine(LineIndex + 1);
            continue;
        }
        if (c == '/' && Column + 1 < Text.size() &&
            (Text[Column + 1] == '*' || Text[Column + 1] == '/')) {
            if (Text[Column + 1] == '/') {
                StartLine(LineIndex + 1);
                continue;
            }
            Column += 2;
            if (!SkipBlockComment())
                Finished = true;
            continue;
        }
        if (IsNameStart(c)) {
            const size_t length = NameLength();
            const int id = AsmReservedWordId(Text.substr(Column, length));
            const int kind = id != 0 ? tkReserved : (Column == 0 ? tkLabel : tkIdentifier);
            const size_t column = Column;
            Column += length;
            return emit(id, kind, column, length);
        }
        if (c == '$' || c == '@' || IsDigit(c)) {
            if (const size_t length = NumberLength()) {
                const size_t column = Column;
                Column += length;
                return emit(0, tkNumber, column, length);
            }
        }
        if (const int symbol = SymbolId(c); symbol >= 0) {
            return emit(symbol, tkSymbol, Column++, 1);
        }
        if (c == '\'') {
            const size_t start = Column + 1;
            const size_t quote = Text.find('\'', start);
            const size_t end = quote == std::string_view::npos ? Text.size() : quote;
            Column = quote == std::string_view::npos ? end : end + 1;
            return emit(0, tkString, start, end - start);
        }
        if (!CompatibilityMode) {
            Finished = true;
            return emit(0, tkBadInput, Column, 1);
        }
        ++Column;
    }
    return false;
}

} // namespace corvid
