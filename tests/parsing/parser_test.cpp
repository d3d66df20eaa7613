#include "parsing/parser.h"
#include "parsing/string_parser.h"
#include "token_scan.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corvid {
namespace {

// The position a recogniser was offered: the character and the parser's Line and Column.
struct Offer {
    int Char;
    int Line;
    int Column;
    bool operator==(const Offer&) const = default;
};

void PrintTo(const Offer& offer, std::ostream* out) {
    *out << "{" << offer.Char << " at " << offer.Line << ":" << offer.Column << "}";
}

// Records every position offered to it and claims the number of characters that Claim gives.
class RecordingObject : public TParserObject {
public:
    RecordingObject(std::vector<Offer>& offers, std::function<int(const TParser&)> claim = {})
        : Offers(offers), Claim(std::move(claim)) {}
    int Match(TParser& parser) override {
        Offers.push_back({parser.CurrentChar, parser.Line, parser.Column});
        return Claim ? Claim(parser) : 0;
    }

private:
    std::vector<Offer>& Offers;
    std::function<int(const TParser&)> Claim;
};

// Reads far ahead, across line ends, and then declines.
class ReadAheadObject : public TParserObject {
public:
    int Match(TParser& parser) override {
        for (int i = 0; i < 5; ++i)
            parser.NextChar();
        return 0;
    }
};

// Makes a tkIdentifier token of each ASCII letter; the test's own minimal language.
class LetterObject : public TParserObject {
public:
    int Match(TParser& parser) override {
        const int c = parser.CurrentChar;
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return 0;
        parser.AddToken(TParserToken{0, tkIdentifier, parser.Line, parser.Column - 1,
                                     std::string(1, static_cast<char>(c))});
        return 1;
    }
};

class CountingParser : public TStringParser {
public:
    int Calls = 0;
    bool GetChar(int& currentChar, int& column, int& line) override {
        ++Calls;
        return TStringParser::GetChar(currentChar, column, line);
    }
};

std::vector<Offer> OffersOf(TStringParser& parser, std::string_view text) {
    std::vector<Offer> offers;
    parser.ParserObjects.Add(new RecordingObject(offers));
    ScanTokens(parser, text);
    return offers;
}

TEST(StringParserTest, DeliversEveryLineWithItsEndAndThenTheEndOfInput) {
    const int eol = EndOfLineChar;
    const struct {
        const char* what;
        std::string text;
        std::vector<Offer> offers;
    } cases[] = {
        {"empty text has no line", "", {}},
        {"one line", "AB", {{'A', 1, 2}, {'B', 1, 3}, {eol, 2, 1}}},
        {"a final line break ends the last line", "AB\n", {{'A', 1, 2}, {'B', 1, 3}, {eol, 2, 1}}},
        {"one empty line", "\n", {{eol, 2, 1}}},
        {"an empty last line", "A\n\n", {{'A', 1, 2}, {eol, 2, 1}, {eol, 3, 1}}},
        {"CR LF is one break, CR alone is one",
         "A\r\nB\rC",
         {{'A', 1, 2}, {eol, 2, 1}, {'B', 2, 2}, {eol, 3, 1}, {'C', 3, 2}, {eol, 4, 1}}},
        {"LF CR is two breaks",
         "A\n\rB",
         {{'A', 1, 2}, {eol, 2, 1}, {eol, 3, 1}, {'B', 3, 2}, {eol, 4, 1}}},
        {"bytes above 127 are unsigned",
         "\x80\xff\t",
         {{0x80, 1, 2}, {0xff, 1, 3}, {'\t', 1, 4}, {eol, 2, 1}}},
        {"a NUL byte is a character", std::string("\0", 1), {{0, 1, 2}, {eol, 2, 1}}},
    };
    for (const auto& c : cases) {
        TStringParser parser;
        EXPECT_EQ(OffersOf(parser, c.text), c.offers) << c.what;
    }
}

TEST(StringParserTest, GetCharDependsOnThePositionOnly) {
    TStringParser parser;
    parser.SetText("AB\nC");
    const struct {
        int line, column;
        int expectedChar, expectedLine, expectedColumn;
        bool expectedResult;
    } cases[] = {
        {2, 1, 'C', 2, 2, true},
        {1, 2, 'B', 1, 3, true},
        {1, 3, EndOfLineChar, 2, 1, true},
        {2, 2, EndOfLineChar, 3, 1, true},
        {3, 1, EndOfInputChar, 3, 1, false},
        {1, 0, EndOfLineChar, 2, 1, true},   // never made by a scan, but must not read outside
        {1, 999, EndOfLineChar, 2, 1, true}, // the text
        {0, 1, EndOfInputChar, 0, 1, false},
        {-5, 1, EndOfInputChar, -5, 1, false},
    };
    for (const auto& c : cases) {
        int currentChar = 0, column = c.column, line = c.line;
        EXPECT_EQ(parser.GetChar(currentChar, column, line), c.expectedResult);
        EXPECT_EQ(currentChar, c.expectedChar) << c.line << ":" << c.column;
        EXPECT_EQ(line, c.expectedLine) << c.line << ":" << c.column;
        EXPECT_EQ(column, c.expectedColumn) << c.line << ":" << c.column;
    }
}

TEST(ParserTest, AnEmptyTextEndsAtTheFirstRead) {
    CountingParser parser;
    EXPECT_TRUE(OffersOf(parser, "").empty());
    EXPECT_EQ(parser.Calls, 1);
}

TEST(ParserTest, UnclaimedCharactersAreEachOfferedOnceAndDropped) {
    CountingParser parser;
    std::vector<Offer> second;
    parser.ParserObjects.Add(new RecordingObject(second));
    const std::vector<Offer> first = OffersOf(parser, "AB");
    const std::vector<Offer> expected = {{'A', 1, 2}, {'B', 1, 3}, {EndOfLineChar, 2, 1}};
    EXPECT_EQ(first, expected);
    EXPECT_EQ(second, expected);
    EXPECT_EQ(parser.Calls, 4); // A, B, the line end, and the read that finds the end
}

TEST(ParserTest, AClaimSkipsTheCharactersItTook) {
    TStringParser parser;
    std::vector<Offer> offers;
    // Claims 3 at column 5 of line 2, which leaves the parser's Column at 6.
    parser.ParserObjects.Add(new RecordingObject(
        offers, [](const TParser& p) { return p.Line == 2 && p.Column == 6 ? 3 : 0; }));
    ScanTokens(parser, "x\nabcdefghi");
    std::vector<int> lineTwoColumns;
    for (const Offer& offer : offers)
        if (offer.Line == 2 && offer.Char != EndOfLineChar)
            lineTwoColumns.push_back(offer.Column - 1);
    EXPECT_EQ(lineTwoColumns, (std::vector<int>{1, 2, 3, 4, 5, 8, 9}));
}

TEST(ParserTest, ALineEndCountsInAClaim) {
    TStringParser parser;
    std::vector<Offer> offers;
    // Claims B and the line end after it.
    parser.ParserObjects.Add(
        new RecordingObject(offers, [](const TParser& p) { return p.CurrentChar == 'B' ? 2 : 0; }));
    ScanTokens(parser, "AB\nC");
    const std::vector<Offer> expected = {
        {'A', 1, 2}, {'B', 1, 3}, {'C', 2, 2}, {EndOfLineChar, 3, 1}};
    EXPECT_EQ(offers, expected);
}

TEST(ParserTest, AReadAheadThatDeclinesLeavesNoTrace) {
    const std::string text = "AB\nCD\n\nE";
    TStringParser plain;
    const std::vector<Offer> expected = OffersOf(plain, text);

    TStringParser parser;
    std::vector<Offer> before;
    parser.ParserObjects.Add(new RecordingObject(before));
    parser.ParserObjects.Add(new ReadAheadObject);
    EXPECT_EQ(OffersOf(parser, text), expected);
    EXPECT_EQ(before, expected);
}

TEST(ParserTest, TheFirstClaimingRecogniserWins) {
    TStringParser parser;
    std::vector<Offer> first, second, third;
    parser.ParserObjects.Add(new RecordingObject(first));
    parser.ParserObjects.Add(new RecordingObject(second, [](const TParser&) { return 1; }));
    parser.ParserObjects.Add(new RecordingObject(third));
    ScanTokens(parser, "AB");
    EXPECT_EQ(first.size(), 3u);
    EXPECT_EQ(second, first);
    EXPECT_TRUE(third.empty());
}

TEST(ParserTest, WhitespaceSkipsBlanksTabsAndLineEnds) {
    TStringParser parser;
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    std::vector<Offer> offers;
    parser.ParserObjects.Add(new RecordingObject(offers, [](const TParser&) { return 1; }));
    ScanTokens(parser, " \tA \n\n  B\t");
    const std::vector<Offer> expected = {{'A', 1, 4}, {'B', 3, 4}};
    EXPECT_EQ(offers, expected);
}

TEST(ParserTest, BadInputReportsTheFirstUnclaimedCharacterAndSwallowsTheRest) {
    const struct {
        const char* what;
        std::string text;
        std::vector<TokenValue> tokens;
    } cases[] = {
        {"question mark mid-line",
         "A ? B",
         {{tkIdentifier, 0, 1, 1, "A"}, {tkBadInput, 0, 1, 3, "?"}}},
        {"the rest of the file goes too",
         "A\n ?\nB C",
         {{tkIdentifier, 0, 1, 1, "A"}, {tkBadInput, 0, 2, 2, "?"}}},
        {"a byte above 127", "\xe9 A", {{tkBadInput, 0, 1, 1, "\xe9"}}},
        {"bad character last in the text",
         "A?",
         {{tkIdentifier, 0, 1, 1, "A"}, {tkBadInput, 0, 1, 2, "?"}}},
        {"clean text",
         "A B\nC",
         {{tkIdentifier, 0, 1, 1, "A"},
          {tkIdentifier, 0, 1, 3, "B"},
          {tkIdentifier, 0, 2, 1, "C"}}},
    };
    for (const auto& c : cases) {
        TStringParser parser;
        parser.ParserObjects.Add(new LetterObject);
        parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
        parser.ParserObjects.Add(new TBadInputParserObject);
        EXPECT_EQ(ScanTokens(parser, c.text), c.tokens) << c.what;
    }
}

TEST(ParserTest, ARepeatedScanStartsAgainAtLineOne) {
    TStringParser parser;
    parser.ParserObjects.Add(new LetterObject);
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    const std::vector<TokenValue> expected = {{tkIdentifier, 0, 1, 2, "A"},
                                              {tkIdentifier, 0, 2, 1, "B"}};
    EXPECT_EQ(ScanTokens(parser, " A\nB"), expected);
    EXPECT_EQ(ScanTokens(parser, " A\nB"), expected);
}

TEST(ParserTest, TokensWithoutAnOutputListAreAProgrammingError) {
    TStringParser parser;
    parser.SetText("A");
    parser.ParserObjects.Add(new LetterObject);
    try {
        parser.Parse();
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& failure) {
        EXPECT_EQ(
            std::string(failure.what())
                .rfind("TOutputListParser.AddToken No Output List (src/parsing/parser.cpp, line ",
                       0),
            0u)
            << failure.what();
    }
}

} // namespace
} // namespace corvid
