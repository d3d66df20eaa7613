#pragma once

#include "editor/text_position.h"

#include <optional>
#include <string_view>

namespace corvid {

class TTextEditorFile;

// Option bits of TTextEditor::Find.
enum TFindOption : unsigned {
    foCaseSensitive = 1,
    foSelectedText = 2,
    foBackwards = 4,
    foStartOfWord = 8,
    foEndOfWord = 16,
    foWholeWord = 32, // start and end of word
    foWildcards = 64,
};

struct TFindResult {
    int Line;
    int Column; // of the first matched character
    int Length;
    friend bool operator==(const TFindResult&, const TFindResult&) = default;
};

// The selection a selected-text-only search keeps to: its upper end and exclusive lower end.
struct TFindBounds {
    TTextPosition Upper;
    TTextPosition Lower;
};

// Searches the document line by line from (line, column): forwards to the end, or backwards
// (matches ending before the column) to the first line. Word boundaries use the fixed word
// characters of the text search. An empty pattern finds nothing; a negative line finds nothing
// and a negative column means the end of the line before (backwards) or the line start.
std::optional<TFindResult> FindInDocument(const TTextEditorFile& file, std::string_view pattern,
                                          int line, int column, unsigned options,
                                          const std::optional<TFindBounds>& selection);

} // namespace corvid
