#include "asm_scanner_equivalence.h"

#include <gtest/gtest.h>

#include <random>

namespace corvid {
namespace {

using testing::ScanWithChain;
using testing::ScanWithScanner;

void ExpectSameTokens(const std::vector<std::string>& lines) {
    for (const bool compatible : {false, true}) {
        const auto chain = ScanWithChain(lines, compatible);
        const auto scanned = ScanWithScanner(lines, compatible);
        ASSERT_EQ(scanned.size(), chain.size()) << lines.front();
        for (size_t index = 0; index < chain.size(); ++index) {
            EXPECT_EQ(scanned[index], chain[index])
                << "token " << index << " of \"" << lines.front() << "\""
                << " compat " << compatible << ": " << scanned[index].Text << " vs "
                << chain[index].Text;
        }
    }
}

TEST(AsmScanner, GivesTheChainsTokensOnTrickySources) {
    const std::vector<std::vector<std::string>> sources = {
        {""},
        {"LOOP LDAA #$1F,X ; comment", "  BRA LOOP"},
        {"* star comment", " LDAA *", "*"},
        {" /* block", " still */ NOP /*/ not closed", " */ END"},
        {" /**/ NOP", " /* unclosed", " NOP"},
        {" // line", " NOP / 2", " / "},
        {" FCC 'abc'", " FCC ''", " FCC 'unclosed", "'"},
        {" $1G", " 12AB", " 9_", " $ ", " @", " @89", " $fF", " 1.5", " .L1 a.b _x"},
        {" %0101 %", " ? NOP", "\tLDAA\t5", " \xe9 NOP", std::string(" \x01 NOP", 7)},
        {"ORG nop Nop NOP X y abcdefghi aba"},
        {" LDAA #'A'+'BC", ":label: ,#*%^&|/><+-"},
    };
    for (const auto& lines : sources)
        ExpectSameTokens(lines);
}

// The assembler takes tokens in batches: whatever the batch size, the tokens must be those of a
// scan one by one, also where a batch ends inside a block comment or at bad input.
TEST(AsmScanner, GivesTheSameTokensInBatchesOfAnySize) {
    const std::vector<std::string> lines = {"LOOP LDAA #$1F,X ; comment",
                                            " /* block",
                                            " still */ NOP /*/ x */ BRA LOOP",
                                            " FCC 'abc',0,'unclosed",
                                            "* star",
                                            " NOP / 2 * 3",
                                            " NOP ? NOP",
                                            " NOP"};
    for (const bool compatible : {false, true}) {
        const auto single = testing::ScanWithScanner(lines, compatible);
        for (const size_t batch : {1, 2, 3, 5, 64}) {
            TAsmScanner scanner(
                static_cast<int>(lines.size()),
                [&](int index) { return std::string_view(lines[static_cast<size_t>(index)]); },
                compatible);
            std::vector<TAsmScannedToken> tokens(batch);
            std::vector<testing::ComparableToken> batched;
            for (;;) {
                const size_t got = scanner.Next(std::span(tokens));
                for (const TAsmScannedToken& token : std::span(tokens).first(got))
                    batched.push_back({token.Id, token.Kind, token.Line, token.Column,
                                       std::string(token.Text())});
                if (got < batch)
                    break;
            }
            EXPECT_EQ(batched, single) << "batches of " << batch;
        }
    }
}

TEST(AsmScanner, GivesTheChainsTokensOnRandomSources) {
    const std::vector<std::string> pieces = {
        " ",  "\t", "L",   "ldaa", "NOP", "X",     "$", "$1F", "@7", "12", "9a", "'", "''",
        ";",  "*",  "/",   "/*",   "*/",  "//",    ",", "#",   ":",  "?",  ".",  "_", "%",
        "01", "Y",  "FCC", "\xff", "a1",  "BRCLR", "-", "+",   ">",  "<",  "&",  "|", "^",
    };
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> lines(1 + random() % 4);
        for (std::string& line : lines)
            for (unsigned count = random() % 8; count > 0; --count)
                line += pieces[random() % pieces.size()];
        ExpectSameTokens(lines);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace corvid
