#include "editor/editor_file_parser.h"

#include "editor/text_editor_file.h"

namespace corvid {

void TEditorFileParser::Scan(TTextEditorFile& file, TObjectList<TParserToken>& list) {
    SetOutputList(list);
    ScanSource(file);
}

void TEditorFileParser::Scan(TTextEditorFile& file, TTokenSink& sink) {
    SetTokenSink(sink);
    ScanSource(file);
}

void TEditorFileParser::ScanSource(TTextEditorFile& file) {
    Source = &file;
    CachedLine = 0;
    Parse();
}

bool TEditorFileParser::GetChar(int& currentChar, int& column, int& line) {
    if (!Source || line < 1 || line > Source->LineCount()) {
        currentChar = EndOfInputChar;
        return false;
    }
    if (line != CachedLine) {
        CachedText = Source->LineText(line - 1);
        CachedLine = line;
    }
    if (column < 1 || static_cast<size_t>(column) > CachedText.size()) {
        currentChar = EndOfLineChar;
        column = 1;
        ++line;
        return true;
    }
    currentChar = static_cast<unsigned char>(CachedText[static_cast<size_t>(column) - 1]);
    ++column;
    return true;
}

} // namespace corvid
