#include "assembler/merged_listing.h"

#include "editor/text_editor_file.h"
#include "foundation/text_fields.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr int CodeColumnWidth = 30;
const std::string NoCodeColumn(CodeColumnWidth + 1, ' ');

} // namespace

TMergedListing::TMergedListing(const TTextEditorFile& source, LineSink addLine)
    : Source(source), AddLine(std::move(addLine)) {}

void TMergedListing::Begin(std::string_view fileName) {
    ListedLines = 0;
    AddLine("Make Output for \"" + std::string(fileName.empty() ? "Untitled" : fileName) + "\"");
}

// Source lines after the last listed one and before the 1-based line, without code.
void TMergedListing::AddSourceLinesBefore(int line) {
    const int end = std::min(line - 1, Source.LineCount());
    for (int index = ListedLines; index < end; ++index)
        AddLine(NoCodeColumn + std::string(Source.LineText(index)));
}

void TMergedListing::AddListing(int line, std::string_view text) {
    if (line < 1) {
        AddLine(std::string(text));
        return;
    }
    AddSourceLinesBefore(line);
    ListedLines = line;
    const std::string sourceText =
        line <= Source.LineCount() ? std::string(Source.LineText(line - 1)) : std::string();
    AddLine(PadRight(text, CodeColumnWidth) + " " + sourceText);
}

void TMergedListing::EndOfCode() {
    AddSourceLinesBefore(Source.LineCount() + 1);
    ListedLines = 0;
}

} // namespace corvid
