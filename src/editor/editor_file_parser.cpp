#include "editor/editor_file_parser.h"

#include "editor/text_editor_file.h"

namespace corvid {

void TEditorFileParser::Scan(TTextEditorFile& file, TObjectList<TParserToken>& list) {
    SetOutputList(list);
    ScanSource(file);
}

void TEditorFileParser::ScanSource(TTextEditorFile& file) {
    Source = &file;
    CachedLine = 0;
    Parse();
}

bool TEditorFileParser::CacheLine(int line) {
    if (!Source || line < 1 || line > Source->LineCount())
        return false;
    CachedText = Source->LineText(line - 1);
    CachedLine = line;
    return true;
}

bool TEditorFileParser::GetChar(int& currentChar, int& column, int& line) {
    if (line != CachedLine && !CacheLine(line)) {
        currentChar = EndOfInputChar;
        return false;
    }
    const size_t index = static_cast<size_t>(column) - 1; // a column below 1 wraps to the end
    if (index >= CachedText.size()) {
        currentChar = EndOfLineChar;
        column = 1;
        ++line;
        return true;
    }
    currentChar = static_cast<unsigned char>(CachedText[index]);
    ++column;
    return true;
}

} // namespace corvid
