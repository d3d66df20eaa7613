#include "parsing/asm_tokens.h"
#include "token_scan.h"

#include "foundation/case_fold.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace corvid {
namespace {

// The reserved words in Id order as the language defines them: the directives from 1, the
// mnemonics from 8 leaving out 134, then the index registers.
const char* const DirectiveWords[] = {"ORG", "EQU", "FCB", "FCC", "FDB", "RMB", "END"};
const char* const MnemonicWords =
    "ABA ABX ABY ADCA ADCB ADDA ADDB ADDD ANDA ANDB ASL ASLA ASLB ASLD ASR ASRA ASRB BCC "
    "BCLR BCS BEQ BGE BGT BHI BHS BITA BITB BLE BLO BLS BLT BMI BNE BPL BRA BRCLR BRN BRSET "
    "BSET BSR BVC BVS CBA CLC CLI CLR CLRA CLRB CLV CMPA CMPB CMPD COM COMA COMB CPD CPX CPY "
    "DAA DEC DECA DECB DES DEX DEY EORA EORB FDIV IDIV INC INCA INCB INS INX INY JMP JSR "
    "LDAA LDAB LDD LDS LDX LDY LSL LSLA LSLB LSLD LSR LSRA LSRB LSRD MUL NEG NEGA NEGB NOP "
    "ORAA ORAB PSHA PSHB PSHX PSHY PULA PULB PULX PULY ROL ROLA ROLB ROR RORA RORB RTI RTS "
    "SBA SBCA SBCB SEC SEI SEV STAA STAB STD STOP STS STX STY SUBA SUBB SUBD SWI TAB TAP TBA "
    "TEST TPA TST TSTA TSTB TSX TSY TXS TYS WAI XGDX XGDY";

struct ExpectedWord {
    std::string Name;
    int Id;
};

std::vector<ExpectedWord> ExpectedWords() {
    std::vector<ExpectedWord> words;
    int id = 1;
    for (const char* name : DirectiveWords)
        words.push_back({name, id++});
    std::istringstream mnemonics(MnemonicWords);
    for (std::string name; mnemonics >> name;) {
        if (id == 134)
            ++id;
        words.push_back({name, id++});
    }
    words.push_back({"X", 155});
    words.push_back({"Y", 156});
    return words;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string MixedCase(std::string text) {
    for (size_t i = 0; i < text.size(); i += 2)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return text;
}

TEST(AsmWordTableTest, IsSortedForBinarySearch) {
    TAsmIdentifierReservedParserObject names;
    for (int i = 1; i < names.Words.Count(); ++i)
        EXPECT_LT(CompareText(names.Words[i - 1]->Name, names.Words[i]->Name), 0)
            << names.Words[i]->Name;
}

TEST(AsmWordTableTest, FindsEveryReservedWordInAnyCase) {
    const std::vector<ExpectedWord> expected = ExpectedWords();
    ASSERT_EQ(expected.size(), 155u);
    TAsmIdentifierReservedParserObject names;
    ASSERT_EQ(names.Words.Count(), 155);
    const auto nameOf = [](const TParserReservedWord* w) { return w->Name; };
    for (const ExpectedWord& word : expected) {
        for (const std::string& written : {word.Name, LowerCase(word.Name), MixedCase(word.Name)}) {
            const TParserReservedWord* found = names.Words.FindByName(written, nameOf);
            ASSERT_NE(found, nullptr) << written;
            EXPECT_EQ(found->Name, word.Name);
            EXPECT_EQ(found->Id, word.Id) << written;
            EXPECT_EQ(found->Kind, tkReserved) << written;
            EXPECT_EQ(AsmReservedWordId(written), word.Id) << written;
        }
    }
}

TEST(AsmWordTableTest, NamedIdsMatchTheTable) {
    const struct {
        const char* name;
        int id;
    } cases[] = {
        {"ORG", AsmDirectiveOrg},
        {"EQU", AsmDirectiveEqu},
        {"FCB", AsmDirectiveFcb},
        {"FCC", AsmDirectiveFcc},
        {"FDB", AsmDirectiveFdb},
        {"RMB", AsmDirectiveRmb},
        {"END", AsmDirectiveEnd},
        {"ABA", AsmFirstMnemonic},
        {"XGDY", AsmLastMnemonic},
        {"x", AsmRegisterX},
        {"y", AsmRegisterY},
        {"ldaa", 85},
        {"STX", 133},
        {"STY", 135},
        {"TEST", 143},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsmReservedWordId(c.name), c.id) << c.name;
}

TEST(AsmWordTableTest, OtherNamesAreNotReserved) {
    TAsmIdentifierReservedParserObject names;
    const auto nameOf = [](const TParserReservedWord* w) { return w->Name; };
    for (const char* name :
         {"", "A", "B", "D", "LDA", "ORG1", "XX", "ZZZZ", ".", "_", "AAA", "STX.", "X_"}) {
        EXPECT_EQ(AsmReservedWordId(name), 0) << name;
        EXPECT_EQ(names.Words.FindByName(name, nameOf), nullptr) << name;
    }
}

TEST(AsmSymbolTableTest, KeepsTheTableOrderAndIds) {
    const struct {
        const char* name;
        int id;
        int namedId;
    } expected[] = {
        {":", 0, AsmSymbolColon},     {",", 1, AsmSymbolComma},   {"#", 2, AsmSymbolHash},
        {"*", 3, AsmSymbolStar},      {"%", 6, AsmSymbolPercent}, {"^", 7, AsmSymbolCaret},
        {"&", 9, AsmSymbolAmpersand}, {"|", 8, AsmSymbolBar},     {"/", 10, AsmSymbolSlash},
        {">", 11, AsmSymbolGreater},  {"<", 12, AsmSymbolLess},   {"+", 4, AsmSymbolPlus},
        {"-", 5, AsmSymbolMinus},
    };
    TAsmSymbolParserObject symbols;
    ASSERT_EQ(symbols.Words.Count(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < symbols.Words.Count(); ++i) {
        EXPECT_EQ(symbols.Words[i]->Name, expected[i].name);
        EXPECT_EQ(symbols.Words[i]->Id, expected[i].id) << expected[i].name;
        EXPECT_EQ(expected[i].namedId, expected[i].id) << expected[i].name;
        EXPECT_EQ(symbols.Words[i]->Kind, tkSymbol);
    }
}

// The assembler's chain; without bad input as in its compatibility mode.
std::vector<TokenValue> AsmTokens(std::string_view text, bool badInputLast = true) {
    TStringParser parser;
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser.ParserObjects.Add(new TAsmCommentParserObject);
    parser.ParserObjects.Add(new TAsmIdentifierReservedParserObject);
    parser.ParserObjects.Add(new TAsmNumberParserObject);
    parser.ParserObjects.Add(new TAsmSymbolParserObject);
    parser.ParserObjects.Add(new TAsmStringParserObject);
    if (badInputLast)
        parser.ParserObjects.Add(new TBadInputParserObject);
    return ScanTokens(parser, text);
}

TokenValue Reserved(int id, int line, int column, std::string text) {
    return {tkReserved, id, line, column, std::move(text)};
}
TokenValue Name(int line, int column, std::string text) {
    return {tkIdentifier, 0, line, column, std::move(text)};
}
TokenValue Label(int line, int column, std::string text) {
    return {tkLabel, 0, line, column, std::move(text)};
}
TokenValue Number(int line, int column, std::string text) {
    return {tkNumber, 0, line, column, std::move(text)};
}
TokenValue Symbol(int id, int line, int column, std::string text) {
    return {tkSymbol, id, line, column, std::move(text)};
}
TokenValue String(int line, int column, std::string text) {
    return {tkString, 0, line, column, std::move(text)};
}
TokenValue Bad(int line, int column, std::string text) {
    return {tkBadInput, 0, line, column, std::move(text)};
}

constexpr int LDAA = 85, BNE = 40, NOP = 103, ABA = 8, JMP = 83;

struct AsmCase {
    const char* what;
    std::string text;
    std::vector<TokenValue> tokens;
};

void ExpectTokens(const AsmCase& c, bool badInputLast) {
    EXPECT_EQ(AsmTokens(c.text, badInputLast), c.tokens) << c.what;
}

TEST(AsmTokensTest, NamesLabelsAndReservedWords) {
    const AsmCase cases[] = {
        {"a label in column 1, a name after a blank",
         "LOOP LDAA #$1F\n     BNE LOOP",
         {Label(1, 1, "LOOP"), Reserved(LDAA, 1, 6, "LDAA"), Symbol(AsmSymbolHash, 1, 11, "#"),
          Number(1, 12, "$1F"), Reserved(BNE, 2, 6, "BNE"), Name(2, 10, "LOOP")}},
        {"reserved words in any case keep their text",
         " nop\n Nop\n NOP",
         {Reserved(NOP, 1, 2, "nop"), Reserved(NOP, 2, 2, "Nop"), Reserved(NOP, 3, 2, "NOP")}},
        {"a reserved word in column 1 is not a label",
         "ORG $100\nNOP",
         {Reserved(AsmDirectiveOrg, 1, 1, "ORG"), Number(1, 5, "$100"),
          Reserved(NOP, 2, 1, "NOP")}},
        {"dots, underscores and digits in names",
         " .L1 a.b _x9 X y",
         {Name(1, 2, ".L1"), Name(1, 6, "a.b"), Name(1, 10, "_x9"),
          Reserved(AsmRegisterX, 1, 14, "X"), Reserved(AsmRegisterY, 1, 16, "y")}},
        {"label with a colon",
         "START: JMP START",
         {Label(1, 1, "START"), Symbol(AsmSymbolColon, 1, 6, ":"), Reserved(JMP, 1, 8, "JMP"),
          Name(1, 12, "START")}},
        {"a tab is one column", "\tNOP", {Reserved(NOP, 1, 2, "NOP")}},
        {"a name stops at a byte above 127", " A\xc0", {Name(1, 2, "A"), Bad(1, 3, "\xc0")}},
        {"indexed operand",
         " LDAA 0,X",
         {Reserved(LDAA, 1, 2, "LDAA"), Number(1, 7, "0"), Symbol(AsmSymbolComma, 1, 8, ","),
          Reserved(AsmRegisterX, 1, 9, "X")}},
    };
    for (const AsmCase& c : cases)
        ExpectTokens(c, true);
}

TEST(AsmTokensTest, Numbers) {
    const AsmCase cases[] = {
        {"the three forms keep their prefix",
         " $1F @17 255 $abcDEF @89",
         {Number(1, 2, "$1F"), Number(1, 6, "@17"), Number(1, 10, "255"), Number(1, 14, "$abcDEF"),
          Number(1, 22, "@89")}},
        {"a number ends at a symbol",
         " 1+$F*@7",
         {Number(1, 2, "1"), Symbol(AsmSymbolPlus, 1, 3, "+"), Number(1, 4, "$F"),
          Symbol(AsmSymbolStar, 1, 6, "*"), Number(1, 7, "@7")}},
        {"percent is a symbol before a number",
         " %0101",
         {Symbol(AsmSymbolPercent, 1, 2, "%"), Number(1, 3, "0101")}},
        {"1A is neither a number nor a name", " 1A", {Bad(1, 2, "1")}},
        {"12AB is rejected whole", " 12AB", {Bad(1, 2, "1")}},
        {"$1G is rejected whole", " $1G", {Bad(1, 2, "$")}},
        {"9_ is rejected whole", " 9_", {Bad(1, 2, "9")}},
        {"@1A is rejected whole", " @1A", {Bad(1, 2, "@")}},
        {"$ followed by a blank is not a number", " $ 1", {Bad(1, 2, "$")}},
        {"@ at the end of a line is not a number", " @\n 1", {Bad(1, 2, "@")}},
        {"a number at the end of the text", "\n12", {Number(2, 1, "12")}},
    };
    for (const AsmCase& c : cases)
        ExpectTokens(c, true);
}

TEST(AsmTokensTest, RejectedCharactersAreDroppedWithoutBadInput) {
    const AsmCase cases[] = {
        // 1 and 2 start numbers running into letters; AB is a name of its own.
        {"12AB", " 12AB", {Name(1, 4, "AB")}},
        {"$1G", " $1G", {Name(1, 4, "G")}},
        {"$ blank", " $ 1", {Number(1, 4, "1")}},
    };
    for (const AsmCase& c : cases)
        ExpectTokens(c, false);
}

TEST(AsmTokensTest, SymbolsCarryTheirIds) {
    const AsmCase c = {"every symbol",
                       " :,#*%^&|/><+-",
                       {Symbol(0, 1, 2, ":"), Symbol(1, 1, 3, ","), Symbol(2, 1, 4, "#"),
                        Symbol(3, 1, 5, "*"), Symbol(6, 1, 6, "%"), Symbol(7, 1, 7, "^"),
                        Symbol(9, 1, 8, "&"), Symbol(8, 1, 9, "|"), Symbol(10, 1, 10, "/"),
                        Symbol(11, 1, 11, ">"), Symbol(12, 1, 12, "<"), Symbol(4, 1, 13, "+"),
                        Symbol(5, 1, 14, "-")}};
    ExpectTokens(c, true);
}

TEST(AsmTokensTest, Comments) {
    const AsmCase cases[] = {
        {"semicolon to the end of the line",
         " NOP ; LDAA ?\n ABA",
         {Reserved(NOP, 1, 2, "NOP"), Reserved(ABA, 2, 2, "ABA")}},
        {"a star in column 1 comments out the line",
         "* LDAA ?\n ABA",
         {Reserved(ABA, 2, 2, "ABA")}},
        {"a star after an instruction is a symbol",
         " LDAA *\n",
         {Reserved(LDAA, 1, 2, "LDAA"), Symbol(AsmSymbolStar, 1, 7, "*")}},
        {"a star in column 2 is a symbol", " *", {Symbol(AsmSymbolStar, 1, 2, "*")}},
        {"a block comment over lines",
         " NOP /* ?\n?\n?\n*/ ABA",
         {Reserved(NOP, 1, 2, "NOP"), Reserved(ABA, 4, 4, "ABA")}},
        {"an unclosed block comment takes the rest of the text",
         " NOP /* ?\n ABA\n",
         {Reserved(NOP, 1, 2, "NOP")}},
        {"/*/ does not close", "/*/ ? */ ABA", {Reserved(ABA, 1, 10, "ABA")}},
        {"/**/ closes", "/**/ABA", {Reserved(ABA, 1, 5, "ABA")}},
        {"double slash to the end of the line",
         " NOP // ?\n ABA",
         {Reserved(NOP, 1, 2, "NOP"), Reserved(ABA, 2, 2, "ABA")}},
        {"a lone slash is division",
         " 4/2",
         {Number(1, 2, "4"), Symbol(AsmSymbolSlash, 1, 3, "/"), Number(1, 4, "2")}},
        {"a comment on the last line without a break", " NOP ;?", {Reserved(NOP, 1, 2, "NOP")}},
    };
    for (const AsmCase& c : cases)
        ExpectTokens(c, true);
}

TEST(AsmTokensTest, StringsReportTheColumnInsideTheQuotes) {
    const AsmCase cases[] = {
        {"a string",
         " FCC 'Hi there'",
         {Reserved(AsmDirectiveFcc, 1, 2, "FCC"), String(1, 7, "Hi there")}},
        {"two adjacent quotes are an empty string", " ''", {String(1, 3, "")}},
        {"no escape: adjacent quotes close and reopen",
         " 'A''B'",
         {String(1, 3, "A"), String(1, 6, "B")}},
        {"an unclosed string ends at the line end",
         " 'AB\n NOP",
         {String(1, 3, "AB"), Reserved(NOP, 2, 2, "NOP")}},
        {"an unclosed string at the end of the text", " 'AB", {String(1, 3, "AB")}},
        {"bytes above 127 are kept", " '\xe9\xff'", {String(1, 3, "\xe9\xff")}},
        {"a semicolon inside a string",
         " ';' NOP",
         {String(1, 3, ";"), Reserved(NOP, 1, 6, "NOP")}},
    };
    for (const AsmCase& c : cases)
        ExpectTokens(c, true);
}

TEST(AsmTokensTest, EveryByteIsHandled) {
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == '\n' || byte == '\r')
            continue;
        const std::string character(1, static_cast<char>(byte));
        const std::vector<TokenValue> tokens = AsmTokens(" " + character + "\n");
        EXPECT_LE(tokens.size(), 1u) << byte;
        if (byte >= 128) {
            EXPECT_EQ(tokens, std::vector<TokenValue>{Bad(1, 2, character)}) << byte;
        }
    }
}

} // namespace
} // namespace corvid
