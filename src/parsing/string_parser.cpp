#include "parsing/string_parser.h"

namespace corvid {

void TStringParser::SetText(std::string_view text) {
    Lines.clear();
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        Lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        Lines.push_back(text.substr(start));
}

void TStringParser::Scan(std::string_view text, TObjectList<TParserToken>& list) {
    SetText(text);
    SetOutputList(list);
    Parse();
}

bool TStringParser::GetChar(int& currentChar, int& column, int& line) {
    if (line < 1 || line > LineCount()) {
        currentChar = EndOfInputChar;
        return false;
    }
    const std::string_view text = Lines[static_cast<size_t>(line - 1)];
    if (column < 1 || column > static_cast<int>(text.size())) {
        currentChar = EndOfLineChar;
        column = 1;
        ++line;
        return true;
    }
    currentChar = static_cast<unsigned char>(text[static_cast<size_t>(column - 1)]);
    ++column;
    return true;
}

} // namespace corvid
