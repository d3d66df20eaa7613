#pragma once

#include <functional>
#include <string_view>

namespace corvid {

// One token as the assembly scanner reports it; its text is the Length characters of the line
// from Column on (a string token's column is the first character after its opening quote).
struct TAsmScannedToken {
    int Id;
    int Kind;
    int Line; // 1-based
    int Column;
    int Length;
};

// Scans assembly source held as lines into exactly the tokens that the assembly recogniser chain
// gives (whitespace, comment, name, number, symbol and string recognisers, followed by the
// bad-input recogniser unless in compatibility mode), without a virtual call per character.
// The assembler scans every source this way; a test and a fuzz target hold it equal to the
// chain.
class TAsmScanner {
public:
    using LineText = std::function<std::string_view(int index)>; // 0-based line index
    using TokenSink = std::function<void(const TAsmScannedToken& token)>;

    TAsmScanner(int lineCount, LineText lineText, bool compatibilityMode);

    // The next token; false at the end of the input (and after a bad-input token, which
    // swallows the rest).
    bool Next(TAsmScannedToken& token);
    // Back to the first token.
    void Restart();
    // Every token, in order.
    void Scan(const TokenSink& addToken);

private:
    int LineCount;
    LineText TextOfLine;
    bool CompatibilityMode;

    // The position being offered: a 0-based line and column within Text.
    int LineIndex = 0;
    size_t Column = 0;
    std::string_view Text;
    bool Started = false;
    bool Finished = false;

    void StartLine(int index);
    // Skips a block comment from just after its opening pair; false at the end of the input.
    bool SkipBlockComment();
    size_t NameLength() const;
    // Characters of the number that starts here; 0 when they are not a number.
    size_t NumberLength() const;
};

} // namespace corvid
