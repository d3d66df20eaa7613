#pragma once

#include "parsing/parser.h"

#include <string_view>

namespace corvid {

class TTextEditorFile;

// Runs the token recognisers over a document as the editor holds it, unsaved changes
// included. Every line, the last one too, ends with one EndOfLineChar and the document with
// EndOfInputChar; recognisers never see CR or LF. Positions are 1-based.
class TEditorFileParser : public TOutputListParser {
public:
    TTextEditorFile* Source = nullptr; // not owned

    // Sets the source and the output list, then scans from line 1, column 1. The document must
    // not change while the scan runs.
    void Scan(TTextEditorFile& file, TObjectList<TParserToken>& list);

    bool GetChar(int& currentChar, int& column, int& line) override;

private:
    void ScanSource(TTextEditorFile& file);
    // Makes the line current for reading; false when it is outside the document.
    bool CacheLine(int line);

    // The text of the line read last: consecutive reads of one line look it up only once.
    int CachedLine = 0;
    std::string_view CachedText;
};

} // namespace corvid
