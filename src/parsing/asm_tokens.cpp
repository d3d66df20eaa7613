#include "parsing/asm_tokens.h"

#include "foundation/case_fold.h"
#include "parsing/asm_reserved_words.h"
#include "parsing/scanning.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace corvid {

namespace {

constexpr TAsmWordEntry Symbols[] = {
    {":", AsmSymbolColon},     {",", AsmSymbolComma},   {"#", AsmSymbolHash},
    {"*", AsmSymbolStar},      {"%", AsmSymbolPercent}, {"^", AsmSymbolCaret},
    {"&", AsmSymbolAmpersand}, {"|", AsmSymbolBar},     {"/", AsmSymbolSlash},
    {">", AsmSymbolGreater},   {"<", AsmSymbolLess},    {"+", AsmSymbolPlus},
    {"-", AsmSymbolMinus},
};

bool IsNameStart(int c) {
    return c == '.' || c == '_' || IsAsciiLetter(c);
}
bool IsNameChar(int c) {
    return IsNameStart(c) || IsDigit(c);
}

bool RejectsDecimal(int c) {
    return c == '_' || IsAsciiLetter(c);
}
bool RejectsHexadecimal(int c) {
    return c == '_' || (IsAsciiLetter(c) && !IsHexLetter(c));
}

// The current character is a digit or a prefix, which needs at least one digit after it. The
// result is the number's text, or empty when the characters are not a number.
template <typename IsNumberDigit, typename Rejects>
std::string ReadNumber(TParser& parser, IsNumberDigit isNumberDigit, Rejects rejects) {
    const bool prefixed = !IsDigit(parser.CurrentChar);
    std::string text(1, CharOf(parser.CurrentChar));
    int c = parser.NextChar();
    for (; isNumberDigit(c); c = parser.NextChar())
        text += CharOf(c);
    if ((prefixed && text.size() == 1) || rejects(c))
        return {};
    return text;
}

std::string ReadAsmNumber(TParser& parser) {
    switch (parser.CurrentChar) {
    case '$':
        return ReadNumber(parser, IsHexDigit, RejectsHexadecimal);
    case '@': // 8 and 9 are taken as well; reading the value is the evaluator's business
        return ReadNumber(parser, IsDigit, RejectsDecimal);
    default:
        if (!IsDigit(parser.CurrentChar))
            return {};
        return ReadNumber(parser, IsDigit, RejectsDecimal);
    }
}

} // namespace

int AsmReservedWordId(std::string_view name) {
    return AsmReservedWords.Find(name);
}

int TAsmCommentParserObject::Match(TParser& parser) {
    const int c = parser.CurrentChar;
    const bool startsLine = parser.Column == 2;
    if (c == ';' || (c == '*' && startsLine))
        return RestOfLineLength(parser);
    return SlashCommentLength(parser);
}

TAsmIdentifierReservedParserObject::TAsmIdentifierReservedParserObject() {
    ForEachAsmReservedWord([this](std::string_view name, int id) {
        Words.Add(new TParserReservedWord(std::string(name), tkReserved, id));
    });
    Words.OnCompare = [](TParserReservedWord* a, TParserReservedWord* b) {
        return CompareText(a->Name, b->Name);
    };
    Words.Sort();
}

int TAsmIdentifierReservedParserObject::Match(TParser& parser) {
    if (!IsNameStart(parser.CurrentChar))
        return 0;
    const int line = parser.Line;
    const int column = parser.Column - 1;
    std::string text;
    for (int c = parser.CurrentChar; IsNameChar(c); c = parser.NextChar())
        text += CharOf(c);
    // The same entry that a binary search of Words finds, by a faster index of the same words.
    const int id = AsmReservedWordId(text);
    const int kind = id != 0 ? tkReserved : (column == 1 ? tkLabel : tkIdentifier);
    const int length = static_cast<int>(text.size());
    AddToken(parser, kind, id, line, column, std::move(text));
    return length;
}

int TAsmNumberParserObject::Match(TParser& parser) {
    const int line = parser.Line;
    const int column = parser.Column - 1;
    std::string text = ReadAsmNumber(parser);
    if (text.empty())
        return 0;
    const int length = static_cast<int>(text.size());
    AddToken(parser, tkNumber, 0, line, column, std::move(text));
    return length;
}

TAsmSymbolParserObject::TAsmSymbolParserObject() {
    for (const TAsmWordEntry& symbol : Symbols)
        Words.Add(new TParserReservedWord(std::string(symbol.Name), tkSymbol, symbol.Id));
}

int TAsmSymbolParserObject::Match(TParser& parser) {
    const int c = parser.CurrentChar;
    for (const TParserReservedWord* word : Words) {
        if (static_cast<unsigned char>(word->Name[0]) != c)
            continue;
        AddToken(parser, word->Kind, word->Id, parser.Line, parser.Column - 1, word->Name);
        return 1;
    }
    return 0;
}

int TAsmStringParserObject::Match(TParser& parser) {
    if (parser.CurrentChar != '\'')
        return 0;
    const int line = parser.Line;
    const int column = parser.Column;
    std::string text;
    int count = 1;
    for (int c = parser.NextChar(); c != EndOfLineChar && c != EndOfInputChar;
         c = parser.NextChar()) {
        ++count;
        if (c == '\'')
            break;
        text += CharOf(c);
    }
    AddToken(parser, tkString, 0, line, column, std::move(text));
    return count;
}

} // namespace corvid
