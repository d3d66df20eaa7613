// Every read of the token stream must give exactly the scanner's tokens, with their text inside
// the document: the first read scans and keeps them, later reads replay them, or scan again when
// the tokens did not fit the kept form.

#include "assembler/token_stream.h"
#include "editor/text_editor_file.h"
#include "parsing/asm_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvid {
namespace {

std::vector<TAsmScannedToken> ScannerTokens(const TTextEditorFile& document, bool compatible) {
    TAsmScanner scanner(
        document.LineCount(), [&](int index) { return document.LineText(index); }, compatible);
    std::vector<TAsmScannedToken> tokens;
    scanner.Scan([&](const TAsmScannedToken& token) { tokens.push_back(token); });
    return tokens;
}

std::vector<TAsmToken> ReadAll(TAsmTokenStream& stream) {
    std::vector<TAsmToken> tokens;
    for (int index = 0; const TAsmToken* token = stream.At(index); ++index)
        tokens.push_back(*token);
    return tokens;
}

void ExpectSameTokens(const std::vector<TAsmToken>& read,
                      const std::vector<TAsmScannedToken>& scanned, const std::string& what) {
    ASSERT_EQ(read.size(), scanned.size()) << what;
    for (size_t index = 0; index < read.size(); ++index) {
        const TAsmToken& a = read[index];
        const TAsmScannedToken& b = scanned[index];
        ASSERT_TRUE(a.Id == b.Id && a.Kind == b.Kind && a.Line == b.Line && a.Column == b.Column &&
                    a.Length == b.Length && a.Start == b.Start)
            << what << ", token " << index << ": " << a.Text() << " instead of " << b.Text();
    }
}

TEST(AsmTokenStream, EveryReadGivesTheScannersTokens) {
    const std::string longLine(70000, ' ');
    const struct {
        const char* what;
        std::string source;
    } cases[] = {
        {"a program",
         "* header\nSTART LDAA #$1F ; load\n\n  STAA 5,X\nLOOP: BRA LOOP\n FCC 'text',0\n"
         " FDB *+2,@17,%101\n /* a block\n comment */ NOP\n\n\n END"},
        {"bad input ends the tokens", " NOP\n LDAA ? NOP\n NOP"},
        {"no tokens at all", "; nothing\n\n* at all"},
        {"a name longer than 255 characters", " NOP\n" + std::string(300, 'A') + " NOP\n NOP"},
        {"a token past column 65535", " NOP\n" + longLine + "NOP\n NOP"},
        {"more than 65535 tokens on a line", " NOP\n" + std::string(65536, ',') + "\n NOP"},
        {"more tokens than a batch", std::string(500, ' ') + "\n" +
                                         [] {
                                             std::string many;
                                             for (int index = 0; index < 1000; ++index)
                                                 many += " NOP X" + std::to_string(index) +
                                                         (index % 7 == 0 ? "\n" : "");
                                             return many;
                                         }()},
    };
    for (const auto& c : cases) {
        for (const bool compatible : {false, true}) {
            TTextEditorFile document;
            document.LoadFromText(c.source);
            const auto scanned = ScannerTokens(document, compatible);
            TAsmTokenStream stream(document, compatible);
            EXPECT_EQ(stream.Empty(), scanned.empty()) << c.what;
            for (int read = 1; read <= 3; ++read) {
                stream.Restart();
                ExpectSameTokens(ReadAll(stream), scanned,
                                 std::string(c.what) + ", read " + std::to_string(read));
                EXPECT_TRUE(stream.Finished()) << c.what;
                EXPECT_EQ(stream.Count(), static_cast<int>(scanned.size())) << c.what;
            }
        }
    }
}

TEST(AsmTokenStream, AReadThatStopsEarlyIsStartedOver) {
    std::string source;
    for (int index = 0; index < 300; ++index)
        source += " LDAA #" + std::to_string(index) + "\n";
    TTextEditorFile document;
    document.LoadFromText(source);
    const auto scanned = ScannerTokens(document, false);
    TAsmTokenStream stream(document, false);
    ASSERT_NE(stream.At(100), nullptr);
    stream.Restart();
    ExpectSameTokens(ReadAll(stream), scanned, "after a partial read");
    stream.Restart();
    ExpectSameTokens(ReadAll(stream), scanned, "the read after");
}

} // namespace
} // namespace corvid
