#pragma once

// Scans lines of assembly source twice, through the recogniser chain and through TAsmScanner,
// so that tests and the fuzz target can hold the two equal.

#include "parsing/asm_scanner.h"
#include "parsing/asm_tokens.h"
#include "parsing/parser.h"

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace corvid::testing {

struct ComparableToken {
    int Id, Kind, Line, Column;
    std::string Text;
    bool operator==(const ComparableToken&) const = default;
};

// Reads a list of lines as the editor's scanner does: every line, the last one too, ends with
// one line end, then the input ends.
class LinesParser : public TOutputListParser {
public:
    explicit LinesParser(const std::vector<std::string>& lines) : Lines(lines) {}
    bool GetChar(int& currentChar, int& column, int& line) override {
        if (line < 1 || line > static_cast<int>(Lines.size())) {
            currentChar = EndOfInputChar;
            return false;
        }
        const std::string& text = Lines[static_cast<size_t>(line) - 1];
        if (column < 1 || static_cast<size_t>(column) > text.size()) {
            currentChar = EndOfLineChar;
            column = 1;
            ++line;
            return true;
        }
        currentChar = static_cast<unsigned char>(text[static_cast<size_t>(column) - 1]);
        ++column;
        return true;
    }

private:
    const std::vector<std::string>& Lines;
};

inline std::vector<ComparableToken> ScanWithChain(const std::vector<std::string>& lines,
                                                  bool compatibilityMode) {
    LinesParser parser(lines);
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser.ParserObjects.Add(new TAsmCommentParserObject);
    parser.ParserObjects.Add(new TAsmIdentifierReservedParserObject);
    parser.ParserObjects.Add(new TAsmNumberParserObject);
    parser.ParserObjects.Add(new TAsmSymbolParserObject);
    parser.ParserObjects.Add(new TAsmStringParserObject);
    if (!compatibilityMode)
        parser.ParserObjects.Add(new TBadInputParserObject);
    TObjectList<TParserToken> tokens;
    parser.SetOutputList(tokens);
    parser.Parse();
    std::vector<ComparableToken> result;
    for (const TParserToken* token : tokens)
        result.push_back({token->Id, token->Kind, token->Line, token->Column, token->Text});
    return result;
}

inline std::vector<ComparableToken> ScanWithScanner(const std::vector<std::string>& lines,
                                                    bool compatibilityMode) {
    std::vector<ComparableToken> result;
    TAsmScanner scanner(
        static_cast<int>(lines.size()),
        [&](int index) { return std::string_view(lines[static_cast<size_t>(index)]); },
        compatibilityMode);
    scanner.Scan([&](const TAsmScannedToken& token) {
        const std::string& line = lines[static_cast<size_t>(token.Line) - 1];
        const size_t start = static_cast<size_t>(token.Column) - 1;
        result.push_back({token.Id, token.Kind, token.Line, token.Column,
                          start <= line.size()
                              ? line.substr(start, static_cast<size_t>(token.Length))
                              : std::string()});
    });
    return result;
}

} // namespace corvid::testing
