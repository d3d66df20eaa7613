#include "parsing/c_tokens.h"
#include "token_scan.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace corvid {
namespace {

// A symbol-scan chain for C; characters that nothing claims are dropped.
std::vector<TokenValue> CTokens(std::string_view text) {
    TStringParser parser;
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser.ParserObjects.Add(new TCCommentParserObject);
    parser.ParserObjects.Add(new TCIdentifierReservedParserObject);
    parser.ParserObjects.Add(new TCNumberParserObject);
    parser.ParserObjects.Add(new TCSymbolParserObject);
    parser.ParserObjects.Add(new TCStringParserObject);
    return ScanTokens(parser, text);
}

// Names, numbers and strings report the column after their first character.
TokenValue Reserved(int id, int line, int column, std::string text) {
    return {tkReserved, id, line, column, std::move(text)};
}
TokenValue Name(int line, int column, std::string text) {
    return {tkIdentifier, 0, line, column, std::move(text)};
}
TokenValue Number(int line, int column, std::string text) {
    return {tkNumber, 0, line, column, std::move(text)};
}
TokenValue Fraction(int line, int column, std::string text) {
    return {tkNumber, 1, line, column, std::move(text)};
}
TokenValue Symbol(int id, int line, int column, std::string text) {
    return {tkSymbol, id, line, column, std::move(text)};
}
TokenValue String(int line, int column, std::string text) {
    return {tkString, 0, line, column, std::move(text)};
}

struct CCase {
    const char* what;
    std::string text;
    std::vector<TokenValue> tokens;
};

void ExpectCases(std::initializer_list<CCase> cases) {
    for (const CCase& c : cases)
        EXPECT_EQ(CTokens(c.text), c.tokens) << c.what;
}

TEST(CTokensTest, NamesAndReservedWords) {
    ExpectCases({
        {"the table is case-sensitive",
         "typedef Typedef class define",
         {Reserved(2, 1, 2, "typedef"), Name(1, 10, "Typedef"), Reserved(0, 1, 18, "class"),
          Reserved(1, 1, 24, "define")}},
        {"underscores and digits", "_a1 b_2", {Name(1, 2, "_a1"), Name(1, 6, "b_2")}},
        {"a dot does not start a name", ".a", {Name(1, 3, "a")}},
        {"a prefix of a reserved word is a name", "classy", {Name(1, 2, "classy")}},
        {"bytes above 127 end a name", "\xe9t\xe9x", {Name(1, 3, "t"), Name(1, 5, "x")}},
    });
}

TEST(CTokensTest, TheBaseNameRecogniserReservesNothing) {
    TStringParser parser;
    parser.ParserObjects.Add(new TIdentifierReservedParserObject);
    EXPECT_EQ(ScanTokens(parser, "class"), std::vector<TokenValue>{Name(1, 2, "class")});
}

TEST(CTokensTest, Numbers) {
    ExpectCases({
        {"hexadecimal keeps the digits as written", "0x1f", {Number(1, 2, "0x1f")}},
        {"an upper-case X becomes lower case", "0X1F", {Number(1, 2, "0x1F")}},
        {"x needs a hexadecimal digit after it",
         "0x 0xg",
         {Number(1, 2, "0"), Name(1, 3, "x"), Number(1, 5, "0"), Name(1, 6, "xg")}},
        {"x may follow any single first digit", "5x1F", {Number(1, 2, "5x1F")}},
        {"but not two digits", "12x5", {Number(1, 2, "12"), Name(1, 4, "x5")}},
        {"hex letters end a decimal number", "12ab", {Number(1, 2, "12"), Name(1, 4, "ab")}},
        {"a fraction has Id 1", "3.14", {Fraction(1, 2, "3.14")}},
        {"only one point", "1.2.3", {Fraction(1, 2, "1.2"), Fraction(1, 5, ".3")}},
        {"a leading point", ".5", {Fraction(1, 2, ".5")}},
        {"a point needs a digit after it", "1. .x", {Number(1, 2, "1"), Name(1, 6, "x")}},
        {"no point in a hexadecimal number", "0x1.5", {Number(1, 2, "0x1"), Fraction(1, 5, ".5")}},
        {"no x in a fraction", ".5x1", {Fraction(1, 2, ".5"), Name(1, 4, "x1")}},
        {"no exponent", "1e5", {Number(1, 2, "1"), Name(1, 3, "e5")}},
        {"a number at the end of a line", "7\n8", {Number(1, 2, "7"), Number(2, 2, "8")}},
    });
}

TEST(CTokensTest, Symbols) {
    ExpectCases({
        {"every symbol at the column of its first character",
         "{}()[]#;",
         {Symbol(0, 1, 1, "{"), Symbol(1, 1, 2, "}"), Symbol(2, 1, 3, "("), Symbol(3, 1, 4, ")"),
          Symbol(4, 1, 5, "["), Symbol(5, 1, 6, "]"), Symbol(6, 1, 7, "#"), Symbol(8, 1, 8, ";")}},
        {"a double colon", "a::b", {Name(1, 2, "a"), Symbol(7, 1, 2, "::"), Name(1, 5, "b")}},
        {"a single colon is nothing", "a:b", {Name(1, 2, "a"), Name(1, 4, "b")}},
        {"three colons", ":::", {Symbol(7, 1, 1, "::")}},
        {"a colon at the end of a line", "a:\n:b", {Name(1, 2, "a"), Name(2, 3, "b")}},
    });
}

TEST(CTokensTest, Strings) {
    ExpectCases({
        {"a string", "x = \"Hi\";", {Name(1, 2, "x"), String(1, 6, "Hi"), Symbol(8, 1, 9, ";")}},
        {"an empty string", "\"\"", {String(1, 2, "")}},
        {"a backslash keeps the quote after it in the string",
         "\"a\\\"b\" c",
         {String(1, 2, "a\\\"b"), Name(1, 9, "c")}},
        {"a double backslash does not escape the quote",
         "\"a\\\\\" c",
         {String(1, 2, "a\\\\"), Name(1, 8, "c")}},
        {"line ends are kept as byte 255",
         "\"ab\ncd\" e",
         {String(1, 2,
                 "ab\xff"
                 "cd"),
          Name(2, 6, "e")}},
        {"an unclosed string takes the rest of the text",
         "\"ab\ncd\n\nef",
         {String(1, 2,
                 "ab\xff"
                 "cd\xff\xff"
                 "ef\xff")}},
        {"a backslash at the end of the text", "\"a\\", {String(1, 2, "a\\\xff")}},
    });
}

TEST(CTokensTest, Comments) {
    ExpectCases({
        {"double slash to the end of the line", "a // b\nc", {Name(1, 2, "a"), Name(2, 2, "c")}},
        {"a block comment over lines", "a /* b\n\n */ c", {Name(1, 2, "a"), Name(3, 6, "c")}},
        {"/*/ does not close", "/*/ b */ c", {Name(1, 11, "c")}},
        {"an unclosed block comment takes the rest", "a /* b\nc", {Name(1, 2, "a")}},
        {"a lone slash is nothing", "a / b", {Name(1, 2, "a"), Name(1, 6, "b")}},
    });
}

TEST(CTokensTest, NoCharacterStopsTheScan) {
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == '\n' || byte == '\r')
            continue;
        const std::string text = std::string(1, static_cast<char>(byte)) + "z";
        const std::vector<TokenValue> tokens = CTokens(text);
        ASSERT_FALSE(tokens.empty()) << byte;
        if (byte != '"' && !std::isalnum(byte) && byte != '_') {
            EXPECT_EQ(tokens.back(), Name(1, 3, "z")) << byte;
        }
    }
}

} // namespace
} // namespace corvid
