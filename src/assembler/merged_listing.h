#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvid {

class TTextEditorFile;

// Merges the assembler's listing with the source: every source line appears once, with the
// address and code bytes of its statement in a 30-character column at its left. This is the
// text of the IDE's output pane and of corvid-asm's listing file.
class TMergedListing {
public:
    using LineSink = std::function<void(const std::string& line)>;

    // The document must stay unchanged while a listing is merged.
    TMergedListing(const TTextEditorFile& source, LineSink addLine);

    // The first line of an output: "Make Output for "<name>"" ("Untitled" without a name).
    void Begin(std::string_view fileName);
    // A listing line from the assembler; lines below 1 pass unchanged.
    void AddListing(int line, std::string_view text);
    // The end of the code part: the rest of the source follows.
    void EndOfCode();

private:
    const TTextEditorFile& Source;
    LineSink AddLine;
    int ListedLines = 0;

    void AddSourceLinesBefore(int line);
};

} // namespace corvid
