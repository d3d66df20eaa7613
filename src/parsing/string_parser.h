#pragma once

#include "parsing/parser.h"

#include <string_view>
#include <vector>

namespace corvid {

// Scans text held in memory into a token list. Lines end at LF, CR LF or a lone CR; a last line
// without a line break counts as a line, so empty text has no lines at all. Every line, the
// last included, ends with one EndOfLineChar, and the text with EndOfInputChar; the line break
// bytes themselves are never delivered.
//
// The parser keeps a view of the text: the text must stay alive and unchanged while Parse runs.
class TStringParser : public TOutputListParser {
public:
    void SetText(std::string_view text);
    // Sets the text and the output list, then scans.
    void Scan(std::string_view text, TObjectList<TParserToken>& list);

    int LineCount() const { return static_cast<int>(Lines.size()); }

    bool GetChar(int& currentChar, int& column, int& line) override;

private:
    std::vector<std::string_view> Lines;
};

} // namespace corvid
