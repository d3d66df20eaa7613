#pragma once

#include <cstddef>
#include <functional>
#include <span>
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
    // The first character of the text, inside the scanned line, so that the text is at hand
    // without looking the line up again.
    const char* Start = "";

    std::string_view Text() const { return {Start, static_cast<size_t>(Length)}; }
};

// Scans assembly source held as lines into exactly the tokens that the assembly recogniser chain
// gives (whitespace, comment, name, number, symbol and string recognisers, followed by the
// bad-input recogniser unless in compatibility mode), without a virtual call per character.
// The assembler scans every source this way; a test and a fuzz target hold it equal to the
// chain. The lines must stay unchanged while tokens are in use.
class TAsmScanner {
public:
    using LineText = std::function<std::string_view(int index)>; // 0-based line index
    using TokenSink = std::function<void(const TAsmScannedToken& token)>;

    TAsmScanner(int lineCount, LineText lineText, bool compatibilityMode);

    // The next token; false at the end of the input (and after a bad-input token, which
    // swallows the rest).
    bool Next(TAsmScannedToken& token) { return Next(std::span(&token, 1)) == 1; }
    // The next tokens, as many as fit; fewer only at the end of the input. Scanning many at a
    // time costs one call and keeps the scan position in registers.
    size_t Next(std::span<TAsmScannedToken> tokens);
    // Back to the first token.
    void Restart();
    // Every token, in order.
    void Scan(const TokenSink& addToken);

private:
    int LineCount;
    LineText TextOfLine;
    bool CompatibilityMode;

    // The position being offered: the 0-based line, its characters and the next one to read.
    int LineIndex = 0;
    const char* LineStart = nullptr;
    const char* LineEnd = nullptr;
    const char* Cursor = nullptr;
    bool Started = false;
    bool Finished = false;

    // False past the last line.
    bool StartLine(int index);
    // Skips a block comment from just after its opening pair; false at the end of the input.
    bool SkipBlockComment();
};

} // namespace corvid
